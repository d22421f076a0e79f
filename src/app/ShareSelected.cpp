// The two share commands of the main window: the player's choices, the export with its progress in
// the window, and what it did.
#include "app/ShareSelected.h"

#include "app/Rip.h"
#include "export/Export.h"
#include "platform/Prompts.h"

namespace {

// The selected rows as packages; none when the folder is not valid or nothing is selected (the
// player has been told).
std::vector<ExportPackage> SelectedPackages(Rip& rip) {
    rip.CheckPath();
    if (!rip.ValidPath) return {};
    std::vector<ExportPackage> packages;
    RipView& view = rip.View();
    for (const int r : view.SelectedRows()) packages.push_back({view.RowText(r), rip.KeyOfRow(r)});
    if (packages.empty())
        rip.Ports().prompts.Message("Please select the files to share first.", ProgramTitle, MsgIcon::Exclamation,
                                    MsgButtons::Ok);
    return packages;
}

// The export with its progress in the window; then what it did, in the summary line, and in a
// message when anything was left out, failed or did not get smaller.
template <typename Run>
void WithProgress(Rip& rip, const char* doing, ExportCallbacks callbacks, Run run) {
    RipView& view = rip.View();
    callbacks.progress = [&view, doing](const ExportProgress& p) {
        view.ShowProgress(std::string(doing) + " " + std::to_string(p.filesDone) + " of " +
                              std::to_string(p.filesChosen) + " files",
                          p.bytesDone, p.bytesTotal);
        return !view.CancelRequested();
    };
    view.BeginProgress();
    ExportResult result;
    try {
        result = run(callbacks);
    } catch (...) {
        view.EndProgress();
        throw;
    }
    view.EndProgress();
    view.SetLabel(RipLabel::Summary, result.summary);
    std::string details;
    for (const auto* list : {&result.failed, &result.skipped, &result.notSmaller})
        for (const std::string& line : *list) details += line + "\r\n";
    if (!details.empty())
        rip.Ports().prompts.Message(result.summary + "\r\n\r\n" + details, ProgramTitle, MsgIcon::Exclamation,
                                    MsgButtons::Ok);
}

}  // namespace

void ExportSelectedAsZip(Rip& rip) {
    const std::vector<ExportPackage> packages = SelectedPackages(rip);
    if (packages.empty()) return;
    Prompts& prompts = rip.Ports().prompts;
    std::string other;
    if (HasOtherTypes(packages)) {
        other = prompts.InputBox("Please enter the UT2003 sub directory where the files of other types are to go in "
                                 "the zip.\r\n(ie: 'Help')",
                                 "Enter sub-directory", "Help");
        if (other.empty()) return;
    }
    const std::string zip = prompts.SaveFileName("Export selected as zip", "Morvane-export.zip", "Zip archives", "zip");
    if (zip.empty()) return;
    ExportCallbacks callbacks;
    callbacks.mayReplace = [](const std::string&) { return true; };  // the Save dialog has asked
    WithProgress(rip, "Exporting:", callbacks, [&](const ExportCallbacks& c) {
        return ExportZip(rip.Ports().files, rip.GameFolder(), packages, other, zip, c);
    });
}

void CompressSelectedForRedirect(Rip& rip) {
    const std::vector<ExportPackage> packages = SelectedPackages(rip);
    if (packages.empty()) return;
    Prompts& prompts = rip.Ports().prompts;
    const std::string folder = prompts.PickFolder("Compress selected for a redirect server: choose a folder");
    if (folder.empty()) return;
    ExportCallbacks callbacks;
    callbacks.mayReplace = [&prompts](const std::string& target) {
        return prompts.Message("\"" + target + "\" is there already. Do you want to replace it?", "Replace file?",
                               MsgIcon::Question, MsgButtons::YesNoDefaultNo) == MsgAnswer::Yes;
    };
    WithProgress(rip, "Compressing:", callbacks, [&](const ExportCallbacks& c) {
        return CompressForRedirect(rip.Ports().files, rip.GameFolder(), packages, folder, c);
    });
}
