// Un-caching and deletion through the real main window under Wine: rows selected, the buttons or
// Enter, the real overwrite prompt, input box and error report answered as a user would; results
// read from disk.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "platform/WideText.h"
#include "platform/Win32Error.h"
#include "resource.h"
#include "support/WinProgram.h"

namespace {

using Names = std::vector<std::string>;
const std::string K1 = TempGame::KeyFor(11), K2 = TempGame::KeyFor(12), K3 = TempGame::KeyFor(13);

const std::vector<std::pair<std::string, std::string>> Entries{{K1, "DM-A.ut2"}, {K2, "Rock.utx"}, {K3, "Notes.txt"}};

// Wine's Recycle Bin: the freedesktop trash below XDG_DATA_HOME, which the test run points into the
// build folder (on Windows it is the shell's own and has no such path).
std::string Trash() {
    wchar_t home[1024] = {};
    GetEnvironmentVariableW(L"XDG_DATA_HOME", home, 1024);
    std::string unix = Narrow(home, 1024);
    for (char& c : unix) c = c == '/' ? '\\' : c;
    return "Z:" + unix + "\\Trash\\files";
}

}  // namespace

TEST(UncacheWin, EnterUncachesTheSelectionAskingAboutAnExistingFileAndASubFolder) {
    OpenedGame o(Entries, 64);
    const std::string rock = o.game.Path("\\Textures\\Rock.utx"), bytes = TempGame::Read(o.game.Cached(K2));
    TempGame::Write(rock, "old");
    DeleteFileW(Wide(Trash() + "\\Rock.utx").c_str());  // and its record, or Wine picks another name
    DeleteFileW(Wide(Trash() + "\\..\\info\\Rock.utx.trashinfo").c_str());
    o.answers.Expect("Overwrite file?", IDC_CMDYES)
        .Expect("Enter sub-directory", IDOK, [](HWND box) { SetDlgItemTextW(box, IDC_INPUTTEXT, L"Help"); });
    o.Click(IDC_CHKDEL);
    o.Click(IDC_CMDSELALL);
    o.Key(IDC_LSTCACHE, VK_RETURN);  // the un-cache button is the default one outside the path box

    EXPECT_EQ(o.answers.Titles(), (Names{"Overwrite file?: ", "Enter sub-directory: "}));
    EXPECT_EQ(TempGame::Read(rock), bytes);
    EXPECT_EQ(TempGame::Read(Trash() + "\\Rock.utx"), "old") << "the file replaced is in the Recycle Bin";
    EXPECT_EQ(TempGame::Tree(o.game.Path("\\Help")), Names{"Notes.txt"});
    EXPECT_EQ(TempGame::Tree(o.game.Path("\\Cache")), Names{"cache.ini"});

    // A file that cannot be put in the Recycle Bin (read-only) is not overwritten: reported, and
    // both it and the cached file stay.
    TempGame::Write(o.game.Cached(K2), bytes);
    TempGame::Write(o.game.Path("\\Cache\\cache.ini"), "[Cache]\r\n" + K2 + "=Rock.utx\r\n");
    TempGame::Write(rock, "mine");
    SetFileAttributesW(Wide(rock).c_str(), FILE_ATTRIBUTE_READONLY);
    o.Click(IDC_CMDREFRESH);
    o.answers.Expect("Overwrite file?", IDC_CMDYES).Expect("frmRip->Uncache", IDYES);
    o.Click(IDC_CMDSELALL);
    o.Click(IDC_CMDUNCACHE);
    EXPECT_EQ(o.answers.seen.back().text.substr(0, 44), "An unexpected error occurred in 'frmRip->Unc");
    EXPECT_EQ(TempGame::Read(rock) + "|" + TempGame::Read(o.game.Cached(K2)), "mine|" + bytes);
    EXPECT_EQ(WindowText(o.Item(IDC_LBLSUMMARY)), "Un-cached 0 files, 1 failed.");
    SetFileAttributesW(Wide(rock).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(UncacheWin, ALockedFileIsReportedWithItsDescriptionOnTheClipboardAndClosingDuringAQuestionKeepsEveryFile) {
    OpenedGame o(Entries, 64);
    const std::string index = o.game.Index(), description = Win32ErrorText(ERROR_SHARING_VIOLATION);
    const std::string map = o.game.Path("\\Maps\\DM-A.ut2");
    TempGame::Write(map, "old");
    const Names tree = TempGame::Tree(o.game.Folder());
    // Enter on the confirmation deletes nothing: its default button is No.
    o.answers.Expect("Morvane", 0, [](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0); });
    o.Click(IDC_CMDSELALL);
    o.Click(IDC_CMDDELETE);
    EXPECT_EQ(TempGame::Tree(o.game.Folder()), tree);
    {
        const std::shared_ptr<void> lock(
            CreateFileA(o.game.Cached(K1).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), CloseHandle);
        o.answers.Expect("Morvane", IDYES).Expect("frmRip->cmdDelete_Click", IDOK);
        o.Click(IDC_CMDSELALL);
        o.Click(IDC_CMDDELETE);
    }
    // The report's text is the core's; its description, the platform's, goes to the clipboard too.
    EXPECT_EQ(o.answers.Titles(), (Names{"Morvane: Are you sure you want to permanently delete file(s)???",
                                         "Morvane: Are you sure you want to permanently delete file(s)???",
                                         "frmRip->cmdDelete_Click: An unexpected error occurred in "
                                         "'frmRip->cmdDelete_Click'!"}));
    EXPECT_EQ(o.answers.seen.at(1).defaultButton * 10 + o.answers.seen.at(2).defaultButton, IDNO * 10 + IDOK);
    EXPECT_EQ(ClipboardText(), description);

    // The window closed during the overwrite question answers it No: Rock.utx is not copied either,
    // Notes.txt asks for no folder.
    const HWND window = o.form.Window();
    o.answers.Expect("Overwrite file?", 0, [window](HWND) { PostMessageA(window, WM_CLOSE, 0, 0); });
    o.Click(IDC_CHKDEL);
    o.Click(IDC_CMDSELALL);
    o.Click(IDC_CMDUNCACHE);
    PumpFor(100);
    EXPECT_EQ(o.answers.seen.size(), 4u) << testing::PrintToString(o.answers.Titles());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(TempGame::Read(map), "old");
    EXPECT_EQ(TempGame::Tree(o.game.Folder()), tree);
    EXPECT_EQ(o.game.Index(), index);
}

// Cancel pressed while the window runs: the run stops before the next file, and the question open
// then is answered first (the window is disabled under it, so Cancel is only taken after it).
TEST(UncacheWin, CancelStopsTheRunAfterTheFileInHand) {
    OpenedGame o(Entries, 64);
    TempGame::Write(o.game.Path("\\Maps\\DM-A.ut2"), "old");
    const HWND cancel = o.Item(IDC_CMDCANCEL);
    o.answers.Expect("Overwrite file?", IDC_CMDYES, [cancel](HWND) {
        EXPECT_TRUE(IsWindowVisible(cancel)) << "Cancel shows while the run goes";
        PostMessageW(cancel, BM_CLICK, 0, 0);
    });
    o.Click(IDC_CMDSELALL);
    o.Click(IDC_CMDUNCACHE);
    EXPECT_EQ(TempGame::Read(o.game.Path("\\Maps\\DM-A.ut2")).size(), 64u) << "the file in hand is finished";
    EXPECT_TRUE(TempGame::Tree(o.game.Path("\\Textures")).empty()) << "the next one is not begun";
    EXPECT_EQ(WindowText(o.Item(IDC_LBLSUMMARY)), "Un-cached 1 file. The run was cancelled.");
    EXPECT_FALSE(IsWindowVisible(cancel));
}
