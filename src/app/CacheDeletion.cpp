// "Remove selected": after one confirmation, deletes the selected rows' cached files one at a time,
// then drops their lines from the index and reloads the listing.
#include "app/CacheDeletion.h"

#include <unordered_set>
#include <vector>

#include "app/Rip.h"
#include "cache/CacheIndex.h"
#include "cache/ErrorReport.h"
#include "cache/GameFolder.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"

void DeleteSelectedCachedFiles(Rip& rip) {
    RipView& view = rip.View();
    RipPorts& ports = rip.Ports();
    rip.CheckPath();
    if (!rip.ValidPath) return;
    if (view.RowCount() == 0 || view.CurrentRow() == -1) return;
    if (ports.prompts.Message("Are you sure you want to permanently delete file(s)???", ProgramTitle,
                              MsgIcon::Question, MsgButtons::YesNoDefaultNo) != MsgAnswer::Yes ||
        view.CloseRequested())
        return;
    std::unordered_set<std::string> deletedKeys;
    int refused = 0;
    // "Removed 3 cached files, 1 refused.", without a part that is none.
    const auto summary = [&] {
        const std::size_t n = deletedKeys.size();
        return "Removed " + std::to_string(n) + (n == 1 ? " cached file" : " cached files") +
               (refused != 0 ? ", " + std::to_string(refused) + " refused." : ".");
    };
    bool cancelled = false;
    std::string ended;  // why the removal ended early, for the summary
    struct Progress {
        RipView& view;
        ~Progress() { view.EndProgress(); }
    };
    try {
        // The removal goes as it was started: the window stays alive while it runs, and a row
        // selected or a folder typed meanwhile is for the next one.
        const std::string folder = rip.GameFolder();
        const std::vector<int> selected = view.SelectedRows();
        const std::uint64_t chosen = selected.size();
        std::uint64_t done = 0;
        {
            view.BeginProgress();
            const Progress progress{view};
            for (const int r : selected) {
                view.ShowProgress("Removing: " + std::to_string(done) + " of " + std::to_string(chosen) + " files",
                                  done, chosen);
                // Cancel stops before the next file; the index loses the lines of exactly the files deleted.
                if ((cancelled = view.CancelRequested())) break;
                ++done;
                const std::string key = rip.KeyOfRow(r);
                // A key that is no file name would name another file than its cached one (or none).
                if (CheckFileName(key + "-1.uxx") != NameFault::None) {
                    ++refused;
                    continue;
                }
                try {
                    ports.files.Remove(CachedFilePath(folder, key));
                } catch (const Failure& f) {
                    ReportUnexpectedError(ports.prompts, ports.clipboard, ReportSite::Delete, f.what());
                    ended = " The removal was ended by a failure.";
                    break;
                }
                deletedKeys.insert(key);
            }
        }
        // The files deleted before a failure lose their lines too: no line is left for a file gone.
        RewriteIndexFiltered(ports.files, ports.codePage, folder, deletedKeys);
    } catch (const UnreadableIndex&) {
        ports.prompts.Message(UnreadableIndexMessage(rip.GameFolder()), ProgramTitle, MsgIcon::Exclamation,
                              MsgButtons::Ok);
        return;
    } catch (const Failure& f) {
        ReportUnexpectedError(ports.prompts, ports.clipboard, ReportSite::Delete, f.what());
        view.SetLabel(RipLabel::Summary, summary() + " The removal was ended by a failure.");
        return;
    }
    if (view.CloseRequested()) return;
    rip.LoadCache();
    view.SetLabel(RipLabel::Summary, summary() + (cancelled ? " The removal was cancelled." : ended));
}
