// The real options window under Wine: the menu that opens it, OK, the launcher box, the grey third
// state of the option boxes, and the options stored on OK and when the main window closes.
#include <gtest/gtest.h>
#include <windows.h>

#include <tuple>

#include "platform/MRegistry.h"
#include "resource.h"
#include "settings/SettingsStore.h"
#include "support/WinProgram.h"

namespace {

// The stored texts of the three options (their type is MRegistry's, tested with it).
std::string Stored() {
    MRegistry registry;
    std::string all;
    std::uint32_t type = 0;
    for (const char* value : {"DelFiles", "Auto-Empty", "Auto-Launch"})
        all += registry.ReadRegValue(HKeyCurrentUser, OptionsKeyPath, value, type).AsText();
    return all;
}

}  // namespace

TEST(frmOptionsWin, OpensFromTheMenuKeepsItsBoxesInstallsTheLauncherAndSavesOnOKAndOnClosing) {
    std::string system;
    OpenedGame o({{TempGame::KeyFor(1), "DM-A.ut2"}}, 10, [&](TempGame& g) {
        system = g.Folder() + "\\System\\";
        TempGame::Write(system + "UT2003.exe", "the game");
    });
    const HWND options = o.form.Options().Window();
    ASSERT_NE(options, nullptr) << "created by the start-up";
    EXPECT_EQ(Look(options), "Morvane options [fixed] [tool]|Automation|Automatically &un-cache ALL files at startup|"
                             "Automatically &launch Morvane when UT2003 starts and uncache|OK");

    // Ticked and confirmed with Enter, stored at once.
    o.answers.Expect("Morvane options", 0, [](HWND d) {
        SendDlgItemMessageA(d, IDC_CHKEMPTY, BM_CLICK, 0, 0);
        PostMessageA(GetDlgItem(d, IDOK), WM_KEYDOWN, VK_RETURN, 1);
    });
    o.Menu(IDM_OPTIONS);
    EXPECT_EQ(Stored(), "010");

    // Opened again it shows the same state. Ticking the launcher box puts the game aside and this very
    // Morvane in its place, with a warning; clearing it puts the game back.
    o.answers
        .Expect("Morvane options", 0, [&](HWND d) {
            EXPECT_EQ(IsDlgButtonChecked(d, IDC_CHKEMPTY), BST_CHECKED);
            PostMessageA(GetDlgItem(d, IDC_CHKLAUNCH), BM_CLICK, 0, 0);
        })
        .Expect("Warning", IDOK)
        .Expect("Morvane options", IDOK, [&](HWND d) {
            char self[MAX_PATH] = {};
            GetModuleFileNameA(nullptr, self, MAX_PATH);
            EXPECT_EQ(TempGame::Read(system + "UT2003.exe"), TempGame::Read(self)) << "Morvane in the game's place";
            EXPECT_EQ(TempGame::Read(system + "UT2003_original.exe"), "the game");
            SendDlgItemMessageA(d, IDC_CHKLAUNCH, BM_CLICK, 0, 0);
        });
    o.Menu(IDM_OPTIONS);
    EXPECT_EQ(o.answers.Titles(), (std::vector<std::string>{"Morvane options: ", "Morvane options: ", "Warning: WARNING:",
                                                            "Morvane options: "})) << "each closed as expected";
    EXPECT_EQ(TempGame::Read(system + "UT2003.exe"), "the game");
    EXPECT_EQ(TempGame::Read(system + "UT2003_original.exe"), "") << "no such file";

    // "Delete cached files when un-caching" is stored when the main window closes.
    o.Click(IDC_CHKDEL);
    SendMessageA(o.form.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(o.form.Window(), nullptr);
    EXPECT_EQ(Stored(), "110");
}

// A stored 2 is the grey third state of a box: shown grey, never taken for ticked, and saved back as 2
// until the player clicks the box, which clears it (by keyboard as by mouse); a second click ticks it.
TEST(frmOptionsWin, AStoredTwoShowsGreyIsNotTickedAndIsSavedBackUntilAClickClearsIt) {
    const std::string key = TempGame::KeyFor(2);
    OpenedGame o({{key, "DM-A.ut2"}}, 10, [](TempGame&) {
        MRegistry registry;
        for (const char* value : {"DelFiles", "Auto-Empty", "Auto-Launch"})
            registry.WriteRegValue(HKeyCurrentUser, OptionsKeyPath, value, "2");
    });
    const HWND main = o.form.Window(), options = o.form.Options().Window();
    const auto states = [&] {
        return std::make_tuple(IsDlgButtonChecked(main, IDC_CHKDEL), IsDlgButtonChecked(options, IDC_CHKEMPTY),
                               IsDlgButtonChecked(options, IDC_CHKLAUNCH));
    };
    EXPECT_EQ(states(), std::make_tuple(BST_INDETERMINATE, BST_INDETERMINATE, BST_INDETERMINATE));

    // Nothing was un-cached at start-up; un-caching now copies the file and keeps the cached one.
    const std::string map = o.game.Path("\\Maps\\DM-A.ut2"), cached = TempGame::Read(o.game.Cached(key));
    EXPECT_EQ(TempGame::Read(map), "") << "no such file before the click";
    o.Click(IDC_CMDSELALL);
    o.Click(IDC_CMDUNCACHE);
    EXPECT_EQ(TempGame::Read(map), cached);
    EXPECT_EQ(TempGame::Read(o.game.Cached(key)), cached) << "the cached file stays";
    EXPECT_EQ(o.Rows(), std::vector<std::string>{"DM-A.ut2"});

    // Space on the grey un-cache box clears it; OK stores the others' 2 as they were.
    o.answers.Expect("Morvane options", 0, [](HWND d) {
        HWND box = GetDlgItem(d, IDC_CHKEMPTY);
        SetFocus(box);
        PostMessageW(box, WM_KEYDOWN, VK_SPACE, 1);
        PostMessageW(box, WM_KEYUP, VK_SPACE, 0xC0000001);
        PostMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    });
    o.Menu(IDM_OPTIONS);
    EXPECT_EQ(Stored(), "202");
    o.Click(IDC_CHKDEL);
    EXPECT_EQ(states(), std::make_tuple(BST_UNCHECKED, BST_UNCHECKED, BST_INDETERMINATE));
    o.Click(IDC_CHKDEL);
    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(Stored(), "102") << "the launcher box, never clicked, stays grey";
}
