// GetKeyValue against the real registry of the Wine prefix, and StartSysInfo with the two values
// that Windows records for MSINFO32, a stand-in program and its answer when it finds none.
#include <gtest/gtest.h>
#include <windows.h>

#include "dialogs/SysInfo.h"
#include "platform/Win32Prompts.h"
#include "support/DialogAnswerer.h"
#include "support/TempGame.h"

namespace {

void SetValue(HKEY root, const char* key, const char* name, DWORD type, const std::string& bytes) {
    EXPECT_EQ(RegSetKeyValueA(root, key, name, type, bytes.data(), static_cast<DWORD>(bytes.size())), ERROR_SUCCESS);
}

// The stand-in program beside this test, copied into `folder` as `name`.
std::string CopyStandIn(const std::string& folder, const std::string& name) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string standIn = std::string(self).substr(0, std::string(self).rfind('\\')) + "\\morvane_standin.exe";
    EXPECT_TRUE(CopyFileA(standIn.c_str(), (folder + "\\" + name).c_str(), FALSE)) << standIn;
    return folder + "\\" + name;
}

// What the stand-in in `folder` recorded ("command line|show command"), waiting up to 5 s for it.
std::string Started(const std::string& folder) {
    const std::string record = folder + "\\started.txt";
    std::string text;
    for (int i = 0; i < 100 && text.find('\n') == std::string::npos; ++i, Sleep(50)) text = TempGame::Read(record);
    DeleteFileA(record.c_str());
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

TEST(SysInfoWin, GetKeyValueReadsTextAndNumbersAndLeavesOtherTypes) {
    const char* const key = "Software\\MorvaneTest\\SysInfo";
    const struct { const char* name; DWORD type; std::string bytes; bool read; const char* text; } rows[] = {
        {"sz", REG_SZ, std::string("C:\\x\0", 5), true, "C:\\x"},         // the final NUL dropped
        {"szNoNul", REG_SZ, "abc", true, "abc"},                            // nothing to drop
        {"dword", REG_DWORD, std::string("\x2c\x01\0\0", 4), true, "300"},  // decimal text
        {"binary", REG_BINARY, "xy", true, "passed"},                       // another type: as passed
        {"long", REG_SZ, std::string(1100, 'a'), false, ""},                // over 1024 bytes
    };
    for (const auto& row : rows) {
        SetValue(HKEY_CURRENT_USER, key, row.name, row.type, row.bytes);
        std::string text = "passed";
        EXPECT_EQ(GetKeyValue(HKEY_CURRENT_USER, key, row.name, text), row.read) << row.name;
        EXPECT_EQ(text, row.text) << row.name;
    }
    std::string text = "passed";
    EXPECT_FALSE(GetKeyValue(HKEY_CURRENT_USER, "Software\\MorvaneTest\\NoSuchKey", "sz", text));
    EXPECT_EQ(text, "") << "a missing key";
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\MorvaneTest");
}

TEST(SysInfoWin, StartSysInfoStartsTheRecordedProgramOrSaysItIsUnavailable) {
    const char* const pathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const char* const locationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
    // A fresh prefix records neither value; whatever this test stores goes again.
    const auto forget = [&] {
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, pathKey, "PATH");
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, locationKey, "MSINFO");
    };
    forget();
    TempGame folder;
    const std::string dir = folder.Folder();
    Win32Prompts prompts;
    DialogAnswerer answers;
    answers.Expect("Morvane", IDOK).Expect("Morvane", IDOK);

    StartSysInfo(prompts);  // neither value
    SetValue(HKEY_LOCAL_MACHINE, locationKey, "MSINFO", REG_SZ, dir + '\0');
    const std::string program = CopyStandIn(dir, "MSINFO32.EXE");
    StartSysInfo(prompts);  // the folder's MSINFO32.EXE, in a normal window
    EXPECT_EQ(Started(dir), "\"" + program + "\"|1");
    SetValue(HKEY_LOCAL_MACHINE, pathKey, "PATH", REG_SZ, CopyStandIn(dir, "Info Tool.exe") + '\0');
    StartSysInfo(prompts);  // the full path comes first
    EXPECT_EQ(Started(dir), "\"" + dir + "\\Info Tool.exe\"|1");
    SetValue(HKEY_LOCAL_MACHINE, pathKey, "PATH", REG_SZ, dir + "\\Gone.exe" + '\0');
    StartSysInfo(prompts);  // a program that cannot be started
    EXPECT_EQ(answers.Titles(), std::vector<std::string>(2, "Morvane: System Information Is Unavailable At This Time"));
    EXPECT_TRUE(answers.AllAnswered());
    forget();
}
