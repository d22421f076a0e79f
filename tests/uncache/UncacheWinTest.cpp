// Un-caching through the real main window under Wine: rows selected, the button or Enter, the real
// overwrite prompt, input box and error report answered as a user would; results read from disk.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "platform/Win32Error.h"
#include "resource.h"
#include "support/WinProgram.h"

namespace {

using Names = std::vector<std::string>;
const std::string K1 = TempGame::KeyFor(11), K2 = TempGame::KeyFor(12), K3 = TempGame::KeyFor(13);

struct Opened : OpenedGame {
    Opened() : OpenedGame({{K1, "DM-A.ut2"}, {K2, "Rock.utx"}, {K3, "Notes.txt"}}, 64) {}
};

// Code page text as UTF-16 LE after its byte-order mark, as Notepad saves "Unicode".
std::string Utf16(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : wide) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return bytes;
}

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
    EXPECT_EQ(o.answers.seen[0].defaultButton, IDYES);
    EXPECT_EQ(WinProgram::ClipboardText(), description);
    EXPECT_EQ(o.game.Index(), index);
    EXPECT_TRUE(TempGame::IsFile(o.game.Cached(K1)));
    EXPECT_FALSE(TempGame::IsFile(o.game.Path("\\Maps\\DM-A.ut2")));
    EXPECT_FALSE(TempGame::IsFile(o.game.Path("\\Textures\\Rock.utx")));  // the run ended at the failure
    EXPECT_EQ(o.p.Rows().size(), 3u);
}

TEST(UncacheWin, DeviceNamesAreRefusedAndStayCached) {
    const std::string nul = TempGame::KeyFor(14), com = TempGame::KeyFor(15);
    OpenedGame o({{nul, "NUL.ut2"}, {com, "COM1.uax"}, {K1, "DM-A.ut2"}}, 64);
    const std::string index = o.game.Index(), map = TempGame::Read(o.game.Cached(K1));
    // Listed, not looked up: a lookup under Wine finds a "file" for any device name.
    Names tree = TempGame::Tree(o.game.Folder());
    tree.erase(std::find(tree.begin(), tree.end(), "Cache\\" + K1 + "-1.uxx"));
    tree.push_back("Maps\\DM-A.ut2");
    std::sort(tree.begin(), tree.end());
    o.answers.Expect("Morvane", IDOK).Expect("Morvane", IDOK);
    o.p.Click(IDC_CHKDEL);
    o.p.Click(IDC_CMDSELALL);
    o.p.Click(IDC_CMDUNCACHE);

    const std::string refused = "\" is not un-cached: its name in cache.ini is not one that Windows allows for a file "
                                "(a device name such as NUL or COM1, a name ending in a dot or a blank, or one holding "
                                "a control character or one of < > \" | ? *). It stays in your cache.";
    EXPECT_EQ(o.answers.Titles(), (Names{"Morvane: \"NUL.ut2" + refused, "Morvane: \"COM1.uax" + refused}));
    EXPECT_EQ(TempGame::Tree(o.game.Folder()), tree);
    EXPECT_EQ(TempGame::Read(o.game.Path("\\Maps\\DM-A.ut2")), map);
    EXPECT_EQ(o.game.Index(), "[Cache]\r\n" + nul + "=NUL.ut2\r\n" + com + "=COM1.uax\r\n");
    EXPECT_EQ(o.p.Rows(), (Names{"NUL.ut2", "COM1.uax"}));
}

TEST(UncacheWin, TheIndexKeepsItsEncodingAndGetsPastAReadOnlyLeftover) {
    const std::string leftover = "\\Cache\\cache-new.ini";
    std::string ansi;
    OpenedGame o({{K1, "Caf\xE9.utx"}, {K2, "DM-A.ut2"}, {K3, "Notes.txt"}}, 64, [&](TempGame& g) {
        ansi = g.Index();
        TempGame::Write(g.Path("\\Cache\\cache.ini"), Utf16(ansi));
        TempGame::Write(g.Path(leftover), "left over");
        SetFileAttributesA(g.Path(leftover).c_str(), FILE_ATTRIBUTE_READONLY);
    });
    EXPECT_EQ(o.p.Rows(), (Names{"Caf\xE9.utx", "DM-A.ut2", "Notes.txt"}));
    const std::string cafe = TempGame::Read(o.game.Cached(K1)), line = K1 + "=Caf\xE9.utx\r\n";
    o.p.Click(IDC_CHKDEL);
    SendMessageA(o.p.Item(IDC_LSTCACHE), LB_SETSEL, TRUE, 0);
    o.p.Click(IDC_CMDUNCACHE);

    EXPECT_EQ(o.answers.Titles(), Names{});
    EXPECT_EQ(TempGame::Read(o.game.Path("\\Textures\\Caf\xE9.utx")), cafe);
    EXPECT_EQ(o.game.Index(), Utf16(ansi.erase(ansi.find(line), line.size())));
    // Read-only stops a delete even as root under Wine, as on Windows: the leftover stays as it was
    // and the rewrite went through another temporary name, which is gone again.
    EXPECT_EQ(TempGame::Read(o.game.Path(leftover)), "left over");
    Names cache{K2 + "-1.uxx", K3 + "-1.uxx", "cache-new.ini", "cache.ini"};
    std::sort(cache.begin(), cache.end());
    EXPECT_EQ(TempGame::Tree(o.game.Path("\\Cache")), cache);
    EXPECT_EQ(o.p.Rows(), (Names{"DM-A.ut2", "Notes.txt"}));
}

TEST(UncacheWin, ClosingTheWindowDuringTheOverwriteQuestionKeepsEveryFile) {
    Opened o;
    const std::string map = o.game.Path("\\Maps\\DM-A.ut2"), index = o.game.Index();
    TempGame::Write(map, "old");
    const Names tree = TempGame::Tree(o.game.Folder());
    const HWND window = o.p.form.Window();
    o.answers.Expect("Overwrite file?", 0, [window](HWND) { PostMessageA(window, WM_CLOSE, 0, 0); });
    o.p.Click(IDC_CHKDEL);
    o.p.Click(IDC_CMDSELALL);
    o.p.Click(IDC_CMDUNCACHE);
    PumpFor(100);

    // One question, answered No by the closing: Rock.utx is not copied, Notes.txt asks for no folder.
    EXPECT_EQ(o.answers.Titles(), Names{"Overwrite file?: "});
    EXPECT_EQ(o.p.form.Overwrite().Response, ResponseKeep);
    EXPECT_EQ(TempGame::Read(map), "old");
    EXPECT_EQ(TempGame::Tree(o.game.Folder()), tree);
    EXPECT_EQ(o.game.Index(), index);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(o.p.form.Window(), nullptr);
}
