// The real main window under Wine, on a real temporary game folder and the prefix's registry,
// driven through its controls as a user would.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "platform/Win32Error.h"
#include "resource.h"
#include "support/WinProgram.h"

namespace {

const std::string K1 = TempGame::KeyFor(1), K2 = TempGame::KeyFor(2), K3 = TempGame::KeyFor(3);

struct Opened : OpenedGame {
    Opened()
        : OpenedGame({{K1, "DM-Test.ut2"}, {K2, "Gone.utx"}, {K3, "Foo.U"}}, 1536,
                     [](TempGame& g) { DeleteFileA(g.Cached(K2).c_str()); }) {}
};

std::string Tooltip(const WinProgram& p, int id) {
    wchar_t text[256] = {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = p.form.Window();
    info.uId = reinterpret_cast<UINT_PTR>(p.Item(id));
    info.lpszText = text;
    SendMessageW(p.form.Tooltips(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
    char out[256] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out, nullptr, nullptr);
    return out;
}

}  // namespace

TEST(frmRipWin, ListsTheCacheOfTheRegisteredGameFolder) {
    Opened o;
    WinProgram& p = o.p;
    EXPECT_EQ(WinProgram::TextOf(p.form.Window()), "Morvane");
    EXPECT_EQ(p.Text(IDC_TXTPATH), o.game.Folder());
    EXPECT_TRUE(p.form.Core().ValidPath);
    EXPECT_EQ(p.Rows(), (std::vector<std::string>{"DM-Test.ut2", "Foo.U"}));  // Gone.utx has no cached file
    EXPECT_EQ(SendMessageA(p.Item(IDC_LSTCACHE), LB_GETITEMDATA, 0, 0), 2);
    EXPECT_EQ(SendMessageA(p.Item(IDC_LSTCACHE), LB_GETITEMDATA, 1, 0), 3);
    EXPECT_EQ(p.form.Core().CacheKeys, (std::vector<std::string>{"", "", K1, K3}));
    EXPECT_EQ(p.Text(IDC_LBLSYS), "System files (*.u, *.int) : 0");
    EXPECT_EQ(p.Text(IDC_LBLMAPS), "Maps (*.ut2) : 1");
    EXPECT_EQ(p.Text(IDC_LBLUNKNOWN), "Unknown (other) : 1");
    EXPECT_EQ(p.Text(IDC_LBLMB), "Cache size:  3.00 KB / 2 files  =  1.50 KB / file");
    EXPECT_EQ(p.Text(IDC_FRACACHE), "Your UT2003\\Cache folder");
    EXPECT_EQ(p.DefaultButton(), IDC_CMDUNCACHE);
    EXPECT_TRUE(GetWindowLongA(p.Item(IDC_LSTCACHE), GWL_STYLE) & LBS_EXTENDEDSEL);
    EXPECT_EQ(Tooltip(p, IDC_TXTPATH), "Manually enter UT2003 path - press [Escape] to reset");
    EXPECT_EQ(Tooltip(p, IDC_CMDDELETE),
              "Click here to permanently delete the selected files on your left from your computer");

    // The size line is centred in its frame whenever it changes.
    RECT label, frame;
    GetWindowRect(p.Item(IDC_LBLMB), &label);
    GetWindowRect(p.Item(IDC_FRACACHE), &frame);
    EXPECT_NEAR((label.left + label.right) / 2.0, (frame.left + frame.right) / 2.0, 1.5);

    // Refresh picks up a new index; Select All selects every row.
    TempGame::Write(o.game.Path("\\Cache\\cache.ini"), "[Cache]\r\n" + K3 + "=Foo.U\r\n" + K1 + "=DM-Test.ut2\r\n");
    p.Click(IDC_CMDREFRESH);
    EXPECT_EQ(p.Rows(), (std::vector<std::string>{"Foo.U", "DM-Test.ut2"}));
    p.Click(IDC_CMDSELALL);
    EXPECT_EQ(SendMessageA(p.Item(IDC_LSTCACHE), LB_GETSELCOUNT, 0, 0), 2);
    EXPECT_TRUE(o.answers.seen.empty()) << o.answers.Titles().front();
}

TEST(frmRipWin, PathBoxChecksOnLeavingAndFindRestoresTheFolder) {
    Opened o;
    WinProgram& p = o.p;
    SetFocus(p.Item(IDC_TXTPATH));
    EXPECT_EQ(p.DefaultButton(), IDC_CMDFIND);

    // A typed folder with blanks and a trailing backslash is cleaned by the deferred check.
    SetWindowTextA(p.Item(IDC_TXTPATH), ("  " + o.game.Folder() + "\\  ").c_str());
    SetFocus(p.Item(IDC_LSTCACHE));
    EXPECT_EQ(p.DefaultButton(), IDC_CMDUNCACHE);
    PumpFor(250, p.form.Window());
    EXPECT_EQ(p.Text(IDC_TXTPATH), o.game.Folder());
    EXPECT_TRUE(p.form.Core().ValidPath);
    EXPECT_TRUE(o.answers.seen.empty());

    // A wrong folder: one "Invalid path!" per departure, the text selected and the focus back.
    o.answers.Expect("Morvane", IDOK);
    SetFocus(p.Item(IDC_TXTPATH));
    SetWindowTextA(p.Item(IDC_TXTPATH), "C:\\nowhere");
    SetFocus(p.Item(IDC_CMDREFRESH));
    PumpFor(400, p.form.Window());
    EXPECT_EQ(o.answers.Titles(), (std::vector<std::string>{"Morvane: Invalid path!"}));
    EXPECT_FALSE(p.form.Core().ValidPath);
    EXPECT_EQ(GetFocus(), p.Item(IDC_TXTPATH));
    DWORD start = 0, end = 0;
    SendMessageA(p.Item(IDC_TXTPATH), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, std::string("C:\\nowhere").size());
    EXPECT_EQ(p.Rows().size(), 2u);  // the listing stays until Refresh

    // Escape and Enter in the path box both restore the registry's folder, without a check.
    p.Key(IDC_TXTPATH, VK_ESCAPE);
    EXPECT_EQ(p.Text(IDC_TXTPATH), o.game.Folder());
    EXPECT_FALSE(p.form.Core().ValidPath);
    SetWindowTextA(p.Item(IDC_TXTPATH), "typed");
    p.Key(IDC_TXTPATH, VK_RETURN);
    EXPECT_EQ(p.Text(IDC_TXTPATH), o.game.Folder());
    EXPECT_EQ(o.answers.seen.size(), 1u);
}

TEST(frmRipWin, AFailedDeletionIsReportedWithItsDescriptionOnTheClipboard) {
    Opened o;
    WinProgram& p = o.p;
    const std::string index = o.game.Index();
    HANDLE lock = CreateFileA(o.game.Cached(K1).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    o.answers.Expect("Morvane", IDYES).Expect("frmRip->cmdDelete_Click", IDOK);
    p.Click(IDC_CMDSELALL);
    p.Click(IDC_CMDDELETE);
    CloseHandle(lock);
    ASSERT_EQ(o.answers.seen.size(), 2u) << testing::PrintToString(o.answers.Titles());
    EXPECT_EQ(o.answers.seen[0].text, "Are you sure you want to permanently delete file(s)???");
    EXPECT_EQ(o.answers.seen[0].defaultButton, IDYES);
    const std::string description = Win32ErrorText(ERROR_SHARING_VIOLATION);
    EXPECT_EQ(o.answers.seen[1].text.substr(0, o.answers.seen[1].text.find("\r\nPlease")),
              "An unexpected error occurred in 'frmRip->cmdDelete_Click'!\r\n" + description);
    EXPECT_EQ(o.answers.seen[1].defaultButton, IDOK);
    EXPECT_EQ(WinProgram::ClipboardText(), description);
    EXPECT_EQ(o.game.Index(), index);  // the click ended before the index was touched
    EXPECT_TRUE(TempGame::IsFile(o.game.Cached(K1)));
}
