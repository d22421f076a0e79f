// Port: the overwrite question of an un-cache run (frmOverwrite), with its answers for the run.
#pragma once
#include <string_view>

enum OverwriteResponse { ResponseNone = 0, ResponseOverwrite = 1, ResponseKeep = 2 };

class OverwritePrompt {
public:
    OverwritePrompt() = default;
    OverwritePrompt(const OverwritePrompt&) = delete;
    OverwritePrompt& operator=(const OverwritePrompt&) = delete;
    virtual ~OverwritePrompt() = default;

    // Clears "Yes to All", "No to All" and the last response, for a new run.
    virtual void ResetFrm() = 0;
    virtual bool YAll() = 0;
    virtual bool NAll() = 0;
    // Asks about one existing destination, shown with `details` (what the two files are, in a line
    // or two), and returns the Response (1 overwrite, 2 keep).
    virtual int Ask(std::string_view destination, std::string_view details) = 0;
};
