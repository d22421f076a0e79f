// The real fixer window under Wine, opened from the main window on a temporary game folder and
// driven through its controls; its message boxes answered as a user would, results read from disk.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <memory>

#include "platform/WideText.h"
#include "platform/Win32Error.h"
#include "platform/Win32FileSystem.h"
#include "resource.h"
#include "support/WinProgram.h"

namespace {

using Names = std::vector<std::string>;
const std::string K1 = TempGame::KeyFor(41), K2 = TempGame::KeyFor(42), K3 = TempGame::KeyFor(43),
                  K4 = TempGame::KeyFor(44);

std::string Text(HWND fix, int id) { return WindowText(GetDlgItem(fix, id)); }
void Press(HWND fix, int id) { SendDlgItemMessageA(fix, id, BM_CLICK, 0, 0); }

Names Rows(HWND fix, int id) { return ListRows(GetDlgItem(fix, id)); }

// The rows of cmbHex's drop-down list.
Names ComboRows(HWND fix) {
    Names rows(static_cast<std::size_t>(SendDlgItemMessageW(fix, IDC_FIX_CMBHEX, CB_GETCOUNT, 0, 0)));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        wchar_t row[512] = {};
        SendDlgItemMessageW(fix, IDC_FIX_CMBHEX, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(row));
        rows[i] = Narrow(row, 512);
    }
    return rows;
}

// Selects the row showing `text`, with the notification a click sends.
void Choose(HWND fix, int id, const std::string& text) {
    const bool combo = id == IDC_FIX_CMBHEX;
    const LRESULT row = SendDlgItemMessageW(fix, id, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT,
                                            static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(Wide(text).c_str()));
    SendDlgItemMessageA(fix, id, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageA(fix, WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(fix, id)));
}

// "text on ground/brush" of each list, COLORREFs (blue, green, red) in hexadecimal.
std::string Colours(HWND fix) {
    std::string all;
    for (int id : {IDC_FIX_LSTOK, IDC_FIX_LSTCACHE, IDC_FIX_LSTFILES}) {
        HDC dc = CreateCompatibleDC(nullptr);
        const auto brush = reinterpret_cast<HBRUSH>(SendMessageA(fix, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                                                 reinterpret_cast<LPARAM>(GetDlgItem(fix, id))));
        LOGBRUSH ground{};
        GetObjectA(brush, sizeof ground, &ground);
        char text[64];
        std::snprintf(text, sizeof text, "%06lx on %06lx/%06lx ", GetTextColor(dc), GetBkColor(dc), ground.lbColor);
        DeleteDC(dc);
        all += text;
    }
    return all;
}

}  // namespace

TEST(frmFixWin, ShowsTheScanRepairsTheIndexAndTheFolderAndClosesWithTheMainWindow) {
    // An index in UTF-16: the rewrites keep its encoding.
    OpenedGame o({{K1, "DM-Lake.ut2"}, {K2, "Lost.utx"}, {K3, "C.u"}}, 1536, [](TempGame& g) {
        TempGame::Write(g.Path("\\Cache\\cache.ini"), TempGame::Utf16(g.Index()));
        DeleteFileA(g.Cached(K2).c_str());
        TempGame::Write(g.Cached(K4), std::string(1536, 's'));  // no line names it
        const FILETIME time{0x696BA480, 0x01DA6F06};  // 5 March 2024, 14:07:09 UTC
        const std::shared_ptr<void> file(CreateFileA(g.Cached(K4).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                                     OPEN_EXISTING, 0, nullptr), CloseHandle);
        SetFileTime(file.get(), nullptr, nullptr, &time);
    });
    const HWND main = o.form.Window();
    const std::string stray = K4 + "-1.uxx";
    o.answers.Expect("Morvane file fixer", 0, [&](HWND fix) {
        EXPECT_EQ(GetWindow(fix, GW_OWNER), main);
        EXPECT_EQ(Look(fix), "Morvane file fixer|Morvane file fixer|OK files|Referenced in cache.ini and  in "
                             "UT2003\\Cache|Problem files|Only referenced in cache.ini :|In UT2003\\Cache folder, but "
                             "not in cache.ini|File info / Fix|&Physical file (Hex code in cache.ini) :|Real &filename "
                             ":|Size :|Last modified :|&Delete file|Delete cache.ini &reference|&Save OK file !|Found "
                             "problem files :  1 unreferenced files and 1 references to unexisting files|Refresh &All");
        EXPECT_EQ(GetWindowLongA(GetDlgItem(fix, IDC_FIX_CMBHEX), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
        EXPECT_FALSE(IsWindowEnabled(main)) << "modal";
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(fix, IDC_FIX_CMDDELHEX))) << "until a file is chosen";
        EXPECT_EQ(Colours(fix), "3e9e03 on f3fff3/f3fff3 0000ff on f3f3ff/f3f3ff 0000ff on f3f3ff/f3f3ff ");
        EXPECT_EQ(Rows(fix, IDC_FIX_LSTOK), (Names{"DM-Lake.ut2", "C.u"}));
        EXPECT_EQ(Rows(fix, IDC_FIX_LSTCACHE), Names{"Lost.utx"});
        EXPECT_EQ(Rows(fix, IDC_FIX_LSTFILES), Names{stray});

        // The stray file is bound to a typed name; the missing file's line goes.
        Choose(fix, IDC_FIX_LSTFILES, stray);
        EXPECT_EQ(Text(fix, IDC_FIX_LBLSIZE) + " | " + Text(fix, IDC_FIX_LBLMODIF),
                  "1.50 KB (1536 bytes) | 3/5/2024 2:07:09 PM");
        SetDlgItemTextW(fix, IDC_FIX_TXTFILENAME, L"DM-Stray.ut2");
        Press(fix, IDC_FIX_CMDDELCACHE);  // refused: its box closing rescans nothing, the choice stays
        Press(fix, IDC_FIX_CMDSAVE);
        Choose(fix, IDC_FIX_LSTCACHE, "Lost.utx");
        Press(fix, IDC_FIX_CMDDELCACHE);
        EXPECT_EQ(o.game.Index(), TempGame::Utf16("[Cache]\r\n" + K1 + "=DM-Lake.ut2\r\n" + K3 + "=C.u\r\n" + K4 +
                                                  "=DM-Stray.ut2\r\n"));
        // A file held open is not deleted, and the box says why (deleting is the core's, and the platform's).
        Choose(fix, IDC_FIX_CMBHEX, K3 + "-1.uxx");
        {
            const std::shared_ptr<void> held(CreateFileA(o.game.Cached(K3).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                         nullptr, OPEN_EXISTING, 0, nullptr), CloseHandle);
            Press(fix, IDC_FIX_CMDDELHEX);
        }
        EXPECT_EQ(TempGame::Read(o.game.Cached(K3)).size(), 1536u);
        PostMessageA(fix, WM_CLOSE, 0, 0);
    });
    o.answers.Expect("Invalid filename!", IDOK).Expect("Lost.utx", IDYES).Expect("Confirm file deletion", IDYES);
    o.answers.Expect("Morvane", IDOK);
    o.Menu(IDM_FIX);

    ASSERT_EQ(o.answers.seen.size(), 5u) << testing::PrintToString(o.answers.Titles());
    EXPECT_EQ(o.answers.seen.at(4).text, "Morvane could not delete \"" + o.game.Cached(K3) + "\":\r\n" +
                                             Win32ErrorText(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(o.form.Fixer().Window(), nullptr) << "unloaded when closed";
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(o.Rows(), (Names{"DM-Lake.ut2", "C.u", "DM-Stray.ut2"})) << "the main window lists its cache again";

    // The main window closed (from the task bar) while the fixer is open: both go, nothing is listed.
    o.answers.Expect("Morvane file fixer", 0, [main](HWND) { PostMessageA(main, WM_CLOSE, 0, 0); });
    o.Menu(IDM_FIX);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(o.answers.seen.size(), 6u) << testing::PrintToString(o.answers.Titles());
}

// In a game folder whose name is beyond the code page, the fixer deletes exactly the stray file it
// shows: never cache.ini for "cache.ini.", never the valid package for its name with a final blank
// or for a look-alike whose first letter the code page lacks; the listing counts no look-alike for
// an entry whose own file is missing; and un-caching there puts each file under its exact name.
TEST(frmFixWin, DeletesExactlyTheStrayFileItShowsInAFolderOfAnyName) {
    const std::string valid = "AAAA" + K1.substr(4), missing = "AAAB" + K1.substr(4), a = "\xC4\x80";  // "Ā"
    const std::string map = "DM-\xD0\x96" "ar.ut2";  // "DM-Жar.ut2"
    const std::vector<std::string> strays = {"cache.ini.", K2 + "-1.uxx ", a + valid.substr(1) + "-1.uxx",
                                             a + missing.substr(1) + "-1.uxx"};
    OpenedGame o({{valid, map}, {K2, "Rock.utx"}, {missing, "Gone.ut2"}}, 100, [&](TempGame& g) {
        TempGame::Write(g.Path("\\Cache\\cache.ini"), TempGame::Utf16(g.Index()));
        DeleteFileW(Wide("\\\\?\\" + g.Cached(missing)).c_str());
        Win32FileSystem exact;  // a plain write would trim the final dot: "cache.ini." would be cache.ini
        for (const std::string& stray : strays) exact.WriteNew(g.Path("\\Cache\\") + stray, "stray");
    }, "\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B UT2003");  // "Игры UT2003"
    const std::string index = o.game.Index();
    EXPECT_EQ(o.Rows(), (Names{map, "Rock.utx"})) << "Gone.ut2's look-alike is not its file";
    EXPECT_EQ(WindowText(o.Item(IDC_LBLMB)), "Cache size:  200 bytes / 2 files  =  100 bytes / file");

    o.answers.Expect("Morvane file fixer", 0, [&](HWND fix) {
        for (const std::string& stray : strays) {
            SCOPED_TRACE(stray);
            Choose(fix, IDC_FIX_CMBHEX, stray);
            EXPECT_EQ(Text(fix, IDC_FIX_LBLSIZE), "5 bytes (5 bytes)") << "the stray's own size";
            Press(fix, IDC_FIX_CMDDELHEX);
        }
        EXPECT_EQ(ComboRows(fix), (Names{K2 + "-1.uxx", valid + "-1.uxx"}));
        PostMessageW(fix, WM_CLOSE, 0, 0);
    });
    for (std::size_t i = 0; i < strays.size(); ++i) o.answers.Expect("Confirm file deletion", IDYES);
    o.Menu(IDM_FIX);
    EXPECT_EQ(o.answers.seen.size(), 5u) << testing::PrintToString(o.answers.Titles());
    EXPECT_EQ(o.game.Index(), index) << "cache.ini itself is never deleted";
    EXPECT_EQ(TempGame::Tree(o.game.Path("\\Cache")), (Names{K2 + "-1.uxx", valid + "-1.uxx", "cache.ini"}));

    o.Click(IDC_CHKDEL);
    o.Click(IDC_CMDSELALL);
    o.Click(IDC_CMDUNCACHE);
    EXPECT_EQ(TempGame::Tree(o.game.Path("\\Maps")), Names{map});
    EXPECT_EQ(TempGame::Read(o.game.Path("\\Maps\\") + map).size(), 100u);
    EXPECT_EQ(TempGame::Tree(o.game.Path("\\Textures")), Names{"Rock.utx"});
    EXPECT_EQ(o.game.Index(), TempGame::Utf16("[Cache]\r\n" + missing + "=Gone.ut2\r\n"));
    EXPECT_EQ(WindowText(o.Item(IDC_LBLSUMMARY)), "Un-cached 2 files (2 moved).");
}
