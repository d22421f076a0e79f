// The real options window under Wine: its look, the menu that opens it, OK, the launcher box, and
// the options stored on OK and when the main window closes.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "platform/MRegistry.h"
#include "resource.h"
#include "settings/SettingsStore.h"
#include "support/WinProgram.h"

namespace {

// The stored texts of the three options, each marked if it is not REG_SZ.
std::string Stored() {
    MRegistry registry;
    std::string all;
    for (const char* value : {"DelFiles", "Auto-Empty", "Auto-Launch"}) {
        std::uint32_t type = 0;
        all += registry.ReadRegValue(HKeyCurrentUser, OptionsKeyPath, value, type).AsText();
        if (type != RegSz) all += "(type " + std::to_string(type) + ")";
    }
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
    ASSERT_NE(options, nullptr) << "created hidden by the start-up";
    EXPECT_FALSE(IsWindowVisible(options));
    EXPECT_EQ(WindowText(options), "Morvane options");
    EXPECT_EQ(GetWindowLongA(options, GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0)
        << "fixed, no control box";
    EXPECT_NE(GetWindowLongA(options, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0) << "a tool window, not in the task bar";
    EXPECT_EQ(GetWindow(options, GW_OWNER), o.form.Window());
    std::string texts;
    for (int id : {IDC_FRAAUTO, IDC_CHKEMPTY, IDC_CHKLAUNCH, IDOK}) texts += WindowText(GetDlgItem(options, id)) + "|";
    EXPECT_EQ(texts, "Automation|Automatically &un-cache ALL files at startup|"
                     "Automatically &launch Morvane when UT2003 starts and uncache|OK|");
    EXPECT_EQ(LOWORD(SendMessageA(options, DM_GETDEFID, 0, 0)), IDOK);
    ACCEL keys[8];
    const int n = CopyAcceleratorTableA(o.form.Accelerators(), keys, 8);
    EXPECT_TRUE(std::any_of(keys, keys + n, [](const ACCEL& a) {
        return a.cmd == IDM_OPTIONS && a.key == 'O' && (a.fVirt & FCONTROL);
    })) << "Ctrl+O";

    // Ticked and confirmed with Enter, stored at once.
    o.answers.Expect("Morvane options", 0, [](HWND d) {
        SendDlgItemMessageA(d, IDC_CHKEMPTY, BM_CLICK, 0, 0);
        PostMessageA(GetDlgItem(d, IDOK), WM_KEYDOWN, VK_RETURN, 1);
    });
    o.Menu(IDM_OPTIONS);
    EXPECT_EQ(Stored(), "010");

    // Opened again it shows the same state. Ticking the launcher box puts the game aside and Morvane
    // in its place, with a warning; clearing it puts the game back.
    o.answers
        .Expect("Morvane options", 0, [&](HWND d) {
            EXPECT_EQ(IsDlgButtonChecked(d, IDC_CHKEMPTY), BST_CHECKED);
            PostMessageA(GetDlgItem(d, IDC_CHKLAUNCH), BM_CLICK, 0, 0);
        })
        .Expect("Warning", IDOK)
        .Expect("Morvane options", IDOK, [&](HWND d) {
            EXPECT_EQ(TempGame::Read(system + "UT2003_original.exe"), "the game");
            EXPECT_GT(TempGame::Read(system + "UT2003.exe").size(), 100000u) << "Morvane in the game's place";
            SendDlgItemMessageA(d, IDC_CHKLAUNCH, BM_CLICK, 0, 0);
        });
    o.Menu(IDM_OPTIONS);
    EXPECT_EQ(o.answers.Titles(), (std::vector<std::string>{"Morvane options: ", "Morvane options: ", "Warning: WARNING:",
                                                            "Morvane options: "})) << "each closed as expected";
    EXPECT_EQ(TempGame::Read(system + "UT2003.exe"), "the game");
    EXPECT_FALSE(TempGame::IsFile(system + "UT2003_original.exe"));

    // "Delete cached files when un-caching" is stored when the main window closes.
    o.Click(IDC_CHKDEL);
    SendMessageA(o.form.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(o.form.Window(), nullptr);
    EXPECT_EQ(Stored(), "110");
}
