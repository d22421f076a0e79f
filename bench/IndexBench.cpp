// Reading a cache.ini of 100,000 entry lines as the listing does, and filtering it as the rewrite
// does, against reading its bytes with nothing but CreateFileA and ReadFile.
#include <string>
#include <unordered_set>

#include "BenchSupport.h"
#include "cache/CacheIndex.h"
#include "platform/Win32CodePage.h"
#include "platform/Win32FileSystem.h"

int main() {
    constexpr int Lines = 100000;
    BenchGame game;
    const std::string index = game.Path("\\Cache\\cache.ini");
    std::string text = "[Cache]\r\n";
    std::unordered_set<std::string> removed;  // one line in ten goes
    for (int i = 1; i <= Lines; ++i) {
        const std::string key = BenchGame::KeyFor(i);
        text += key + "=DM-Map" + std::to_string(i) + ".ut2\r\n";
        if (i % 10 == 0) removed.insert(key);
    }
    WriteBare(index, text);

    Win32FileSystem fs;
    Win32CodePage codePage;
    std::size_t seen = 0;  // keeps the work from being optimised away
    const Best best = Alternate(
        9,
        [&] {
            seen += ReadIndexFixed(fs, codePage, index).size();
            seen += FilterIndexText(fs.ReadAll(index), removed, codePage).size();
        },
        [&] { seen += ReadBare(index).size() + ReadBare(index).size(); });
    PrintRatio("index: read+filter " + std::to_string(Lines) + " lines", "two bare reads", best, 3);
    return seen == 0;
}
