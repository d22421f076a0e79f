// The fixer's scan (RefreshLists) of a cache.ini of 20,000 entries against a cache folder of 20,000
// files, against the bare disk work of the same scan: reading cache.ini's bytes and one listing of
// the folder. Beside it, filling real list boxes and a drop-down list with the scan's rows.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "BenchSupport.h"
#include "fixer/Fix.h"
#include "fixer/FixerHost.h"
#include "platform/WideText.h"
#include "platform/Win32DateFormatter.h"

namespace {

class BenchHost final : public FixerHost {
public:
    explicit BenchHost(std::string folder) : folder_(std::move(folder)) {}
    bool IsPathValid() override { return true; }
    std::string GameFolder() override { return folder_; }
    void LoadCache() override {}

private:
    std::string folder_;
};

// The window without a window: rows are counted, or kept to be put into real controls after.
class MemoryFixView final : public FixView {
public:
    bool keepRows = false;
    std::array<std::size_t, 4> counts{};
    std::array<std::vector<std::string>, 4> rows;
    void BeginRows() override {
        counts.fill(0);
        for (auto& r : rows) r.clear();
    }
    void AddRow(FixList list, std::string_view text) override {
        ++counts[static_cast<std::size_t>(list)];
        if (keepRows) rows[static_cast<std::size_t>(list)].emplace_back(text);
    }
    void EndRows() override {}
    int SelectedRow(FixList) override { return -1; }
    void SelectRow(FixList, int) override {}
    std::string FilenameText() override { return {}; }
    void SetFilenameText(std::string_view) override {}
    void SetLabel(FixLabel, std::string_view) override {}
    void EnableDelHex(bool) override {}
};

std::size_t ListBare(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        names.emplace_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names.size();
}

// As the window fills its lists: redraw off, reset, one string per row, redraw on.
void Fill(HWND control, bool combo, const std::vector<std::string>& rows) {
    SendMessageW(control, WM_SETREDRAW, FALSE, 0);
    SendMessageW(control, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    for (const std::string& row : rows)
        SendMessageW(control, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(row).c_str()));
    SendMessageW(control, WM_SETREDRAW, TRUE, 0);
}

}  // namespace

int main() {
    // 19,000 entries with their file, 1,000 without, and 1,000 files that no entry names.
    constexpr int Entries = 20000, Missing = 1000;
    BenchGame game;
    const std::string index = game.Path("\\Cache\\cache.ini");
    std::string text = "[Cache]\r\n";
    std::vector<NewFile> cached;
    for (int i = 1; i <= Entries + Missing; ++i) {
        if (i <= Entries) text += BenchGame::KeyFor(i) + "=Package" + std::to_string(i) + ".utx\r\n";
        if (i <= Entries - Missing || i > Entries)
            cached.push_back({game.Path("\\Cache\\" + BenchGame::KeyFor(i) + "-1.uxx"), 1, {}});
    }
    MakeFiles(game.Folder(), cached);
    WriteBare(index, text);

    Win32FileSystem files;
    QuietPrompts prompts;
    QuietClipboard clipboard;
    Win32SizeFormatter sizes;
    Win32DateFormatter dates;
    Win32CodePage codePage;
    BenchHost host(game.Folder());
    MemoryFixView view;
    Fix fix(view, host, FixPorts{files, prompts, clipboard, sizes, dates, codePage});

    std::size_t seen = 0;  // keeps the floor's work from being optimised away
    const Best best = Alternate(
        7, [&] { fix.RefreshLists(); },
        [&] { seen += ReadBare(index).size() + ListBare(game.Path("\\Cache\\*")); });
    const auto count = [&](FixList list) { return view.counts[static_cast<std::size_t>(list)]; };
    if (count(FixList::OK) != Entries - Missing || count(FixList::Cache) != Missing ||
        count(FixList::Files) != Missing || count(FixList::Hex) != Entries || seen == 0) {
        std::printf("fixer: unexpected rows %zu ok, %zu missing, %zu unreferenced, %zu physical\n", count(FixList::OK),
                    count(FixList::Cache), count(FixList::Files), count(FixList::Hex));
        return 1;
    }
    PrintRatio("fixer: RefreshLists " + std::to_string(Entries) + " entries, " + std::to_string(Entries) + " files",
               "bare read + one listing", best, 1.5);

    view.keepRows = true;
    fix.RefreshLists();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    std::vector<HWND> controls;
    for (const wchar_t* kind : {L"LISTBOX", L"LISTBOX", L"LISTBOX", L"COMBOBOX"}) {
        const DWORD style = WS_POPUP | WS_VSCROLL | (kind[0] == L'C' ? CBS_DROPDOWNLIST : LBS_NOTIFY);
        controls.push_back(CreateWindowExW(0, kind, L"", style, 0, 0, 300, 400, nullptr, nullptr, instance, nullptr));
    }
    double fill = 1e300;
    for (int round = 0; round < 3; ++round) {
        fill = std::min(fill, TimeMs([&] {
            for (std::size_t i = 0; i < controls.size(); ++i) Fill(controls[i], i == 3, view.rows[i]);
        }));
    }
    std::printf("fixer: filling the three lists and the drop-down list (%zu rows), redraw off: %.1f ms\n",
                count(FixList::OK) + count(FixList::Files) + count(FixList::Cache) + count(FixList::Hex), fill);
    for (HWND control : controls) DestroyWindow(control);
    return 0;
}
