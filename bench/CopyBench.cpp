// The un-cache run by copy (delete not ticked) of 100 cached files of 10 MB, every row selected and
// no destination there yet, started with the un-cache button of the main window shown on the
// display, its progress drawn, against a bare loop of CopyFileA over the same files; then the same
// with the window hidden, which draws no progress, to show the progress's share.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "BenchWindow.h"
#include "resource.h"

namespace {

constexpr int Files = 100;
constexpr std::uint64_t Size = 10u << 20;

// What is wrong with the destinations after a run, or nothing.
std::string CheckDestinations(const std::vector<std::string>& destinations) {
    int missing = 0, wrongSize = 0;
    for (const std::string& d : destinations) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(d.c_str(), GetFileExInfoStandard, &data)) ++missing;
        else if ((std::uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow) != Size) ++wrongSize;
    }
    if (missing == 0 && wrongSize == 0) return {};
    return std::to_string(missing) + " destinations missing, " + std::to_string(wrongSize) + " of another size";
}

// Written out now, or the system would write these 1,000 MB out half a minute later, during a
// timed run of either side.
void FlushToDisk(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
}

}  // namespace

int main() {
    BenchGame game;
    // Bytes that vary along the file, really written (no sparse file), once: a copy leaves them.
    const TexturesCache cache(game, Files, Size);
    const std::vector<std::string>& cached = cache.cached;
    const std::vector<std::string>& destinations = cache.destinations;
    for (const std::string& file : cached) {
        WriteBare(file, cache.bytes);
        FlushToDisk(file);
    }
    WriteBare(cache.index, cache.text);

    BenchWindow window(game.Folder());
    // By copy, whatever state the options give the box.
    for (int i = 0; i < 2 && SendMessageW(window.Item(IDC_CHKDEL), BM_GETCHECK, 0, 0) != BST_UNCHECKED; ++i)
        window.Click(IDC_CHKDEL);

    std::string fault;
    bool oursRan = false;
    const Job restart = [&] {
        if (oursRan && fault.empty()) fault = CheckDestinations(destinations);
        oursRan = false;
        for (const std::string& d : destinations) DeleteFileA(d.c_str());
        window.RefreshAndSelectAll();
        if (fault.empty() && window.SelectedRows() != Files)
            fault = std::to_string(window.SelectedRows()) + " rows selected of " + std::to_string(Files);
    };
    const Job ours = [&] {
        window.Click(IDC_CMDUNCACHE);
        oursRan = true;
    };
    const Job floor = [&] {
        for (int i = 0; i < Files; ++i) CopyFileA(cached[i].c_str(), destinations[i].c_str(), FALSE);
    };
    // Seven of each: a gigabyte written per run makes the disk's times vary by a tenth from run to run.
    const Best best = Alternate(7, ours, floor, restart);
    // The same with nothing drawn: the part of our time that the window's progress takes.
    window.Show(false);
    const Best hidden = Alternate(3, ours, floor, restart);
    window.Show(true);
    restart();  // checks the last run too
    if (fault.empty() && !window.answers.boxes.empty())
        fault = "a box came: " + window.answers.boxes.front().title + ": " + window.answers.boxes.front().text;
    if (SendMessageW(window.Item(IDC_CHKDEL), BM_GETCHECK, 0, 0) != BST_UNCHECKED) fault = "delete was ticked";
    if (!fault.empty()) {
        std::printf("copy: %s\n", fault.c_str());
        return 1;
    }
    // And with no window at all: the run's own file work (the copies in pieces, the lookups, the
    // listing read again), apart from what the window's list box and labels cost.
    BenchProgram alone(game.Folder(), /*keepRows=*/true, /*deleteTicked=*/false);
    const Best behaviour = Alternate(
        3, [&] { alone.rip.cmdUncache_Click(); }, floor, [&] {
            for (const std::string& d : destinations) DeleteFileA(d.c_str());
            alone.rip.LoadCache();
        });
    if (const std::string wrong = CheckDestinations(destinations); !wrong.empty()) {
        std::printf("copy without a window: %s\n", wrong.c_str());
        return 1;
    }
    PrintRatio("copy: un-cache 100 files of 10 MB, delete not ticked, progress shown", "bare CopyFileA", best, 1.1);
    std::printf("copy: the same with the window hidden (no progress drawn): ours %.1f ms, bare CopyFileA %.1f ms, "
                "ratio %.2f\n", hidden.ours, hidden.floor, hidden.ours / hidden.floor);
    std::printf("copy: the same without a window: ours %.1f ms, bare CopyFileA %.1f ms, ratio %.2f\n", behaviour.ours,
                behaviour.floor, behaviour.ours / behaviour.floor);
    return 0;
}
