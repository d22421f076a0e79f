// The un-cache run, step by step: copy each selected cached file to its destination, delete the
// cached copy when asked, then drop the deleted files' lines from the index and reload the listing.
#include "uncache/UncacheRun.h"

#include <unordered_set>
#include <vector>

#include "app/Rip.h"
#include "cache/CacheIndex.h"
#include "cache/ErrorReport.h"
#include "cache/FileType.h"
#include "cache/GameFolder.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "uncache/OverwritePrompt.h"

namespace {

// Thrown when the user answers No to an error report: the run ends at once, nothing is undone.
struct RunEnded {};

class UncacheRun {
public:
    explicit UncacheRun(Rip& rip)
        : rip_(rip), view_(rip.View()), fs_(rip.Ports().files), prompts_(rip.Ports().prompts),
          overwrite_(rip.Ports().overwrite) {}

    void Run() {
        rip_.CheckPath();
        if (!rip_.ValidPath) return;
        overwrite_.ResetFrm();
        const int rows = view_.RowCount();
        std::vector<bool> rowSelected(static_cast<std::size_t>(rows > 0 ? rows : 0));
        for (int r = 0; r < rows; ++r) rowSelected[static_cast<std::size_t>(r)] = view_.IsRowSelected(r);
        try {
            for (int r = 0; r < rows; ++r) {
                if (rowSelected[static_cast<std::size_t>(r)]) UncacheRow(r);
            }
            RewriteIndex();
        } catch (const RunEnded&) {
            return;
        }
        view_.YieldOnce();
        rip_.LoadCache();
    }

private:
    // Runs one step that may fail. A failure is reported; false when the step failed and the user
    // chose to go on.
    template <typename Step>
    bool Attempt(Step step) {
        try {
            step();
            return true;
        } catch (const Failure& f) {
            if (!ReportUnexpectedError(prompts_, rip_.Ports().clipboard, ReportSite::Uncache, f.what()))
                throw RunEnded{};
            return false;
        }
    }

    void Refuse(const std::string& text) {
        prompts_.Message(text, ProgramTitle, MsgIcon::Exclamation, MsgButtons::Ok);
    }

    void UncacheRow(int r) {
        const std::string name = view_.RowText(r);
        const std::string key = rip_.KeyOfRow(r);
        if (!IsPlainFileName(name) || !IsPlainFileName(key)) {
            Refuse("\"" + name + "\" is not un-cached: its name in cache.ini would place it outside "
                   "your UT2003 folders. It stays in your cache.");
            return;
        }
        const std::string folder = rip_.GameFolder();
        const FileType type = ClassifyFileName(name);
        std::string destination;
        if (type != FileType::Other) {
            destination = folder + std::string(DestinationSubFolder(type)) + name;
        } else {
            if (!AskSubFolder(name)) return;
            try {
                fs_.MakeFolder(folder + "\\" + otherSubFolder_);
            } catch (const Failure&) {
                // Already there, or not creatable: a missing folder shows up as a failed copy.
            }
            destination = folder + "\\" + otherSubFolder_ + "\\" + name;
        }

        if (!overwrite_.YAll()) {
            bool exists = true;  // a failed lookup is treated as an existing destination
            Attempt([&] { exists = fs_.Exists(destination); });
            if (exists) {
                if (overwrite_.NAll()) return;
                // Only an explicit Yes overwrites: a prompt closed without an answer keeps the file.
                if (overwrite_.Ask(destination) != ResponseOverwrite) return;
            }
        }

        if (!Attempt([&] { fs_.Copy(CachedFilePath(folder, key), destination); })) return;
        if (view_.DeleteTicked()) {
            Attempt([&] { fs_.Remove(folder + "\\cache\\" + key + "-1.uxx"); });
            removedKeys_.insert(key);
        }
    }

    // Asks for the sub-folder of a file of another type; false when the user gave none.
    bool AskSubFolder(const std::string& name) {
        for (;;) {
            otherSubFolder_ = prompts_.InputBox("Please enter the UT2003 sub directory where you wish " + name +
                                                    " to be un-cached.\r\n(ie: 'Help')\r\n"
                                                    "If the directory does not exist, it will be created.",
                                                "Enter sub-directory", otherSubFolder_);
            if (otherSubFolder_.empty()) return false;
            if (IsRelativeSubFolder(otherSubFolder_)) return true;
            Refuse("\"" + otherSubFolder_ + "\" is not a folder inside your UT2003 folder. Please enter a "
                   "sub directory of it, such as Help or Help\\Docs.");
        }
    }

    void RewriteIndex() {
        Attempt([&] { RewriteIndexFiltered(fs_, rip_.GameFolder(), removedKeys_); });
    }

    Rip& rip_;
    RipView& view_;
    FileSystem& fs_;
    Prompts& prompts_;
    OverwritePrompt& overwrite_;
    std::string otherSubFolder_;
    std::unordered_set<std::string> removedKeys_;
};

}  // namespace

void Uncache(Rip& rip) { UncacheRun(rip).Run(); }
