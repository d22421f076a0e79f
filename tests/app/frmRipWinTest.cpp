// The real main window under Wine, on a real temporary game folder, driven through its controls.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "app/frmRip.h"
#include "platform/MRegistry.h"
#include "platform/Win32Clipboard.h"
#include "platform/Win32FileSystem.h"
#include "platform/Win32Prompts.h"
#include "platform/Win32SizeFormatter.h"
#include "resource.h"
#include "support/DialogAnswerer.h"
#include "support/TempGame.h"

namespace {

struct Program {
    Win32FileSystem files;
    MRegistry registry;
    Win32Prompts prompts;
    Win32Clipboard clipboard;
    Win32SizeFormatter sizes;
    frmRip form{files, registry, prompts, clipboard, sizes};

    HWND Item(int id) const { return GetDlgItem(form.Window(), id); }
    std::string Text(int id) const {
        char b[1024] = {};
        GetWindowTextA(Item(id), b, sizeof b);
        return b;
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        const int n = static_cast<int>(SendMessageA(Item(IDC_LSTCACHE), LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            char b[512] = {};
            SendMessageA(Item(IDC_LSTCACHE), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(b));
            rows.push_back(b);
        }
        return rows;
    }
};

}  // namespace

TEST(frmRipWin, OpensOnTheGameFolderOfTheRegistryAndListsItsCache) {
    const std::string k1 = TempGame::KeyFor(1), k2 = TempGame::KeyFor(2), k3 = TempGame::KeyFor(3);
    TempGame game({{k1, "DM-Test.ut2"}, {k2, "Gone.utx"}, {k3, "Foo.U"}}, 1536);
    DeleteFileA(game.Cached(k2).c_str());
    game.RegisterAsGameFolder();
    Program p;
    DialogAnswerer answers;
    ASSERT_TRUE(p.form.Create(SW_SHOW));
    answers.Ignore(p.form.Window());
    PumpFor(50, p.form.Window());
    EXPECT_EQ(p.Text(IDC_TXTPATH), game.Folder());
    EXPECT_TRUE(p.form.Core().ValidPath);
    EXPECT_EQ(p.Rows(), (std::vector<std::string>{"DM-Test.ut2", "Foo.U"}));
    EXPECT_EQ(SendMessageA(p.Item(IDC_LSTCACHE), LB_GETITEMDATA, 1, 0), 3);
    EXPECT_EQ(p.Text(IDC_LBLMAPS), "Maps (*.ut2) : 1");
    EXPECT_EQ(p.Text(IDC_LBLUNKNOWN), "Unknown (other) : 1");
    EXPECT_EQ(p.Text(IDC_LBLMB), "Cache size:  3.00 KB / 2 files  =  1.50 KB / file");
    EXPECT_TRUE(answers.seen.empty()) << answers.Titles().front();
}
