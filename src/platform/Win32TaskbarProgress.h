// A window's task bar button filled as a long job goes, on Windows 7 and later. On earlier systems
// (and wherever the shell offers no task bar list) it does nothing: the interface is asked for when
// the job begins, never imported, so Morvane still starts on XP.
#pragma once
#include <windows.h>

#include <cstdint>

struct ITaskbarList3;

class Win32TaskbarProgress {
public:
    Win32TaskbarProgress() = default;
    ~Win32TaskbarProgress() { End(); }
    Win32TaskbarProgress(const Win32TaskbarProgress&) = delete;
    Win32TaskbarProgress& operator=(const Win32TaskbarProgress&) = delete;

    void Begin(HWND window);
    void Show(std::uint64_t done, std::uint64_t total);
    // The button as it was; the interface let go.
    void End();

private:
    HWND window_ = nullptr;
    ITaskbarList3* list_ = nullptr;
    bool comStarted_ = false;
};
