// The window tests' main. With MORVANE_TEST_DPI set (96, 144...) the tests run at that screen
// resolution: Wine takes a process's DPI from the LogPixels value under HKCU\Control Panel\Desktop
// once, when the process starts (changing it later changes nothing for a running process), so this
// process stores the value, runs the tests again in a child process that starts with it, and puts
// the value back as it was. Windows itself would only take the value at the next sign-in.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/WinProgram.h"

namespace {

constexpr const wchar_t* DesktopKey = L"Control Panel\\Desktop";
constexpr const wchar_t* DpiValue = L"LogPixels";
constexpr const wchar_t* ChildMark = L"MORVANE_TEST_DPI_CHILD";

std::optional<DWORD> StoredDpi() {
    DWORD dpi = 0, size = sizeof dpi;
    if (RegGetValueW(HKEY_CURRENT_USER, DesktopKey, DpiValue, RRF_RT_REG_DWORD, nullptr, &dpi, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return dpi;
}

void StoreDpi(const std::optional<DWORD>& dpi) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, DesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    if (dpi) RegSetValueExW(key, DpiValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*dpi), sizeof *dpi);
    else RegDeleteValueW(key, DpiValue);
    RegCloseKey(key);
}

// This very command line in a child process that starts at `dpi`; its exit code.
int RunAtDpi(DWORD dpi) {
    const std::optional<DWORD> before = StoredDpi();
    StoreDpi(dpi);
    SetEnvironmentVariableW(ChildMark, L"1");  // the child runs the tests whatever DPI it gets
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = GetCommandLineW();
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION child{};
    DWORD code = 1;
    if (CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &child)) {
        WaitForSingleObject(child.hProcess, INFINITE);
        GetExitCodeProcess(child.hProcess, &code);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    StoreDpi(before);
    return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
    const char* wanted = std::getenv("MORVANE_TEST_DPI");
    if (wanted != nullptr && std::atoi(wanted) != ScreenDpi() && GetEnvironmentVariableW(ChildMark, nullptr, 0) == 0)
        return RunAtDpi(static_cast<DWORD>(std::atoi(wanted)));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
