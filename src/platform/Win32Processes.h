// The process and clock ports over kernel32, user32 and the version resource functions.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/Processes.h"

// The running executable's full path, however long. Throws Failure.
std::string RunningProgramPath();
// A file's version resource, for VerQueryValueW; empty when the file has none or cannot be read
// (GetLastError says why).
std::vector<char> FileVersionInfo(std::string_view path);
// Starts an executable by its full path, without arguments, in the given show state, and does not
// wait for it. False when it could not be started (GetLastError says why).
bool StartProgram(const std::string& path, int showCommand);

class Win32Processes final : public Processes, public Clock {
public:
    std::string ProgramPath() override;
    void Start(std::string_view path) override;
    bool IsMorvane(std::string_view path) override;
    std::uint32_t Ticks() override;
    void WaitForEvents(std::uint32_t ms) override;
};
