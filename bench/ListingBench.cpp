// Building the listing of a cache of 100,000 entries, 10,000 without a cached file and 10,000 whose
// files differ in letter case (LoadCache), against reading cache.ini's bytes and one listing of the
// cache folder and of each destination folder; the most heap it takes at once beside the size of
// cache.ini; and, beside it, filling a real list box with those rows.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/Rip.h"
#include "platform/WideText.h"
#include "platform/Win32FileSystem.h"
#include "platform/Win32SizeFormatter.h"

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return s;
}

// The way the main window fills its list: redraw off, reset, one string and item datum per row.
void FillList(HWND list, const std::vector<std::string>& rows) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LRESULT row = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(rows[i]).c_str()));
        SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(row), static_cast<LPARAM>(i + 2));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

int main() {
    constexpr int Entries = 100000;
    const char* const endings[] = {".ut2", ".utx", ".u",   ".uax", ".umx", ".ogg",
                                   ".usx", ".ukx", ".uvx", ".int", ".txt"};
    BenchGame game;
    const std::string index = game.Path("\\Cache\\cache.ini");
    std::string text = "[Cache]\r\n";
    std::vector<std::string> names;  // the listed ones
    std::vector<NewFile> files;
    for (int i = 1; i <= Entries; ++i) {
        const std::string key = BenchGame::KeyFor(i);
        const std::string name = "Package" + std::to_string(i) + endings[i % std::size(endings)];
        text += key + "=" + name + "\r\n";
        std::string file = key + "-1.uxx";
        if (i % 10 == 0) continue;  // no cached file
        if (i % 10 == 1) file = Lower(file);
        files.push_back({game.Path("\\Cache\\" + file), static_cast<std::uint64_t>(100 + i % 900), {}});
        names.push_back(name);
    }
    MakeFiles(game.Folder(), files);
    WriteBare(index, text);

    BenchProgram program(game.Folder(), /*keepRows=*/false, /*deleteTicked=*/false);
    Rip& rip = program.rip;
    MemoryView& view = program.view;

    // The heap of a first listing, as the window's first one: nothing of an earlier one to free.
    const std::size_t before = Heap().now;
    ResetPeak();
    rip.LoadCache();
    const std::size_t peak = Heap().peak;

    std::uint64_t seen = 0;  // keeps the floor's work from being optimised away
    const Best best = Alternate(
        7, [&] { rip.LoadCache(); },
        [&] {
            seen += ReadBare(index).size();
            // The cache folder, and each destination folder the marks look in (empty here).
            for (const char* folder : {"Cache", "System", "Maps", "Textures", "Sounds", "Music", "StaticMeshes",
                                       "Saves", "Animations"}) {
                WIN32_FIND_DATAA data;
                HANDLE find = FindFirstFileA(game.Path("\\" + std::string(folder) + "\\*").c_str(), &data);
                if (find == INVALID_HANDLE_VALUE) return;
                do seen += data.nFileSizeLow;
                while (FindNextFileA(find, &data));
                FindClose(find);
            }
        });
    const int listed = static_cast<int>(names.size());
    if (view.rowsAdded != listed || seen == 0) {
        std::printf("listing: expected %d rows, got %d\n", listed, view.rowsAdded);
        return 1;
    }
    PrintRatio("listing: LoadCache " + std::to_string(Entries) + " entries, " + std::to_string(Entries / 10) +
                   " missing, " + std::to_string(Entries / 10) + " in other letter case",
               "bare read + one listing of the cache and of each destination folder", best, 1.3);
    PrintPeak("listing: heap of LoadCache", before, peak, "cache.ini", text.size(), 4);

    HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOTIFY, 0, 0, 400,
                                600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    double fill = 1e300;
    for (int i = 0; i < 3; ++i) fill = std::min(fill, TimeMs([&] { FillList(list, names); }));
    const LRESULT rows = SendMessageW(list, LB_GETCOUNT, 0, 0);
    DestroyWindow(list);
    std::printf("listing: list box fill %ld rows, redraw off: %.1f ms\n", static_cast<long>(rows), fill);
    return rows == listed ? 0 : 1;
}
