// The real options window under Wine: its look, the menu that opens it, OK, and the options
// stored on OK and when the main window closes.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/MRegistry.h"
#include "resource.h"
#include "settings/SettingsStore.h"
#include "support/WinProgram.h"

namespace {

std::string Stored(const char* value) {
    MRegistry registry;
    std::uint32_t type = 0;
    const std::string text = registry.ReadRegValue(HKeyCurrentUser, OptionsKeyPath, value, type).AsText();
    return text + (type == RegSz ? "" : "(type " + std::to_string(type) + ")");
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

}  // namespace

TEST(frmOptionsWin, OpensFromTheMenuKeepsItsBoxesAndSavesOnOKAndOnClosing) {
    OpenedGame o({{TempGame::KeyFor(1), "DM-A.ut2"}}, 10);
    const HWND options = o.p.form.Options().Window();
    ASSERT_NE(options, nullptr) << "created hidden by the start-up";
    EXPECT_FALSE(IsWindowVisible(options));
    EXPECT_EQ(WinProgram::TextOf(options), "Morvane options");
    const LONG style = GetWindowLongA(options, GWL_STYLE), exStyle = GetWindowLongA(options, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0) << "fixed, no control box";
    EXPECT_NE(exStyle & WS_EX_TOOLWINDOW, 0) << "a tool window, not in the task bar";
    EXPECT_EQ(GetWindow(options, GW_OWNER), o.p.form.Window());
    std::vector<std::string> texts;
    for (int id : {IDC_FRAAUTO, IDC_CHKEMPTY, IDC_CHKLAUNCH, IDOK}) texts.push_back(WinProgram::TextOf(GetDlgItem(options, id)));
    EXPECT_EQ(texts, (std::vector<std::string>{"Automation", "Automatically &un-cache ALL files at startup",
                                               "Automatically &launch Morvane when UT2003 starts and uncache", "OK"}));
    EXPECT_EQ(LOWORD(SendMessageA(options, DM_GETDEFID, 0, 0)), IDOK);
    ACCEL keys[8];
    const int n = CopyAcceleratorTableA(o.p.form.Accelerators(), keys, 8);
    EXPECT_TRUE(std::any_of(keys, keys + n, [](const ACCEL& a) {
        return a.cmd == IDM_OPTIONS && a.key == 'O' && (a.fVirt & FCONTROL);
    })) << "Ctrl+O";

    // Ticked and confirmed with Enter; opened again it shows the same state.
    o.answers.Expect("Morvane options", 0, [](HWND d) {
        SendMessageA(GetDlgItem(d, IDC_CHKEMPTY), BM_CLICK, 0, 0);
        PostMessageA(GetDlgItem(d, IDOK), WM_KEYDOWN, VK_RETURN, 1);
    });
    SendMessageA(o.p.form.Window(), WM_COMMAND, IDM_OPTIONS, 0);
    EXPECT_FALSE(IsWindowVisible(options));
    EXPECT_TRUE(IsWindowEnabled(o.p.form.Window()));
    EXPECT_EQ(Stored("Auto-Empty"), "1");
    EXPECT_EQ(Stored("DelFiles"), "0");
    bool stillTicked = false;
    o.answers.Expect("Morvane options", IDOK, [&](HWND d) { stillTicked = Checked(d, IDC_CHKEMPTY); });
    SendMessageA(o.p.form.Window(), WM_COMMAND, IDM_OPTIONS, 0);
    EXPECT_TRUE(stillTicked);
    EXPECT_TRUE(o.answers.AllAnswered());

    // "Delete cached files when un-caching" is stored when the main window closes.
    o.p.Click(IDC_CHKDEL);
    SendMessageA(o.p.form.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(o.p.form.Window(), nullptr);
    EXPECT_EQ(Stored("DelFiles") + Stored("Auto-Empty") + Stored("Auto-Launch"), "110");
}

TEST(frmOptionsWin, TickingTheLauncherBoxInstallsMorvaneWithAWarningAndClearingItRemovesIt) {
    std::string system;
    OpenedGame o({{TempGame::KeyFor(1), "DM-A.ut2"}}, 10, [&](TempGame& g) {
        system = g.Folder() + "\\System\\";
        TempGame::Write(system + "UT2003.exe", "the game");
    });
    std::string installed;
    o.answers.Expect("Morvane options", 0, [](HWND d) { PostMessageA(GetDlgItem(d, IDC_CHKLAUNCH), BM_CLICK, 0, 0); })
        .Expect("Warning", IDOK)
        .Expect("Morvane options", IDOK, [&](HWND d) {
            installed = TempGame::Read(system + "UT2003_original.exe") + "|" +
                        std::to_string(TempGame::Read(system + "UT2003.exe").size() > 100000);
            SendMessageA(GetDlgItem(d, IDC_CHKLAUNCH), BM_CLICK, 0, 0);
        });
    SendMessageA(o.p.form.Window(), WM_COMMAND, IDM_OPTIONS, 0);
    ASSERT_TRUE(o.answers.AllAnswered()) << o.answers.seen.size() << " dialogs seen";
    EXPECT_EQ(installed, "the game|1") << "the game aside, Morvane in its place";
    bool originalThere = true;
    TempGame::Read(system + "UT2003_original.exe", &originalThere);
    EXPECT_EQ(TempGame::Read(system + "UT2003.exe"), "the game");
    EXPECT_FALSE(originalThere);
}
