// Un-caching and deletion through the real main window under Wine: rows selected, the buttons or
// Enter, the real overwrite prompt, input box and error report answered as a user would; results
// read from disk.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <memory>
#include <thread>
#include <type_traits>

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
        Sleep(25);  // a run takes the window's messages every 20 ms
    });
    o.Click(IDC_CMDSELALL);
    o.Click(IDC_CMDUNCACHE);
    EXPECT_EQ(TempGame::Read(o.game.Path("\\Maps\\DM-A.ut2")).size(), 64u) << "the file in hand is finished";
    EXPECT_TRUE(TempGame::Tree(o.game.Path("\\Textures")).empty()) << "the next one is not begun";
    EXPECT_EQ(WindowText(o.Item(IDC_LBLSUMMARY)), "Un-cached 1 file. The run was cancelled.");
    EXPECT_FALSE(IsWindowVisible(cancel));
}

// A window of this thread whose every message takes 110 ms. A watcher's messages to it hold up
// the copy that handles them, so that the window is seen answering part way through the copy
// however fast the disk is.
static LRESULT CALLBACK Slow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_APP) return DefWindowProcW(window, message, wParam, lParam);
    Sleep(110);
    return 1;
}

// A run with a large copy in it: the window answers another thread's messages part way through the
// copy, its bar moves, and Cancel then undoes the copy in hand: the file before it stays
// un-cached, the large one and the next stay in the cache only.
TEST(UncacheWin, TheWindowAnswersDuringALargeCopyAndCancelUndoesIt) {
    const std::string big = TempGame::KeyFor(21);
    OpenedGame o({{K1, "DM-A.ut2"}, {big, "DM-Big.ut2"}, {K2, "Rock.utx"}}, 64);
    const std::string cached = o.game.Cached(big), copy = o.game.Path("\\Maps\\DM-Big.ut2");
    const LONGLONG size = 1LL << 30;  // a gibibyte, sparse on disk: "HEAD", zeros, "TAIL"
    {
        const std::shared_ptr<void> file(CreateFileA(cached.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                                     nullptr), CloseHandle);
        DWORD put = 0;
        WriteFile(file.get(), "HEAD", 4, &put, nullptr);
        SetFilePointerEx(file.get(), LARGE_INTEGER{{static_cast<DWORD>(size - 4), 0}}, nullptr, FILE_BEGIN);
        WriteFile(file.get(), "TAIL", 4, &put, nullptr);
    }
    const auto ends = [&] {
        const std::string start = o.files.ReadStart(cached, 4);
        const std::shared_ptr<void> file(CreateFileA(cached.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                     OPEN_EXISTING, 0, nullptr), CloseHandle);
        char tail[5] = {};
        DWORD got = 0;
        SetFilePointerEx(file.get(), LARGE_INTEGER{{static_cast<DWORD>(size - 4), 0}}, nullptr, FILE_BEGIN);
        ReadFile(file.get(), tail, 4, &got, nullptr);
        return start + tail + " " + std::to_string(o.files.SizeOf(cached));
    };
    ASSERT_EQ(ends(), "HEADTAIL 1073741824");
    const HWND bar = o.Item(IDC_PRGRUN), label = o.Item(IDC_LBLSUMMARY), cancel = o.Item(IDC_CMDCANCEL);
    const std::shared_ptr<std::remove_pointer_t<HWND>> slow(
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr), DestroyWindow);
    SetWindowLongPtrW(slow.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Slow));

    std::vector<LRESULT> positions;  // the bar's, as another thread asks for it during the copy
    std::string text;                // the progress line then
    ULONGLONG copiedThen = 0;        // the copy's size when the window had answered
    std::atomic<bool> watched{false};
    std::thread watcher([&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        for (int waited = 0; waited < 20000 && !GetFileAttributesExA(copy.c_str(), GetFileExInfoStandard, &data);
             ++waited)
            Sleep(1);
        DWORD_PTR answer = 0;
        while (positions.size() < 20 && (positions.size() < 2 || positions.front() == positions.back()) &&
               SendMessageTimeoutW(slow.get(), WM_APP, 0, 0, SMTO_NORMAL, 5000, &answer) != 0 &&
               SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 5000, &answer) != 0)
            positions.push_back(static_cast<LRESULT>(answer));
        text = WindowText(label);
        if (GetFileAttributesExA(copy.c_str(), GetFileExInfoStandard, &data))
            copiedThen = (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
        PostMessageW(cancel, BM_CLICK, 0, 0);
        watched = true;
    });
    o.Click(IDC_CMDSELALL);
    o.Click(IDC_CMDUNCACHE);
    while (!watched) PumpFor(10);
    watcher.join();

    ASSERT_GE(positions.size(), 2u);
    EXPECT_LT(positions.front(), positions.back()) << "the bar moves during the copy";
    EXPECT_EQ(text.substr(0, 46), "Un-caching: 1 of 3 files; copying DM-Big.ut2, ");
    EXPECT_NE(text.find(" of 1.00 GB"), std::string::npos) << text;
    EXPECT_GT(copiedThen, 0u);
    EXPECT_LT(copiedThen, static_cast<ULONGLONG>(size)) << "the window answered while the copy went on";
    EXPECT_EQ(GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES) << "the copy in hand is undone";
    EXPECT_EQ(ends(), "HEADTAIL 1073741824") << "its cached file is untouched";
    EXPECT_EQ(TempGame::Read(o.game.Path("\\Maps\\DM-A.ut2")).size(), 64u);
    EXPECT_TRUE(TempGame::Tree(o.game.Path("\\Textures")).empty()) << "the next one is not begun";
    EXPECT_EQ(WindowText(label), "Un-cached 1 file. The run was cancelled.");
    EXPECT_FALSE(IsWindowVisible(bar));
}
