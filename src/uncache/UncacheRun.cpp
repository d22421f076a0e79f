// The un-cache run, step by step: rename each selected cached file to its destination when its
// cached copy is to go (copy it otherwise, or when the rename fails, then delete the cached copy when
// asked), a file it replaces put in the Recycle Bin first; then drop the un-cached files' lines from
// the index and reload the listing.
#include "uncache/UncacheRun.h"

#include <unordered_set>
#include <vector>

#include "cache/CacheIndex.h"
#include "cache/ErrorReport.h"
#include "cache/FileType.h"
#include "cache/GameFolder.h"
#include "platform/CodePage.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "uncache/OverwriteDetails.h"
#include "uncache/OverwritePrompt.h"
#include "uncache/UncacheHost.h"

namespace {

// Thrown when the user answers No to an error report: the run ends at once, nothing is undone.
struct RunEnded {};

class UncacheRun {
public:
    explicit UncacheRun(UncacheHost& host) : host_(host), ports_(host.RunPorts()) {}

    void Run() {
        host_.CheckPath();
        if (!host_.IsPathValid()) return;
        overwrite_.ResetFrm();
        // The run goes as it was started: the window stays alive while it runs, and a box ticked or
        // a folder typed meanwhile is for the next run.
        folder_ = host_.GameFolder();
        deleteTicked_ = host_.DeleteTicked();
        const std::vector<int> selected = host_.SelectedRows();
        chosen_ = selected.size();
        host_.BeginProgress();
        try {
            for (const int r : selected) {
                if (cancelled_) break;
                host_.ShowProgress(FilesDone(), done_ * PerFile, chosen_ * PerFile);
                // Cancel stops before the next file: the one in hand is finished, or its copy undone.
                cancelled_ = host_.CancelRequested();
                if (!cancelled_) UncacheRow(r);
                if (!cancelled_) ++done_;
            }
            host_.EndProgress();
            RewriteIndex();  // for exactly the files done
        } catch (const RunEnded&) {
            host_.EndProgress();
            if (!host_.CloseRequested()) host_.ShowSummary(Summary() + " The run was ended after a failure.");
            return;
        }
        host_.YieldOnce();
        if (host_.CloseRequested()) return;
        host_.LoadCache();
        host_.ShowSummary(Summary() + (cancelled_ ? " The run was cancelled." : ""));
    }

private:
    // Runs one step that may fail. A failure is reported; false when the step failed and the user
    // chose to go on.
    template <typename Step>
    bool Attempt(Step step) {
        try {
            step();
            return true;
        } catch (const UnreadableIndex&) {
            throw;  // not unexpected: the caller explains it
        } catch (const Failure& f) {
            if (!ReportUnexpectedError(prompts_, ports_.clipboard, ReportSite::Uncache, f.what()))
                throw RunEnded{};
            EndIfClosing();
            return false;
        }
    }

    // Once the user has closed the main window, the run does nothing further.
    void EndIfClosing() {
        if (host_.CloseRequested()) throw RunEnded{};
    }

    void Refuse(const std::string& text) {
        prompts_.Message(text, ProgramTitle, MsgIcon::Exclamation, MsgButtons::Ok);
        EndIfClosing();
    }

    // "Un-cached 3 files (2 moved), 1 already in place, 2 skipped, 1 refused, 1 failed.", without
    // the parts that are none.
    std::string Summary() const {
        std::string text = "Un-cached " + std::to_string(uncached_) + (uncached_ == 1 ? " file" : " files");
        if (moved_ != 0) text += " (" + std::to_string(moved_) + " moved)";
        const std::pair<int, const char*> parts[] = {
            {inPlace_, " already in place"}, {skipped_, " skipped"}, {refused_, " refused"}, {failed_, " failed"}};
        for (const auto& [count, what] : parts)
            if (count != 0) text += ", " + std::to_string(count) + what;
        return text + ".";
    }

    void UncacheRow(int r) {
        const std::string name = host_.RowText(r);
        const std::string key = host_.KeyOfRow(r);
        NameFault fault = CheckFileName(name);
        if (fault == NameFault::None) fault = CheckFileName(key + "-1.uxx");
        if (fault != NameFault::None) ++refused_;
        if (fault == NameFault::LeavesFolder) {
            Refuse("\"" + Printable(name) + "\" is not un-cached: its name in cache.ini would place it outside "
                   "your UT2003 folders. It stays in your cache.");
            return;
        }
        if (fault != NameFault::None) {
            Refuse("\"" + Printable(name) + "\" is not un-cached: its name in cache.ini is not one that Windows "
                   "allows for a file (a device name such as NUL or COM1, a name ending in a dot or a blank, or "
                   "one holding a control character or one of < > \" | ? *). It stays in your cache.");
            return;
        }
        const std::string& folder = folder_;
        const FileType type = ClassifyFileName(name);
        std::string destination;
        if (type != FileType::Other) {
            destination = folder + std::string(DestinationSubFolder(type)) + name;
        } else {
            if (!AskSubFolder(name)) {
                ++skipped_;
                return;
            }
            try {
                fs_.MakeFolder(folder + "\\" + otherSubFolder_);
            } catch (const Failure&) {
                // Already there, or not creatable: a missing folder shows up as a failed copy.
            }
            destination = folder + "\\" + otherSubFolder_ + "\\" + name;
        }

        const std::string source = CachedFilePath(folder, key);
        // A cached copy that is to go simply takes its destination's name when nothing is there yet:
        // no lookup first, which would cost a reading of the whole destination folder under Wine.
        if (deleteTicked_ && Moved(source, destination, /*replace=*/false)) {
            removedKeys_.insert(key);
            ++uncached_, ++moved_;
            return;
        }
        bool replace = overwrite_.YAll(), same = false;  // "Yes to All" replaces unasked
        if (!replace) {
            bool exists = true;  // a failed lookup is treated as an existing destination
            Attempt([&] { exists = fs_.Exists(destination); });
            // A destination holding the cached copy's bytes already is this file, un-cached before.
            same = exists && SameBytes(source, destination, name);
            if (exists && !same) {
                // Only an explicit Yes overwrites: a prompt closed without an answer keeps the file.
                const int response = overwrite_.NAll() ? ResponseKeep
                                     : overwrite_.Ask(destination, DescribeOverwrite(fs_, ports_.sizes, ports_.dates,
                                                                                     source, destination));
                EndIfClosing();
                if (response != ResponseOverwrite) {
                    ++skipped_;
                    return;
                }
                replace = true;
            }
        }
        if (same) {
            ++inPlace_;
        } else {
            // The file there goes to the Recycle Bin first, so that a wrong Yes can be undone. One
            // that cannot be put aside is not overwritten: a failed copy, the cached file stays.
            if (replace && !Attempt([&] { PutAside(destination); })) {
                ++failed_;
                return;
            }
            if (deleteTicked_ && Moved(source, destination, /*replace=*/false)) {
                removedKeys_.insert(key);
                ++uncached_, ++moved_;
                return;
            }
            bool copied = false;
            if (!Attempt([&] { copied = CopyShown(source, destination, name, replace); })) {
                ++failed_;
                return;
            }
            if (!copied) {  // cancelled: nothing of it is left at the destination
                cancelled_ = true;
                return;
            }
        }
        if (!deleteTicked_) {
            if (!same) ++uncached_;
            return;
        }
        // The cached copy goes only once its package is safe: a regular file of its size at the
        // destination, on disk. Otherwise it is a failed copy, and both the file and its line stay.
        if (!Attempt([&] { CheckCopy(source, destination); })) {
            ++failed_;
            return;
        }
        if (!same) ++uncached_;
        Attempt([&] { fs_.Remove(folder + "\\cache\\" + key + "-1.uxx"); });
        removedKeys_.insert(key);
    }

    // "Un-caching: 3 of 10 files"
    std::string FilesDone() const {
        return "Un-caching: " + std::to_string(done_) + " of " + std::to_string(chosen_) + " files";
    }

    // Copies a file with its bytes shown as they go; false when Cancel stopped it. The copy that
    // replaces a file put in the Recycle Bin always ends, so that a Cancel never leaves the place of
    // a package empty.
    bool CopyShown(const std::string& source, const std::string& destination, const std::string& name,
                   bool replacing) {
        return fs_.CopyWithProgress(source, destination, [&](std::uint64_t copied, std::uint64_t size) {
            ShowBytes("copying", name, copied, size);
            return replacing || !host_.CancelRequested();
        });
    }

    // "Un-caching: 3 of 10 files; copying DM-Foo.ut2, 4.00 MB of 12.0 MB"
    void ShowBytes(const char* doing, const std::string& name, std::uint64_t bytes, std::uint64_t size) {
        host_.ShowProgress(FilesDone() + "; " + doing + " " + name + ", " + ports_.sizes.FormatByteSize(bytes) +
                               " of " + ports_.sizes.FormatByteSize(size),
                           done_ * PerFile + (size == 0 ? 0 : bytes * PerFile / size), chosen_ * PerFile);
    }

    void PutAside(const std::string& destination) {
        if (fs_.Exists(destination)) fs_.Recycle(destination);
    }

    // False when either file cannot be read: the destination then counts as a different file. A
    // large file's comparison shows its progress, as a copy does.
    bool SameBytes(const std::string& source, const std::string& destination, const std::string& name) {
        try {
            return fs_.SameBytes(source, destination, [&](std::uint64_t compared, std::uint64_t size) {
                ShowBytes("comparing", name, compared, size);
            });
        } catch (const Failure&) {
            return false;
        }
    }

    // Renames the cached file to its destination. The package never exists only in memory on the
    // way: it is the same file on the same disk under another name. False when it could not be
    // renamed (a file there that is not to be replaced, another volume, a lock...): then nothing
    // has changed, and the copy does the work, with its failures reported as usual.
    bool Moved(const std::string& source, const std::string& destination, bool replace) {
        try {
            fs_.Move(source, destination, replace);
            return true;
        } catch (const Failure&) {
            return false;
        }
    }

    void CheckCopy(const std::string& source, const std::string& destination) {
        const std::uint64_t expected = fs_.SizeOf(source);
        const std::uint64_t found = fs_.Flush(destination);
        if (found != expected)
            throw Failure("The copy " + destination + " holds " + std::to_string(found) + " bytes instead of " +
                          std::to_string(expected) + ".");
    }

    // Asks for the sub-folder of a file of another type; false when the user gave none.
    bool AskSubFolder(const std::string& name) {
        for (;;) {
            otherSubFolder_ = prompts_.InputBox("Please enter the UT2003 sub directory where you wish " + name +
                                                    " to be un-cached.\r\n(ie: 'Help')\r\n"
                                                    "If the directory does not exist, it will be created.",
                                                "Enter sub-directory", otherSubFolder_);
            EndIfClosing();
            if (otherSubFolder_.empty()) return false;
            const std::string shown = "\"" + Printable(otherSubFolder_) + "\" ";
            switch (CheckSubFolder(otherSubFolder_)) {
                case NameFault::None: return true;
                case NameFault::LeavesFolder:
                    Refuse(shown + "is not a folder inside your UT2003 folder. Please enter a sub directory of it, "
                                   "such as Help or Help\\Docs.");
                    break;
                case NameFault::NotAFileName:
                    Refuse(shown + "is not a folder name that Windows allows. Please enter another sub directory, "
                                   "such as Help or Help\\Docs.");
                    break;
                case NameFault::CacheFolder:
                    Refuse(shown + "is in your UT2003 cache folder, where un-cached files would overwrite the cache. "
                                   "Please enter another sub directory, such as Help or Help\\Docs.");
                    break;
            }
        }
    }

    void RewriteIndex() {
        try {
            Attempt([&] { RewriteIndexFiltered(fs_, codePage_, folder_, removedKeys_); });
        } catch (const UnreadableIndex&) {
            Refuse(UnreadableIndexMessage(folder_));
        }
    }

    UncacheHost& host_;
    UncachePorts ports_;
    FileSystem& fs_ = ports_.files;
    Prompts& prompts_ = ports_.prompts;
    OverwritePrompt& overwrite_ = ports_.overwrite;
    CodePage& codePage_ = ports_.codePage;
    std::string folder_, otherSubFolder_;
    bool deleteTicked_ = false;
    std::unordered_set<std::string> removedKeys_;
    // The progress counts files done of files chosen, in parts of a file for the copy in hand.
    static constexpr std::uint64_t PerFile = 1000;
    std::uint64_t chosen_ = 0, done_ = 0;
    bool cancelled_ = false;
    int uncached_ = 0, moved_ = 0, inPlace_ = 0, skipped_ = 0, refused_ = 0, failed_ = 0;
};

}  // namespace

void Uncache(UncacheHost& host) { UncacheRun(host).Run(); }
