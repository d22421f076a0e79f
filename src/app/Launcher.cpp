// The launcher test and sequence.
#include "app/Launcher.h"

#include <string>

#include "app/Rip.h"
#include "cache/ErrorReport.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"

namespace {

std::string_view FolderOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

std::string_view NameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.rfind('.'));
}

// Whether anything at all, a hidden file or a folder too, bears the path's name.
bool Taken(FileSystem& fs, const std::string& path) {
    try {
        return !fs.List(path).empty();
    } catch (const Failure&) {
        return false;
    }
}

// Morvane leaves the game's name under "Morvane.exe", or where a file of that name lies in System
// already (a launcher run ended during its wait, or a player's own copy), under the first free
// name of "Morvane (2).exe" to "Morvane (9).exe": a rename never replaces a file. The name taken.
std::string StepAside(FileSystem& fs, const std::string& launcher, const std::string& folder) {
    for (int n = 1;; ++n) {
        const std::string aside = folder + (n == 1 ? "\\Morvane.exe" : "\\Morvane (" + std::to_string(n) + ").exe");
        try {
            fs.Rename(launcher, aside);
            return aside;
        } catch (const Failure&) {
            if (n == 9 || !Taken(fs, aside)) throw;
        }
    }
}

}  // namespace

bool IsLauncherStart(std::string_view programPath, std::string_view gameFolder, int launchState) {
    return NameOf(programPath) == "UT2003" && FolderOf(programPath) == std::string(gameFolder) + "\\System" &&
           launchState == 1;
}

bool RunLauncher(Rip& rip, Processes& processes, Clock& clock) {
    rip.cmdSelAll_Click();
    rip.View().YieldOnce();
    rip.cmdUncache_Click();
    rip.View().YieldOnce();

    FileSystem& fs = rip.Ports().files;
    const std::string folder(FolderOf(processes.ProgramPath()));
    const std::string launcher = folder + "\\UT2003.exe", original = folder + "\\UT2003_original.exe";
    std::string morvane;  // where Morvane stands aside while the game runs
    // Each step, and what puts the installed names back if a later one fails.
    int done = 0;
    const auto undo = [&] {
        try {
            if (done >= 2) fs.Rename(launcher, original);
            if (done >= 1) fs.Rename(morvane, launcher);
        } catch (const Failure&) {
            // The report below names the first failure; the player sees the files as they are.
        }
    };
    try {
        morvane = StepAside(fs, launcher, folder);
        done = 1;
        fs.Rename(original, launcher);
        done = 2;
        processes.Start(launcher);
        const std::uint32_t start = clock.Ticks();
        // An unsigned difference: the wait lasts its 20 seconds across a wrap of the counter too.
        for (std::uint32_t waited = 0; waited < LauncherWaitMs; waited = clock.Ticks() - start)
            clock.WaitForEvents(LauncherWaitMs - waited);
        fs.Rename(launcher, original);
        done = 3;
        fs.Rename(morvane, launcher);
        return true;
    } catch (const Failure& f) {
        // With the game back as UT2003_original.exe but Morvane still aside, the game is at least
        // startable again under its own name.
        if (done == 3) {
            try {
                fs.Rename(original, launcher);
            } catch (const Failure&) {
            }
        } else {
            undo();
        }
        ReportUnexpectedError(rip.Ports().prompts, rip.Ports().clipboard, ReportSite::FormLoad, f.what());
        return false;
    }
}
