// Un-caching through the real main window under Wine: rows selected, the button or Enter, the real
// overwrite prompt, input box and error report answered as a user would; results read from disk.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/Win32Error.h"
#include "resource.h"
#include "support/WinProgram.h"

namespace {

const std::string K1 = TempGame::KeyFor(11), K2 = TempGame::KeyFor(12), K3 = TempGame::KeyFor(13);

struct Opened : OpenedGame {
    Opened() : OpenedGame({{K1, "DM-A.ut2"}, {K2, "Rock.utx"}, {K3, "Notes.txt"}}, 64) {}
};

}  // namespace

TEST(UncacheWin, EnterUncachesTheSelectionIntoTheGameFolders) {
    Opened o;
    const std::string rock = TempGame::Read(o.game.Cached(K2));
    TempGame::Write(o.game.Path("\\Textures\\Rock.utx"), "old");
    std::string fileLabel;
    o.answers
        .Expect("Overwrite file?", IDC_CMDYES,
                [&](HWND box) { fileLabel = WinProgram::TextOf(GetDlgItem(box, IDC_LBLFILE)); })
        .Expect("Enter sub-directory", IDOK, [](HWND box) { SetDlgItemTextA(box, IDC_INPUTTEXT, "Help"); });
    o.p.Click(IDC_CHKDEL);
    o.p.Click(IDC_CMDSELALL);
    o.p.Key(IDC_LSTCACHE, VK_RETURN);  // the un-cache button is the default one outside the path box

    EXPECT_TRUE(o.answers.AllAnswered()) << o.answers.seen.size();
    EXPECT_EQ(fileLabel, o.game.Path("\\Textures\\Rock.utx"));
    EXPECT_EQ(TempGame::Read(o.game.Path("\\Textures\\Rock.utx")), rock);
    EXPECT_TRUE(TempGame::IsFile(o.game.Path("\\Maps\\DM-A.ut2")));
    EXPECT_TRUE(TempGame::IsFile(o.game.Path("\\Help\\Notes.txt")));
    for (const std::string& k : {K1, K2, K3}) EXPECT_FALSE(TempGame::IsFile(o.game.Cached(k))) << k;
    EXPECT_EQ(o.game.Index(), "[Cache]\r\n");
    EXPECT_TRUE(o.p.Rows().empty());
    EXPECT_FALSE(IsWindowVisible(o.p.form.Overwrite().Window()));
}

TEST(UncacheWin, NoToAFailedCopyEndsTheRunWithTheIndexUntouched) {
    Opened o;
    const std::string index = o.game.Index();
    HANDLE lock = CreateFileA(o.game.Cached(K1).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    o.answers.Expect("frmRip->Uncache", IDNO);
    o.p.Click(IDC_CHKDEL);
    SendMessageA(o.p.Item(IDC_LSTCACHE), LB_SETSEL, TRUE, 0);
    SendMessageA(o.p.Item(IDC_LSTCACHE), LB_SETSEL, TRUE, 1);
    o.p.Click(IDC_CMDUNCACHE);
    CloseHandle(lock);

    ASSERT_EQ(o.answers.seen.size(), 1u);
    const std::string& text = o.answers.seen[0].text;
    const std::string description = Win32ErrorText(ERROR_SHARING_VIOLATION);
    EXPECT_EQ(text.substr(0, text.find("\r\nPlease")),
              "An unexpected error occurred in 'frmRip->Uncache'!\r\n" + description);
    EXPECT_NE(text.find("\r\n\r\nPress [Yes] if you want Morvane to continue Uncaching your files, ignoring the "
                        "error (NOT recommended)."),
              std::string::npos);
    EXPECT_EQ(o.answers.seen[0].defaultButton, IDYES);
    EXPECT_EQ(WinProgram::ClipboardText(), description);
    EXPECT_EQ(o.game.Index(), index);
    EXPECT_TRUE(TempGame::IsFile(o.game.Cached(K1)));
    EXPECT_FALSE(TempGame::IsFile(o.game.Path("\\Maps\\DM-A.ut2")));
    EXPECT_FALSE(TempGame::IsFile(o.game.Path("\\Textures\\Rock.utx")));  // the run ended at the failure
    EXPECT_EQ(o.p.Rows().size(), 3u);
}
