// Building the listing of a cache of 20,000 entries (LoadCache), against reading cache.ini's bytes
// and one size query per cached file; and, beside it, filling a real list box with those rows.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/Rip.h"
#include "platform/Win32FileSystem.h"
#include "platform/Win32SizeFormatter.h"

namespace {

// The way the main window fills its list: redraw off, reset, one string and item datum per row.
void FillList(HWND list, const std::vector<std::string>& rows) {
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LRESULT row = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rows[i].c_str()));
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(row), static_cast<LPARAM>(i + 2));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

int main() {
    constexpr int Entries = 20000;
    const char* const endings[] = {".ut2", ".utx", ".u",   ".uax", ".umx", ".ogg",
                                   ".usx", ".ukx", ".uvx", ".int", ".txt"};
    BenchGame game;
    const std::string index = game.Path("\\Cache\\cache.ini");
    std::string text = "[Cache]\r\n";
    std::vector<std::string> cachedFiles, names;
    for (int i = 1; i <= Entries; ++i) {
        const std::string key = BenchGame::KeyFor(i);
        names.push_back("Package" + std::to_string(i) + endings[i % std::size(endings)]);
        text += key + "=" + names.back() + "\r\n";
        cachedFiles.push_back(game.Path("\\Cache\\" + key + "-1.uxx"));
        WriteBare(cachedFiles.back(), std::string(100 + i % 900, 'x'));
    }
    WriteBare(index, text);

    BenchProgram program(game.Folder(), /*keepRows=*/false, /*deleteTicked=*/false);
    Rip& rip = program.rip;
    MemoryView& view = program.view;

    std::uint64_t seen = 0;  // keeps the floor's work from being optimised away
    const Best best = Alternate(
        7, [&] { rip.LoadCache(); },
        [&] {
            seen += ReadBare(index).size();
            WIN32_FILE_ATTRIBUTE_DATA data;
            for (const std::string& path : cachedFiles) {
                if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) seen += data.nFileSizeLow;
            }
        });
    if (view.rowsAdded != Entries || seen == 0) {
        std::printf("listing: expected %d rows, got %d\n", Entries, view.rowsAdded);
        return 1;
    }
    PrintRatio("listing: LoadCache " + std::to_string(Entries) + " entries",
               "bare read + " + std::to_string(Entries) + " size queries", best, 1.3);

    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOTIFY, 0, 0, 400,
                                600, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    double fill = 1e300;
    for (int i = 0; i < 5; ++i) fill = std::min(fill, TimeMs([&] { FillList(list, names); }));
    const LRESULT rows = SendMessageA(list, LB_GETCOUNT, 0, 0);
    DestroyWindow(list);
    std::printf("listing: list box fill %ld rows, redraw off: %.1f ms\n", static_cast<long>(rows), fill);
    return rows == Entries ? 0 : 1;
}
