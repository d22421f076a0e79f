// The un-cache run with every row selected: with the cached copies deleted (moved: 1,000 files of
// 1 MB, and 100 of 1 MB against 100 of 10 MB) against a bare loop of CopyFileA and DeleteFileA over
// the same files and destinations; and run again over files it has un-cached already, the cached
// copies kept, against the bare reading of both copies of every file.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/Rip.h"
#include "platform/Win32FileSystem.h"
#include "platform/Win32SizeFormatter.h"

namespace {

// Un-caches `files` files of `mb` MB with delete ticked; the time per file of our run, or -1.
double DeleteTicked(int files, int mb, double target) {
    constexpr int Reps = 3;
    BenchGame game;
    TexturesCache cache(game, files, static_cast<std::size_t>(mb) << 20);
    BenchProgram program(game.Folder(), /*keepRows=*/true, /*deleteTicked=*/true);
    Rip& rip = program.rip;

    // The cache as it was before a run: the files the last run un-cached move back into it (one no
    // run has made yet is written), the index gets all its lines again, and the listing shows them.
    int runs = 0, completeRuns = 0;
    const Job refill = [&] {
        int unCached = 0;
        for (int i = 0; i < files; ++i) {
            if (GetFileAttributesA(cache.cached[i].c_str()) != INVALID_FILE_ATTRIBUTES) continue;
            if (MoveFileExA(cache.destinations[i].c_str(), cache.cached[i].c_str(), 0)) ++unCached;
            else WriteBare(cache.cached[i], cache.bytes);
        }
        if (unCached > 0) ++runs;
        if (unCached == files) ++completeRuns;
        WriteBare(cache.index, cache.text);
        rip.LoadCache();
    };
    const Best best = Alternate(
        Reps, [&] { rip.cmdUncache_Click(); },
        [&] {
            for (int i = 0; i < files; ++i) {
                CopyFileA(cache.cached[i].c_str(), cache.destinations[i].c_str(), FALSE);
                DeleteFileA(cache.cached[i].c_str());
            }
        },
        refill);
    refill();  // checks the last run too
    if (runs != 2 * Reps || completeRuns != runs) {
        std::printf("uncache: %d of %d runs un-cached every file\n", completeRuns, runs);
        return -1;
    }
    PrintRatio("uncache: " + std::to_string(files) + " files of " + std::to_string(mb) + " MB, delete ticked (moved)",
               "bare CopyFileA + DeleteFileA", best, target);
    return best.ours / files;
}

// A second run over 1,000 files of 1 MB whose destinations hold their bytes already.
bool AlreadyUncached() {
    constexpr int Files = 1000;
    BenchGame game;
    TexturesCache cache(game, Files, 1 << 20);
    for (int i = 0; i < Files; ++i) {
        WriteBare(cache.cached[i], cache.bytes);
        WriteBare(cache.destinations[i], cache.bytes);
    }
    WriteBare(cache.index, cache.text);
    BenchProgram program(game.Folder(), /*keepRows=*/true, /*deleteTicked=*/false);
    Rip& rip = program.rip;
    rip.LoadCache();
    std::size_t seen = 0;  // keeps the floor's work from being optimised away
    const Best best = Alternate(
        3, [&] { rip.cmdUncache_Click(); },
        [&] {
            for (int i = 0; i < Files; ++i)
                seen += ReadBare(cache.cached[i]).size() + ReadBare(cache.destinations[i]).size();
        });
    if (program.overwrite.asked != 0 || program.view.rowsAdded != Files || seen == 0) {
        std::printf("uncache again: %d questions, %d rows\n", program.overwrite.asked, program.view.rowsAdded);
        return false;
    }
    PrintRatio("uncache again: 1000 files of 1 MB already un-cached, delete not ticked",
               "bare reading of both copies", best, 1.3);
    return true;
}

}  // namespace

int main() {
    // Under Wine a rename costs more as the destination folder fills (a name that is not there yet
    // is looked for in the whole folder), so the file size is compared at one count of files.
    const double thousand = DeleteTicked(1000, 1, 0.25), small = DeleteTicked(100, 1, 0.25),
                 large = DeleteTicked(100, 10, 0.25);
    if (thousand < 0 || small < 0 || large < 0) return 1;
    std::printf("uncache: per moved file of 100, %.3f ms at 1 MB, %.3f ms at 10 MB, ratio %.2f (target: about 1)\n",
                small, large, large / small);
    return AlreadyUncached() ? 0 : 1;
}
