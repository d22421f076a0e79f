// Un-caching through the real main window under Wine: rows selected, the button or Enter, the real
// overwrite prompt, input box and error report answered as a user would; results read from disk.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "platform/Win32Error.h"
#include "resource.h"
#include "support/WinProgram.h"

namespace {

using Names = std::vector<std::string>;
const std::string K1 = TempGame::KeyFor(11), K2 = TempGame::KeyFor(12), K3 = TempGame::KeyFor(13);

struct Opened : OpenedGame {
    Opened() : OpenedGame({{K1, "DM-A.ut2"}, {K2, "Rock.utx"}, {K3, "Notes.txt"}}, 64) {}
};

}  // namespace

TEST(UncacheWin, EnterUncachesTheSelectionAndTheIndexKeepsItsEncodingPastAReadOnlyLeftover) {
    const std::string nul = TempGame::KeyFor(14), cafe = "\\Textures\\Caf\xE9.utx", leftover = "\\Cache\\cache-new.ini";
    OpenedGame o({{K1, "DM-A.ut2"}, {K2, "Caf\xE9.utx"}, {K3, "Notes.txt"}, {nul, "NUL.ut2"}}, 64, [&](TempGame& g) {
        TempGame::Write(g.Path("\\Cache\\cache.ini"), TempGame::Utf16(g.Index()));
        TempGame::Write(g.Path(cafe), "old");
        TempGame::Write(g.Path(leftover), "left over");
        SetFileAttributesA(g.Path(leftover).c_str(), FILE_ATTRIBUTE_READONLY);
    });
    EXPECT_EQ(o.Rows(), (Names{"DM-A.ut2", "Caf\xE9.utx", "Notes.txt", "NUL.ut2"}));
    const std::string bytes = TempGame::Read(o.game.Cached(K2));
    o.answers.Expect("Overwrite file?", IDC_CMDYES)
        .Expect("Enter sub-directory", IDOK, [](HWND box) { SetDlgItemTextA(box, IDC_INPUTTEXT, "Help"); })
        .Expect("Morvane", IDOK);
    o.Click(IDC_CHKDEL);
    o.Click(IDC_CMDSELALL);
    o.Key(IDC_LSTCACHE, VK_RETURN);  // the un-cache button is the default one outside the path box

    ASSERT_TRUE(o.answers.AllAnswered()) << testing::PrintToString(o.answers.Titles());
    // A lookup under Wine finds a "file" for any device name: NUL.ut2 must be refused, never copied.
    const std::string refused = "Morvane: \"NUL.ut2\" is not un-cached: its name in cache.ini is not one that Windows";
    EXPECT_EQ(o.answers.Titles().back().substr(0, refused.size()), refused);
    EXPECT_EQ(TempGame::Read(o.game.Path(cafe)), bytes);
    EXPECT_EQ(TempGame::Tree(o.game.Path("\\Maps")), Names{"DM-A.ut2"});
    EXPECT_TRUE(TempGame::IsFile(o.game.Path("\\Help\\Notes.txt")));
    // Read-only stops a delete even as root under Wine, as on Windows: the leftover stays as it was
    // and the rewrite went through another temporary name, which is gone again.
    EXPECT_EQ(TempGame::Tree(o.game.Path("\\Cache")), (Names{nul + "-1.uxx", "cache-new.ini", "cache.ini"}));
    EXPECT_EQ(TempGame::Read(o.game.Path(leftover)), "left over");
    EXPECT_EQ(o.game.Index(), TempGame::Utf16("[Cache]\r\n" + nul + "=NUL.ut2\r\n"));
    EXPECT_EQ(o.Rows(), Names{"NUL.ut2"});
}

TEST(UncacheWin, ALockedCachedFileIsReportedByDeletionAndByTheRunWithItsDescriptionOnTheClipboard) {
    Opened o;
    const std::string index = o.game.Index(), description = Win32ErrorText(ERROR_SHARING_VIOLATION);
    const Names tree = TempGame::Tree(o.game.Folder());
    const std::shared_ptr<void> lock(
        CreateFileA(o.game.Cached(K1).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), CloseHandle);
    o.answers.Expect("Morvane", IDYES).Expect("frmRip->cmdDelete_Click", IDOK).Expect("frmRip->Uncache", IDNO);
    o.Click(IDC_CMDSELALL);
    o.Click(IDC_CMDDELETE);
    o.Click(IDC_CHKDEL);
    o.Click(IDC_CMDUNCACHE);

    ASSERT_EQ(o.answers.seen.size(), 3u) << testing::PrintToString(o.answers.Titles());
    std::string reports;  // each report's first two lines and its default button
    for (const auto& seen : o.answers.seen)
        reports += seen.text.substr(0, seen.text.find("\r\nPlease")) + "|" + std::to_string(seen.defaultButton) + "|";
    EXPECT_EQ(reports, "Are you sure you want to permanently delete file(s)???|6|An unexpected error occurred in "
                       "'frmRip->cmdDelete_Click'!\r\n" + description + "|1|An unexpected error occurred in "
                       "'frmRip->Uncache'!\r\n" + description + "|6|");
    EXPECT_EQ(ClipboardText(), description);
    // Deletion ended before the index was touched, the run at the failure.
    EXPECT_EQ(o.game.Index(), index);
    EXPECT_EQ(TempGame::Tree(o.game.Folder()), tree);
}

TEST(UncacheWin, ClosingTheWindowDuringTheOverwriteQuestionKeepsEveryFile) {
    Opened o;
    const std::string map = o.game.Path("\\Maps\\DM-A.ut2"), index = o.game.Index();
    TempGame::Write(map, "old");
    const Names tree = TempGame::Tree(o.game.Folder());
    const HWND window = o.form.Window();
    o.answers.Expect("Overwrite file?", 0, [window](HWND) { PostMessageA(window, WM_CLOSE, 0, 0); });
    o.Click(IDC_CHKDEL);
    o.Click(IDC_CMDSELALL);
    o.Click(IDC_CMDUNCACHE);
    PumpFor(100);

    // One question, answered No by the closing: Rock.utx is not copied, Notes.txt asks for no folder.
    EXPECT_EQ(o.answers.Titles(), Names{"Overwrite file?: "});
    EXPECT_EQ(o.form.Overwrite().Response, ResponseKeep);
    EXPECT_EQ(TempGame::Read(map), "old");
    EXPECT_EQ(TempGame::Tree(o.game.Folder()), tree);
    EXPECT_EQ(o.game.Index(), index);
    EXPECT_FALSE(IsWindow(window));
}
