// What the fixer needs of the main window: the result of its last folder check (ValidPath), the
// game folder in its path box, and its listing, which is reloaded when the fixer closes. Rip
// implements it, so the fixer never depends on the main window's code.
#pragma once
#include <string>

class FixerHost {
public:
    FixerHost() = default;
    FixerHost(const FixerHost&) = delete;
    FixerHost& operator=(const FixerHost&) = delete;
    virtual ~FixerHost() = default;

    virtual bool IsPathValid() = 0;
    virtual std::string GameFolder() = 0;
    virtual void LoadCache() = 0;
};
