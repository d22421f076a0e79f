// Ports: the running program and the programs it starts, and the passing of time.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

class Processes {
public:
    Processes() = default;
    Processes(const Processes&) = delete;
    Processes& operator=(const Processes&) = delete;
    virtual ~Processes() = default;

    // The running executable's full path, as the system reports it.
    virtual std::string ProgramPath() = 0;
    // Starts an executable by its full path, without arguments, minimised and activated, and does
    // not wait for it. Throws Failure.
    virtual void Start(std::string_view path) = 0;
    // Whether the file is a copy of Morvane, of any version: its version resource names the
    // product Morvane. False for a missing or unreadable file.
    virtual bool IsMorvane(std::string_view path) = 0;
};

class Clock {
public:
    Clock() = default;
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;
    virtual ~Clock() = default;

    // Milliseconds since the system started; wraps after 49.7 days.
    virtual std::uint32_t Ticks() = 0;
    // Waits until a window message arrives or `ms` milliseconds pass, then handles every pending
    // message: the program stays responsive without using the processor while it waits.
    virtual void WaitForEvents(std::uint32_t ms) = 0;
};
