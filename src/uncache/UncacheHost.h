// What the un-cache run needs of the main window: its folder check and game folder, its listing's
// rows, keys and selection, the delete box, the ports, its one yield and the reload of the listing.
// Rip implements it, so the run never depends on the main window's code.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class Clipboard;
class CodePage;
class DateFormatter;
class SizeFormatter;
class FileSystem;
class OverwritePrompt;
class Prompts;

struct UncachePorts {
    FileSystem& files;
    Prompts& prompts;
    Clipboard& clipboard;
    OverwritePrompt& overwrite;
    CodePage& codePage;
    SizeFormatter& sizes;
    DateFormatter& dates;
};

class UncacheHost {
public:
    UncacheHost() = default;
    UncacheHost(const UncacheHost&) = delete;
    UncacheHost& operator=(const UncacheHost&) = delete;
    virtual ~UncacheHost() = default;

    virtual UncachePorts RunPorts() = 0;
    // Cleans the path box and records whether it names a game folder (IsPathValid).
    virtual void CheckPath() = 0;
    virtual bool IsPathValid() = 0;
    virtual std::string GameFolder() = 0;
    virtual std::string RowText(int row) = 0;
    // The selected rows, in their order.
    virtual std::vector<int> SelectedRows() = 0;
    // The key of a row, through its item datum: a copy, which a listing that follows leaves as it is.
    virtual std::string KeyOfRow(int row) = 0;
    virtual bool DeleteTicked() = 0;
    // Handles every pending window message once, then returns.
    virtual void YieldOnce() = 0;
    // The user has asked to close the main window: the run does nothing further.
    virtual bool CloseRequested() = 0;
    virtual void LoadCache() = 0;
    // Shows what the run did, in one line of the window (no box: start-up and launcher runs stay
    // unattended); the next listing clears it.
    virtual void ShowSummary(const std::string& text) = 0;
    // The run's progress in the window, and the player's Cancel (see RipView).
    virtual void BeginProgress() = 0;
    virtual void ShowProgress(const std::string& text, std::uint64_t done, std::uint64_t total) = 0;
    virtual bool CancelRequested() = 0;
    virtual void EndProgress() = 0;
};
