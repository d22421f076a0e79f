// The running program, starting the game, recognising a copy of Morvane, and waiting.
#include "platform/Win32Processes.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/Failure.h"
#include "platform/Win32Error.h"
#include "platform/WinUi.h"

std::string Win32Processes::ProgramPath() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) ThrowLastError();
        if (n < path.size()) return std::string(path.data(), n);
        path.resize(path.size() * 2);
    }
}

bool StartProgram(const std::string& path, int showCommand) {
    std::string commandLine = "\"" + path + "\"";  // the program's own name, and no arguments
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
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
    const std::string file(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, data.data())) return false;
    // Every language block the file has, not only ours: any version of Morvane names itself.
    struct Translation { WORD language, codePage; };
    Translation* translations = nullptr;
    UINT bytes = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &bytes))
        return false;
    for (UINT i = 0; i < bytes / sizeof(Translation); ++i) {
        char query[64];
        wsprintfA(query, "\\StringFileInfo\\%04x%04x\\ProductName", translations[i].language, translations[i].codePage);
        char* name = nullptr;
        UINT length = 0;
        if (VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&name), &length) && name != nullptr &&
            std::strcmp(name, "Morvane") == 0)
            return true;
    }
    return false;
}

std::uint32_t Win32Processes::Ticks() { return GetTickCount(); }

void Win32Processes::WaitForEvents(std::uint32_t ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    YieldToEvents();
}
