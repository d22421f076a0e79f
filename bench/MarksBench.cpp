// The listing with install marks for a cache of 20,000 entries, a third of them un-cached before (same
// size and time in their folder) and a third there in another version: LoadCache (reading the index,
// the cache folder's sizes and times, and every row's mark) against reading cache.ini's bytes and
// one listing of the cache folder and of each destination folder.
#include <windows.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/InstallMarks.h"
#include "cache/FileType.h"
#include "platform/Utf.h"

namespace {

std::wstring Wide(const std::string& utf8) {
    std::u16string units;
    Utf16FromUtf8(utf8, units);
    return std::wstring(units.begin(), units.end());
}

// A bare wildcard search of the folder, as the floor of one listing.
std::uint64_t ListBare(const std::string& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Wide(folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    std::uint64_t seen = 0;
    do seen += data.nFileSizeLow + data.ftLastWriteTime.dwLowDateTime;
    while (FindNextFileW(find, &data));
    FindClose(find);
    return seen;
}

}  // namespace

int main() {
    constexpr int Entries = 20000;
    const char* const endings[] = {".ut2", ".utx", ".u",   ".uax", ".umx", ".ogg",
                                   ".usx", ".ukx", ".uvx", ".int", ".txt"};
    const char* const subs[] = {"System", "Maps", "Textures", "Sounds", "Music", "StaticMeshes", "Saves", "Animations"};
    BenchGame game;
    const std::string index = game.Path("\\Cache\\cache.ini");
    std::string text = "[Cache]\r\n";
    MarkCounts expected;
    std::vector<NewFile> files;
    for (int i = 1; i <= Entries; ++i) {
        const std::string key = BenchGame::KeyFor(i);
        const std::string name = "Package" + std::to_string(i) + endings[i % std::size(endings)];
        text += key + "=" + name + "\r\n";
        const std::string cached = game.Path("\\Cache\\" + key + "-1.uxx");
        files.push_back({cached, static_cast<std::uint64_t>(100 + i % 900), {}});
        const FileType type = ClassifyFileName(name);
        if (type == FileType::Other) {
            ++expected.unmarked;
            continue;
        }
        const std::string destination = game.Folder() + std::string(DestinationSubFolder(type)) + name;
        if (i % 3 == 0) {
            files.push_back({destination, 0, cached});  // a copy keeps the last-write time, as un-caching does
            ++expected.sameFile;
        } else if (i % 3 == 1) {
            files.push_back({destination, 50, {}});
            ++expected.different;
        } else {
            ++expected.notInstalled;
        }
    }
    MakeFiles(game.Folder(), files);
    WriteBare(index, text);

    BenchProgram program(game.Folder(), /*keepRows=*/false, /*deleteTicked=*/false);
    MarkCounts counts;
    std::uint64_t seen = 0;  // keeps the floor's work from being optimised away
    const Best best = Alternate(
        7,
        [&] {
            program.rip.LoadCache();
            counts = CountMarks(std::vector<InstallMark>(program.rip.Marks.begin() + 2, program.rip.Marks.end()));
        },
        [&] {
            seen += ReadBare(index).size() + ListBare(game.Path("\\Cache"));
            for (const char* sub : subs) seen += ListBare(game.Path("\\") + sub);
        });
    if (counts.notInstalled != expected.notInstalled || counts.sameFile != expected.sameFile ||
        counts.different != expected.different || counts.unmarked != expected.unmarked || seen == 0) {
        std::printf("marks: expected %s, got %s\n", MarkLegend(expected).c_str(), MarkLegend(counts).c_str());
        return 1;
    }
    PrintRatio("marks: LoadCache with the marks of " + std::to_string(Entries) + " entries (" +
                   MarkLegend(counts) + ")",
               "bare read + one listing of the cache and of each destination folder", best, 1.3);
    return 0;
}
