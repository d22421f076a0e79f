// "Remove selected" of 10,000 cached files of 1 KB, every row selected, started with its button in
// the main window shown on the display, its question answered Yes and its progress drawn, against
// a bare loop of DeleteFileA over the same files and one writing of the index that remains; then
// the same with the window hidden, which draws no progress, to show the progress's share.
#include <windows.h>

#include <cstdio>
#include <string>
#include <unordered_set>
#include <vector>

#include "BenchSupport.h"
#include "BenchWindow.h"
#include "resource.h"

namespace {

constexpr int Files = 10000;
const char Question[] = "Are you sure you want to permanently delete file(s)???";

// What is wrong with the cache folder after a removal, or nothing: it holds cache.ini alone, and
// cache.ini no line of a removed file.
std::string CheckCache(const BenchGame& game, const std::unordered_set<std::string>& removedKeys) {
    int others = 0;
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA(game.Path("\\Cache\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return "the cache folder cannot be listed";
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != ".." && lstrcmpiA(name.c_str(), "cache.ini") != 0) ++others;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    if (others != 0) return std::to_string(others) + " files beside cache.ini in the cache folder";
    const std::string index = ReadBare(game.Path("\\Cache\\cache.ini"));
    int kept = 0;
    for (std::size_t start = 0; start < index.size();) {
        std::size_t end = index.find('\n', start);
        if (end == std::string::npos) end = index.size();
        const std::string line = index.substr(start, end - start);
        if (removedKeys.count(line.substr(0, line.find('='))) != 0) ++kept;
        start = end + 1;
    }
    if (kept != 0) return "cache.ini keeps " + std::to_string(kept) + " lines of removed files";
    return {};
}

}  // namespace

int main() {
    BenchGame game;
    const std::string index = game.Path("\\Cache\\cache.ini");
    const std::string remaining = "[Cache]\r\n";
    std::string text = remaining;
    std::vector<std::string> cached;
    std::vector<NewFile> files;
    std::unordered_set<std::string> keys;
    for (int i = 1; i <= Files; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "F%05d.utx", i);
        const std::string key = BenchGame::KeyFor(i);
        text += key + "=" + name + "\r\n";
        keys.insert(key);
        cached.push_back(game.Path("\\Cache\\" + key + "-1.uxx"));
        files.push_back({cached.back(), 1024, {}});
    }
    // The cache as it was before a run: every file and line back, listed, every row selected.
    const auto refill = [&] {
        MakeFiles(game.Folder(), files);
        WriteBare(index, text);
    };
    refill();
    BenchWindow window(game.Folder());
    window.answers.yes = true;

    std::string fault;
    std::size_t boxesBefore = 0;
    bool oursRan = false;
    const auto check = [&] {
        if (!oursRan || !fault.empty()) return;
        oursRan = false;
        const auto& boxes = window.answers.boxes;
        if (boxes.size() != boxesBefore + 1)
            fault = std::to_string(boxes.size() - boxesBefore) + " boxes came instead of the question";
        else if (const auto& b = boxes.back(); b.text != Question || !b.yesNo || b.defaultButton != IDNO)
            fault = "another question came: " + b.title + ": " + b.text;
        else fault = CheckCache(game, keys);
    };
    const Job restart = [&] {
        check();
        refill();
        window.RefreshAndSelectAll();
        if (fault.empty() && window.SelectedRows() != Files)
            fault = std::to_string(window.SelectedRows()) + " rows selected of " + std::to_string(Files);
        boxesBefore = window.answers.boxes.size();
    };
    const Job ours = [&] {
        window.Click(IDC_CMDDELETE);
        oursRan = true;
    };
    const Job floor = [&] {
        for (const std::string& c : cached) DeleteFileA(c.c_str());
        WriteBare(index, remaining);
    };
    const Best best = Alternate(3, ours, floor, restart);
    // The same with nothing drawn: the part of our time that the window's progress takes.
    window.Show(false);
    const Best hidden = Alternate(3, ours, floor, restart);
    window.Show(true);
    check();  // the last run too
    if (!fault.empty()) {
        std::printf("remove: %s\n", fault.c_str());
        return 1;
    }
    PrintRatio("remove: 10000 cached files of 1 KB, question answered Yes, progress shown",
               "bare DeleteFileA + one writing of the index", best, 1.3);
    std::printf("remove: the same with the window hidden (no progress drawn): ours %.1f ms, floor %.1f ms, "
                "ratio %.2f\n", hidden.ours, hidden.floor, hidden.ours / hidden.floor);
    return 0;
}
