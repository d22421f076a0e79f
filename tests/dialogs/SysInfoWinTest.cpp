// GetKeyValue against the real registry of the Wine prefix, and StartSysInfo with the two values
// that Windows records for MSINFO32, a stand-in program and its answer when it finds none.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "dialogs/SysInfo.h"
#include "platform/Win32Prompts.h"
#include "support/DialogAnswerer.h"
#include "support/TempGame.h"

namespace {

const char* const TestKey = "Software\\MorvaneTest\\SysInfo";
const char* const MsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char* const LocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

void SetValue(HKEY root, const char* key, const char* name, DWORD type, const std::string& bytes) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    RegCloseKey(k);
}

// One HKLM value, removed for the test and put back as it was afterwards.
class SavedValue {
public:
    SavedValue(const char* key, const char* name) : key_(key), name_(name) {
        HKEY k = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return;
        char data[4096];
        DWORD type = 0, size = sizeof data;
        if (RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS) {
            saved_ = std::string(data, size);
            type_ = type;
        }
        RegDeleteValueA(k, name);
        RegCloseKey(k);
    }
    ~SavedValue() {
        HKEY k = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_, 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return;
        RegDeleteValueA(k, name_);
        RegCloseKey(k);
        if (saved_) SetValue(HKEY_LOCAL_MACHINE, key_, name_, type_, *saved_);
    }
    void Set(const std::string& text) const { SetValue(HKEY_LOCAL_MACHINE, key_, name_, REG_SZ, text + '\0'); }

private:
    const char* key_;
    const char* name_;
    std::optional<std::string> saved_;
    DWORD type_ = REG_NONE;
};

std::string Dword(DWORD n) { return std::string(reinterpret_cast<const char*>(&n), sizeof n); }

// The stand-in program beside this test, copied into `folder` as `name`.
std::string CopyStandIn(const std::string& folder, const std::string& name) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string standIn(self);
    standIn = standIn.substr(0, standIn.rfind('\\')) + "\\morvane_standin.exe";
    const std::string copy = folder + "\\" + name;
    EXPECT_TRUE(CopyFileA(standIn.c_str(), copy.c_str(), FALSE)) << standIn;
    return copy;
}

// What the stand-in in `folder` recorded ("command line|show command"), waiting up to 5 s for it.
std::string Started(const std::string& folder) {
    bool found = false;
    std::string record;
    for (int i = 0; i < 100 && !found; ++i, Sleep(50)) record = TempGame::Read(folder + "\\started.txt", &found);
    return found ? record.substr(0, record.find_first_of("\r\n")) : "<not started>";
}

}  // namespace

TEST(SysInfoWin, GetKeyValueReadsTextAndNumbersAndLeavesOtherTypes) {
    struct Row { const char* name; DWORD type; std::string bytes; bool read; const char* text; };
    const Row rows[] = {
        {"sz", REG_SZ, std::string("C:\\x\0", 5), true, "C:\\x"},  // the final NUL dropped
        {"szNoNul", REG_SZ, "abc", true, "abc"},                     // nothing to drop
        {"dword", REG_DWORD, Dword(300), true, "300"},              // decimal text
        {"dwordHigh", REG_DWORD, Dword(0x01000000), true, "16777216"},
        {"binary", REG_BINARY, "xy", true, "passed"},                // another type: as passed
        {"long", REG_SZ, std::string(1100, 'a'), false, ""},         // over 1024 bytes
        {"missing", REG_NONE, "", false, ""},                        // not stored
    };
    for (const Row& row : rows)
        if (row.type != REG_NONE) SetValue(HKEY_CURRENT_USER, TestKey, row.name, row.type, row.bytes);
    for (const Row& row : rows) {
        std::string text = "passed";
        EXPECT_EQ(GetKeyValue(HKEY_CURRENT_USER, TestKey, row.name, text), row.read) << row.name;
        EXPECT_EQ(text, row.text) << row.name;
    }
    std::string text = "passed";
    EXPECT_FALSE(GetKeyValue(HKEY_CURRENT_USER, "Software\\MorvaneTest\\NoSuchKey", "sz", text));
    EXPECT_EQ(text, "") << "a missing key";
    RegDeleteKeyA(HKEY_CURRENT_USER, TestKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\MorvaneTest");
}

TEST(SysInfoWin, StartSysInfoStartsTheRecordedProgramOrSaysItIsUnavailable) {
    SavedValue path(MsinfoKey, "PATH"), location(LocationKey, "MSINFO");
    TempGame folder;
    Win32Prompts prompts;
    DialogAnswerer answers;
    const std::string unavailable = "Morvane: System Information Is Unavailable At This Time";
    answers.Expect("Morvane", IDOK).Expect("Morvane", IDOK).Expect("Morvane", IDOK);

    StartSysInfo(prompts);  // neither value
    location.Set(folder.Folder());
    StartSysInfo(prompts);  // only the folder, and no MSINFO32.EXE in it
    EXPECT_EQ(answers.Titles(), (std::vector<std::string>{unavailable, unavailable}));

    const std::string program = CopyStandIn(folder.Folder(), "MSINFO32.EXE");
    StartSysInfo(prompts);  // the folder's MSINFO32.EXE, in a normal window
    EXPECT_EQ(Started(folder.Folder()), "\"" + program + "\"|1");
    DeleteFileA((folder.Folder() + "\\started.txt").c_str());
    path.Set(CopyStandIn(folder.Folder(), "Info Tool.exe"));
    StartSysInfo(prompts);  // the full path comes first
    EXPECT_EQ(Started(folder.Folder()), "\"" + folder.Folder() + "\\Info Tool.exe\"|1");
    path.Set(folder.Folder() + "\\Gone.exe");
    StartSysInfo(prompts);  // a program that cannot be started
    EXPECT_EQ(answers.Titles(), (std::vector<std::string>{unavailable, unavailable, unavailable}));
    EXPECT_TRUE(answers.AllAnswered());
}
