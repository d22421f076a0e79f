// The un-cache run over 1,000 cached files of 1 MB each, every row selected and the cached copies
// deleted, against a bare loop of CopyFileA and DeleteFileA over the same files and destinations.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/Rip.h"
#include "platform/Win32FileSystem.h"
#include "platform/Win32SizeFormatter.h"

int main() {
    constexpr int Files = 1000, Reps = 3;
    std::string bytes(1 << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 4096);
    BenchGame game;
    const std::string index = game.Path("\\Cache\\cache.ini");
    std::string text = "[Cache]\r\n";
    std::vector<std::string> cached, destinations;
    for (int i = 1; i <= Files; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "F%04d.utx", i);
        const std::string key = BenchGame::KeyFor(i);
        text += key + "=" + name + "\r\n";
        cached.push_back(game.Path("\\Cache\\" + key + "-1.uxx"));
        destinations.push_back(game.Path("\\Textures\\") + name);
    }

    BenchProgram program(game.Folder(), /*keepRows=*/true, /*deleteTicked=*/true);
    Rip& rip = program.rip;

    // The cache as it was before a run: the files the last run un-cached move back into it (one no
    // run has made yet is written), the index gets all its lines again, and the listing shows them.
    int runs = 0, completeRuns = 0;
    const Job refill = [&] {
        int unCached = 0;
        for (int i = 0; i < Files; ++i) {
            if (GetFileAttributesA(cached[i].c_str()) != INVALID_FILE_ATTRIBUTES) continue;
            if (MoveFileExA(destinations[i].c_str(), cached[i].c_str(), 0)) ++unCached;
            else WriteBare(cached[i], bytes);
        }
        if (unCached > 0) ++runs;
        if (unCached == Files) ++completeRuns;
        WriteBare(index, text);
        rip.LoadCache();
    };
    const Best best = Alternate(
        Reps, [&] { rip.cmdUncache_Click(); },
        [&] {
            for (int i = 0; i < Files; ++i) {
                CopyFileA(cached[i].c_str(), destinations[i].c_str(), FALSE);
                DeleteFileA(cached[i].c_str());
            }
        },
        refill);
    refill();  // checks the last run too
    if (runs != 2 * Reps || completeRuns != runs) {
        std::printf("uncache: %d of %d runs un-cached every file\n", completeRuns, runs);
        return 1;
    }
    PrintRatio("uncache: " + std::to_string(Files) + " files of 1 MB, copied and deleted",
               "bare CopyFileA + DeleteFileA", best, 1.2);
    return 0;
}
