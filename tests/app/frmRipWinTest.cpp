// The real main window under Wine, on a real temporary game folder and the prefix's registry,
// driven through its controls as a user would.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <tuple>

#include "cache/GameFolder.h"
#include "platform/WideText.h"
#include "resource.h"
#include "support/WinProgram.h"

namespace {

using Names = std::vector<std::string>;
const std::string K1 = TempGame::KeyFor(1), K3 = TempGame::KeyFor(3);

// TTM_GETTEXTA would cut the text at 80 characters.
std::string Tooltip(const OpenedGame& o, int id) {
    wchar_t text[256] = {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = o.form.Window();
    info.uId = reinterpret_cast<UINT_PTR>(o.Item(id));
    info.lpszText = text;
    SendMessageW(o.form.Tooltips(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
    return Narrow(text, 256);
}

}  // namespace

TEST(frmRipWin, ListsTheRegisteredGameFolderAndChecksThePathBoxOnLeaving) {
    OpenedGame o({{K1, "DM-Test.ut2"}, {K3, "Foo.U"}}, 1536);
    EXPECT_EQ(Look(o.form.Window()), "Morvane|UT2003 info|Your UT2003 &path :|" + o.game.Folder() + "|&Find|Your "
              "UT2003\\Cache folder|Hold CTRL to select multiple files|System files (*.u, *.int) : 0|Maps (*.ut2) : 1|"
              "Textures (*.utx) : 0|Sounds (*.uax) : 0|Music files (*.umx, *.ogg) : 0|Static Meshes (*.usx) : 0|"
              "Animations (*.ukx) : 0|Save files (*.uvx) : 0|Unknown (other) : 1|&Refresh|Select &All|&Un-cache "
              "selected files|Re&move selected|&Delete cached files when un-caching|+ New: 1   = Installed: 0   * "
              "Other version: 0|Cancel|Cache size:  3.00 KB / 2 files  =  1.50 KB / file");  // Cancel: hidden until a long job
    EXPECT_EQ(SendMessageW(o.Item(IDC_LSTCACHE), LB_GETITEMDATA, 1, 0), 3);
    EXPECT_EQ(Tooltip(o, IDC_TXTPATH) + "|" + Tooltip(o, IDC_CMDDELETE), "Manually enter UT2003 path - press [Escape] "
              "to reset|Click here to permanently delete the selected files on your left from your computer");
    // The pointer resting on a button shows its tip.
    RECT button;
    GetWindowRect(o.Item(IDC_CMDUNCACHE), &button);
    SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    for (int waited = 0; waited < 3000 && !IsWindowVisible(o.form.Tooltips()); waited += 50)
        PumpFor(50, o.form.Window());
    TTTOOLINFOW shown{};
    shown.cbSize = sizeof shown;
    EXPECT_TRUE(IsWindowVisible(o.form.Tooltips()) &&
                SendMessageW(o.form.Tooltips(), TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&shown)) &&
                shown.uId == reinterpret_cast<UINT_PTR>(o.Item(IDC_CMDUNCACHE)));
    SetCursorPos(0, 0);
    ACCEL keys[4];  // Ctrl+N selects the new files, Ctrl+O opens the options, Ctrl+F the fixer
    ASSERT_EQ(CopyAcceleratorTableW(o.form.Accelerators(), keys, 4), 3);
    EXPECT_EQ(std::make_tuple(keys[0].fVirt & FCONTROL, keys[0].key, keys[0].cmd, keys[1].key, keys[1].cmd, keys[2].key,
                              keys[2].cmd), std::make_tuple(FCONTROL, 'N', IDM_SELNEW, 'O', IDM_OPTIONS, 'F', IDM_FIX));

    // Refresh picks up a new index.
    TempGame::Write(o.game.Path("\\Cache\\cache.ini"), "[Cache]\r\n" + K3 + "=Foo.U\r\n" + K1 + "=DM-Test.ut2\r\n");
    o.Click(IDC_CMDREFRESH);
    EXPECT_EQ(o.Rows(), (Names{"Foo.U", "DM-Test.ut2"}));

    // The default button follows the focus (Enter un-caches outside the path box, as the un-caching
    // test shows). A wrong folder, checked after leaving the box (the cleaning of the text is the
    // core's): one "Invalid path!" and the focus back.
    SetFocus(o.Item(IDC_TXTPATH));
    EXPECT_EQ(o.DefaultButton(), IDC_CMDFIND);
    o.answers.Expect("Morvane", IDOK);
    SetWindowTextW(o.Item(IDC_TXTPATH), L"C:\\nowhere");
    SetFocus(o.Item(IDC_CMDREFRESH));
    EXPECT_EQ(o.DefaultButton(), IDC_CMDUNCACHE);
    PumpFor(400, o.form.Window());
    EXPECT_EQ(o.answers.Titles(), Names{"Morvane: Invalid path!"});
    EXPECT_FALSE(o.form.Core().ValidPath);
    EXPECT_EQ(GetFocus(), o.Item(IDC_TXTPATH));

    // Escape in the path box restores the registry's folder, and the folder shown is the one
    // checked, without a message: the fixer and the runs then act on it.
    o.Key(IDC_TXTPATH, VK_ESCAPE);
    EXPECT_EQ(WindowText(o.Item(IDC_TXTPATH)), o.game.Folder());
    EXPECT_TRUE(o.form.Core().ValidPath);
    EXPECT_EQ(o.answers.seen.size(), 1u);
}

// The Windows side of every text is UTF-16: a name outside the system's code page (a Cyrillic folder
// on a Western Windows) must come back exactly, never as a look-alike with "?".
TEST(frmRipWin, NamesOutsideTheCodePageKeepEveryCharacterInTheListBoxesClipboardAndPathBox) {
    OpenedGame o({{K1, "DM-Test.ut2"}}, 10);
    const std::string name = "DM-Жar.ut2";
    o.form.BeginRows();
    o.form.AddRow(name, 2, InstallMark::NotInstalled);
    o.form.EndRows();
    EXPECT_EQ(o.Rows(), std::vector<std::string>{name});
    EXPECT_EQ(o.form.RowText(0), name);

    // A question titled with the name (as the fixer asks about a file), and the input box's texts both
    // ways, a character beyond the BMP among them.
    o.answers.Expect(name, IDYES).Expect("Папка", IDOK, [](HWND box) {
        EXPECT_EQ(WindowText(GetDlgItem(box, IDC_INPUTPROMPT)) + "|" + WindowText(GetDlgItem(box, IDC_INPUTTEXT)),
                  "Folder for DM-Жar.ut2?|Maps\\Карты");
        SetDlgItemTextW(box, IDC_INPUTTEXT, L"Карты 𝄞");
    });
    EXPECT_EQ(o.prompts.Message("Delete " + name + " ?", name, MsgIcon::Question, MsgButtons::YesNo), MsgAnswer::Yes);
    EXPECT_EQ(o.prompts.InputBox("Folder for " + name + "?", "Папка", "Maps\\Карты"), "Карты 𝄞");
    ASSERT_EQ(o.answers.seen.size(), 2u) << testing::PrintToString(o.answers.Titles());
    EXPECT_EQ(o.answers.seen[0].title + "|" + o.answers.seen[0].text, name + "|Delete " + name + " ?");
    o.clipboard.SetText(name);
    EXPECT_EQ(ClipboardText(), name);

    // The registered folder, shown by Escape in the path box; then the player's own text, read by the core.
    const HWND path = o.Item(IDC_TXTPATH);
    o.registry.WriteRegValue(HKeyLocalMachine, GameKeyPath, GameFolderValue, "C:\\Игры\\UT2003");
    o.Key(IDC_TXTPATH, VK_ESCAPE);
    wchar_t shown[64] = {};
    GetWindowTextW(path, shown, 64);
    EXPECT_EQ(std::wstring(shown), L"C:\\Игры\\UT2003");
    SetWindowTextW(path, L"D:\\Spiele\\Игры 𝄞");
    EXPECT_EQ(o.form.PathText(), "D:\\Spiele\\Игры 𝄞");
}

// The rows already un-cached (copied with their date) or there in another version are marked, the
// legend counts them, and Cache > Select new files selects only the rows not in the game folder.
TEST(frmRipWin, SelectNewFilesSelectsTheRowsNotInTheGameFolderYet) {
    const std::string K2 = TempGame::KeyFor(2), K4 = TempGame::KeyFor(4);
    OpenedGame o({{K1, "DM-New.ut2"}, {K2, "Rock.utx"}, {K3, "Boom.uax"}, {K4, "Foo.txt"}}, 100, [&](TempGame& g) {
        CopyFileW(Wide(g.Cached(K2)).c_str(), Wide(g.Path("\\Textures\\Rock.utx")).c_str(), FALSE);
        TempGame::Write(g.Path("\\Sounds\\Boom.uax"), "another");
    });
    EXPECT_EQ(WindowText(o.Item(IDC_LBLLEGEND)), "+ New: 1   = Installed: 1   * Other version: 1");
    o.Click(IDC_CMDSELALL);
    o.Menu(IDM_SELNEW);
    std::string selected;
    for (int r = 0; r < 4; ++r) selected += SendMessageW(o.Item(IDC_LSTCACHE), LB_GETSEL, r, 0) > 0 ? "x" : ".";
    EXPECT_EQ(selected, "x...");
}
