// Installing and removing launcher mode: the files after each case, the messages, and the game's
// executable kept whatever single file operation fails.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "app/EveryFault.h"
#include "settings/LauncherInstall.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

namespace {

using S = std::optional<std::string>;
const std::string Folder = "C:\\Games\\UT2003", Exe = Folder + "\\System\\UT2003.exe";
const std::string Original = Folder + "\\System\\UT2003_original.exe";

struct Installation {
    FakeFileSystem fs;
    ScriptedPrompts prompts;
    FakeProcesses processes{fs};
    Installation(std::optional<std::string> exe, std::optional<std::string> original) {
        fs.AddFile(processes.program, "Morvane 2");
        fs.AddFolder(Folder + "\\System");
        if (exe) fs.AddFile(Exe, *exe);
        if (original) fs.AddFile(Original, *original);
    }
    void Click(int state, bool visible = true) { chkLaunch_Click(visible, state, Folder, fs, processes, prompts); }
    // "UT2003.exe|UT2003_original.exe", each file's bytes or "-".
    std::string Files() const { return fs.Bytes(Exe).value_or("-") + "|" + fs.Bytes(Original).value_or("-"); }
    std::string Said() const { return prompts.shown.empty() ? "" : prompts.shown[0].title + ": " + prompts.shown[0].text; }
};

}  // namespace

TEST(LauncherInstall, InstallsAndRemovesButNeverLosesTheGame) {
    const std::string warning = "Warning: WARNING:\r\nMorvane will now uncache all files in your UT2003\\Cache folder "
        "when you start UT2003.\r\nIt has renamed the original 'UT2003.exe' file to 'UT2003_original.exe' and copied "
        "itself to 'UT2003.exe' instead.\r\nPlease do NOT delete either file!";
    // UT2003.exe and UT2003_original.exe before, the box's new state (-1: the window is hidden),
    // the files after, the beginning of what the player is told, and which flush of UT2003.exe fails.
    const struct { S exe, original; int state; const char* files; std::string said; int failedFlush = 0; } cases[] = {
        {"Game", {}, 1, "Morvane 2|Game", warning},
        {"Game", {}, -1, "Game|-", ""},  // loading the options installs nothing
        {"Morvane 1", "Game", 1, "Morvane 1|Game", "Morvane: Launcher mode is installed already: "},
        {"Morvane 1", {}, 1, "Morvane 1|-", "Morvane: " + Exe + " is a copy of Morvane, but the game's own"},
        {{}, {}, 1, "-|-", "Morvane: Launcher mode was not installed: copying " + Exe + " to " + Original + " failed "
                           "(File not found.). Please check "},
        // Morvane copied over UT2003.exe but not whole: the game's copy is put back over it.
        {"Game", {}, 1, "Game|-", "Morvane: Launcher mode was not installed: copying Morvane to " + Exe + " failed "
                                  "(Access denied.). The game is " + Exe + ", as before.", 1},
        {"Morvane 1", "Game", 0, "Game|-", ""},
        {{}, "Game", 0, "Game|-", ""},
        {"Morvane 1", {}, 0, "Morvane 1|-", "Morvane: Launcher mode cannot be removed: " + Original},
        {"Patched game", "Game", 0, "Patched game|Game", "Morvane: Launcher mode cannot be removed: " + Exe + " is not"},
        {"Morvane 1", "Morvane 0", 0, "Morvane 1|Morvane 0", "Morvane: Launcher mode cannot be removed: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exe.value_or("-") + "|" + c.original.value_or("-") + ", state " + std::to_string(c.state));
        Installation i(c.exe, c.original);
        if (c.failedFlush) i.fs.FailOn(FsOp::Flush, Exe, "Access denied.", c.failedFlush);
        i.Click(c.state < 0 ? 1 : c.state, c.state >= 0);
        EXPECT_EQ(i.Files(), c.files);
        EXPECT_EQ(i.Said().substr(0, c.said.size()), c.said);
        EXPECT_EQ(i.prompts.shown.size(), c.said.empty() ? 0u : 1u);
    }
}

TEST(LauncherInstall, WhateverFailsTheGameStaysUnderOneOfItsNamesAndTheFailureIsSaid) {
    for (int state : {1, 0}) {
        SCOPED_TRACE(state ? "install" : "remove");
        const auto make = [&] {
            return std::make_unique<Installation>(S(state ? "Game" : "Morvane 1"), S(state ? S() : "Game"));
        };
        every_fault::ForEachFault(make, [&](Installation& i) { i.Click(state); },
                                  [&](Installation& i, const Installation&, std::size_t) {
            const std::string files = i.Files();
            EXPECT_TRUE(files.rfind("Game|", 0) == 0 || files.find("|Game") != std::string::npos) << files;
            const bool done = files == (state ? "Morvane 2|Game" : "Game|-");
            EXPECT_EQ(i.prompts.shown.size(), done && !state ? 0u : 1u) << "said: " << i.Said();
        }, /*alike=*/true);
    }
}
