// Installing and removing launcher mode.
#include "settings/LauncherInstall.h"

#include <string>

#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/Prompts.h"

namespace {

class Installation {
public:
    Installation(std::string_view gameFolder, FileSystem& fs, Processes& processes, Prompts& prompts)
        : system_(std::string(gameFolder) + "\\System"), game_(system_ + "\\UT2003.exe"),
          original_(system_ + "\\UT2003_original.exe"), fs_(fs), processes_(processes), prompts_(prompts) {}

    void Install() {
        if (processes_.IsMorvane(game_)) {
            // Installed already (a lost option, a second Morvane): copying UT2003.exe aside now
            // would put Morvane in the place of the game's only copy.
            if (HasGame(original_))
                return Tell("Launcher mode is installed already: " + game_ + " is Morvane and " + original_ +
                            " is the game. Nothing was changed.");
            return Tell(game_ + " is a copy of Morvane, but the game's own executable, " + original_ +
                        ", is not there. Nothing was changed: please put the game's UT2003.exe back (from your "
                        "UT2003 CD or a backup) before you install launcher mode.");
        }
        std::string step = "copying " + game_ + " to " + original_;
        try {
            CopyWhole(game_, original_);
            step = "copying Morvane to " + game_;
            try {
                CopyWhole(processes_.ProgramPath(), game_);
            } catch (const Failure&) {
                // UT2003.exe may be half written: the game's copy beside it makes it whole again.
                if (Quietly([&] { CopyWhole(original_, game_); })) Quietly([&] { fs_.Remove(original_); });
                throw;
            }
        } catch (const Failure& f) {
            return Tell("Launcher mode was not installed: " + step + " failed (" + f.what() + "). " + State());
        }
        prompts_.Message("WARNING:\r\nMorvane will now uncache all files in your UT2003\\Cache folder when you start "
                         "UT2003.\r\nIt has renamed the original 'UT2003.exe' file to 'UT2003_original.exe' and "
                         "copied itself to 'UT2003.exe' instead.\r\nPlease do NOT delete either file!",
                         "Warning", MsgIcon::Information, MsgButtons::Ok);
    }

    void Remove() {
        if (!HasGame(original_))
            return Tell("Launcher mode cannot be removed: " + original_ + ", the game's own executable, is not "
                        "there (or is itself a copy of Morvane). Nothing was changed: if " + game_ + " is Morvane, "
                        "please put the game's UT2003.exe back from your UT2003 CD or a backup.");
        if (Quietly([&] { fs_.SizeOf(game_); }) && !processes_.IsMorvane(game_))
            return Tell("Launcher mode cannot be removed: " + game_ + " is not Morvane (a game update may have "
                        "replaced it), so both it and " + original_ + " were left as they are. Nothing was changed.");
        try {
            CopyWhole(original_, game_);
        } catch (const Failure& f) {
            return Tell("Launcher mode was not removed: copying " + original_ + " to " + game_ + " failed (" +
                        f.what() + "). " + State());
        }
        try {
            fs_.Remove(original_);
        } catch (const Failure& f) {
            Tell(game_ + " is the game again, but " + original_ + " could not be deleted (" + f.what() +
                 "). You may delete it yourself.");
        }
    }

private:
    // A regular file that is not Morvane: the game's executable, as far as Morvane can tell.
    bool HasGame(const std::string& path) {
        return Quietly([&] { fs_.SizeOf(path); }) && !processes_.IsMorvane(path);
    }

    // Copies and makes sure the whole file arrived on disk before anything relies on it.
    void CopyWhole(const std::string& from, const std::string& to) {
        fs_.Copy(from, to);
        const std::uint64_t expected = fs_.SizeOf(from);
        if (fs_.Flush(to) != expected) throw Failure("the copy " + to + " is not complete");
    }

    template <typename Step>
    bool Quietly(Step step) {
        try {
            step();
            return true;
        } catch (const Failure&) {
            return false;
        }
    }

    // Where the game's executable is now, for the player.
    std::string State() {
        if (HasGame(game_)) return "The game is " + game_ + ", as before.";
        if (HasGame(original_))
            return "The game is " + original_ + ": rename it to UT2003.exe to start the game without Morvane.";
        return "Please check " + system_ + ".";
    }

    void Tell(const std::string& text) { prompts_.Message(text, "Morvane", MsgIcon::Exclamation, MsgButtons::Ok); }

    const std::string system_, game_, original_;
    FileSystem& fs_;
    Processes& processes_;
    Prompts& prompts_;
};

}  // namespace

void chkLaunch_Click(bool optionsVisible, int state, std::string_view gameFolder, FileSystem& fs,
                     Processes& processes, Prompts& prompts) {
    if (!optionsVisible) return;
    Installation installation(gameFolder, fs, processes, prompts);
    if (state == 1) installation.Install();
    else installation.Remove();
}
