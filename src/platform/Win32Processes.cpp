// The running program, starting the game, recognising a copy of Morvane, and waiting.
#include "platform/Win32Processes.h"

#include <windows.h>

#include <cwchar>

#include "platform/Failure.h"
#include "platform/WideText.h"
#include "platform/Win32Error.h"
#include "platform/WinUi.h"

std::string RunningProgramPath() {
    // A game folder may lie deeper than MAX_PATH characters: the buffer grows until the path fits
    // (on XP a path that fills the buffer exactly comes without its terminator, so it grows then too).
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) ThrowLastError();
        if (n < path.size()) return Narrow(std::wstring_view(path.data(), n));
        path.resize(path.size() * 2);
    }
}

std::vector<char> FileVersionInfo(std::string_view path) {
    const std::wstring file = Wide(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<char> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return {};
    return data;
}

std::string Win32Processes::ProgramPath() { return RunningProgramPath(); }

bool StartProgram(const std::string& path, int showCommand) {
    const std::wstring program = Wide(path);
    std::wstring commandLine = L"\"" + program + L"\"";  // the program's own name, and no arguments
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void Win32Processes::Start(std::string_view path) {
    if (!StartProgram(std::string(path), SW_SHOWMINIMIZED)) ThrowLastError();
}

bool Win32Processes::IsMorvane(std::string_view path) {
    std::vector<char> data = FileVersionInfo(path);
    if (data.empty()) return false;
    // Every language block the file has, not only ours: any version of Morvane names itself.
    struct Translation { WORD language, codePage; };
    Translation* translations = nullptr;
    UINT bytes = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &bytes))
        return false;
    for (UINT i = 0; i < bytes / sizeof(Translation); ++i) {
        wchar_t query[64];
        wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\ProductName", translations[i].language,
                  translations[i].codePage);
        wchar_t* name = nullptr;
        UINT length = 0;
        if (VerQueryValueW(data.data(), query, reinterpret_cast<void**>(&name), &length) && name != nullptr &&
            std::wcscmp(name, L"Morvane") == 0)
            return true;
    }
    return false;
}

std::uint32_t Win32Processes::Ticks() { return GetTickCount(); }

void Win32Processes::WaitForEvents(std::uint32_t ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    YieldToEvents();
}
