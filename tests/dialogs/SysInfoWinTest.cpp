// StartSysInfo against the real registry of the Wine prefix, with the two values that Windows
// records for MSINFO32, a stand-in program and its answer when it finds none.
#include <gtest/gtest.h>
#include <windows.h>

#include "dialogs/SysInfo.h"
#include "platform/WideText.h"
#include "platform/Win32Prompts.h"
#include "support/DialogAnswerer.h"
#include "support/TempGame.h"

namespace {

void SetValue(const char* key, const char* name, const std::string& text) {
    const std::wstring data = Wide(text);
    EXPECT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), Wide(name).c_str(), REG_SZ, data.c_str(),
                              static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

// Copies the stand-in program beside this test into `folder` as `name`, starts System Information
// and returns what the stand-in recorded ("command line|show command"), waiting up to 5 s for it.
std::string StartedAs(Prompts& prompts, const std::string& folder, const std::string& name) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string standIn = std::string(self).substr(0, std::string(self).rfind('\\')) + "\\morvane_standin.exe";
    EXPECT_TRUE(CopyFileW(Wide(standIn).c_str(), Wide(folder + "\\" + name).c_str(), FALSE)) << standIn;
    StartSysInfo(prompts);
    std::string text;
    for (int i = 0; i < 100 && text.find('\n') == std::string::npos; ++i, Sleep(50))
        text = TempGame::Read(folder + "\\started.txt");
    DeleteFileW(Wide(folder + "\\started.txt").c_str());
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

TEST(SysInfoWin, StartSysInfoStartsTheRecordedProgramOrSaysItIsUnavailable) {
    const char* const pathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const char* const locationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
    // A fresh prefix records neither value; whatever this test stores goes again.
    const auto forget = [&] {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, pathKey);
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, locationKey, "MSINFO");
    };
    forget();
    TempGame folder;
    // A folder outside the code page: the value, the file test and the start all keep its name.
    const std::string dir = folder.Folder() + "\\Сведения";
    ASSERT_TRUE(CreateDirectoryW(Wide(dir).c_str(), nullptr));
    Win32Prompts prompts;
    DialogAnswerer answers;
    answers.Expect("Morvane", IDOK);

    // No PATH key: the folder's MSINFO32.EXE, in a normal window. The stored text's terminator is
    // dropped, or the folder would name no file.
    SetValue(locationKey, "MSINFO", dir);
    EXPECT_EQ(StartedAs(prompts, dir, "MSINFO32.EXE"), "\"" + dir + "\\MSINFO32.EXE\"|1");
    SetValue(pathKey, "PATH", dir + "\\Info Tool.exe");
    EXPECT_EQ(StartedAs(prompts, dir, "Info Tool.exe"), "\"" + dir + "\\Info Tool.exe\"|1");  // the full path first
    std::string text = "passed";
    EXPECT_FALSE(GetKeyValue(HKEY_LOCAL_MACHINE, pathKey, "Nothing", text)) << "a value that is not there";
    EXPECT_EQ(text, "");
    SetValue(pathKey, "PATH", dir + "\\Gone.exe");
    StartSysInfo(prompts);  // a program that cannot be started: the same message as for no value
    EXPECT_EQ(answers.Titles(), std::vector<std::string>{"Morvane: System Information Is Unavailable At This Time"});
    forget();
}
