// The real options window under Wine: the menu that opens it, OK, the launcher box, and the options
// stored on OK and when the main window closes.
#include <gtest/gtest.h>
#include <windows.h>

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
