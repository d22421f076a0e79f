// The cache folder read once gives each entry's cached file its size and time as a query of that
// file would.
#include <gtest/gtest.h>

#include <tuple>

#include "cache/CacheFolder.h"
#include "cache/CacheIndex.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

TEST(CacheFolder, SizesAndTimesFromTheListingAreThoseOfTheFileItself) {
    const std::string game = "C:\\Games\\UT2003", k = std::string(31, '0');
    // Each entry's key, the file in the cache folder for it (as spelt there; none), and that file's
    // attributes. The n-th file holds n bytes, written at 100 + n.
    const std::tuple<std::string, std::string, std::uint32_t> entries[] = {
        {k + "1", k + "1-1.uxx", 0},
        {k + "a", k + "A-1.UXX", 0},                    // spelt in capitals
        {k + "b", k + "b-1.uxx", 0}, {k + "B", "", 0},  // keys that differ only in letter case: one file
        {k + "1", "", 0},                               // a key twice
        // Beyond ASCII, asked about on its own: only the platform knows which letters are one.
        {k + "\xC3\x89", k + "\xC3\x89-1.uxx", 0}, {k + "\xC3\xA9", "", 0},
        {k.substr(1) + "\\x", k.substr(1) + "\\x-1.uxx", 0},  // a separator: the file is in a sub-folder
        {k + "h", k + "h-1.uxx", AttrHidden}, {k + "f", k + "f-1.uxx", AttrFolder}, {k + "n", "", 0},
    };
    std::string index = "\xEF\xBB\xBF[Cache]\r\n";  // UTF-8: each accented key is one of 32 characters
    for (const auto& entry : entries) index += std::get<0>(entry) + "=Name.utx\r\n";
    FakeCodePage codePage;
    const auto read = [&](bool listable) {
        FakeFileSystem fs;
        std::size_t n = 0;
        for (const auto& [key, file, attributes] : entries) {
            const std::string path = game + "\\Cache\\" + file;
            if (attributes == AttrFolder) fs.AddFolder(path);
            if (file.empty() || attributes == AttrFolder) continue;
            fs.AddFile(path, std::string(++n, 'x'), attributes);
            fs.SetModified(path, 100 + n);
        }
        if (!listable) fs.FailOn(FsOp::List, game + "\\Cache\\*", "Not ready.", 0);
        const IndexEntries parsed = ParseIndexFixed(index, codePage);
        CacheFolder cache(fs, game, parsed);
        std::string found;
        for (std::size_t i = 0; i < parsed.size(); ++i) {
            std::uint64_t size = 0, modified = 0;
            const bool there = cache.SizeAndDateOf(i, size, modified);
            found += there ? std::to_string(size) + "@" + std::to_string(modified) + " " : "- ";
        }
        return found;
    };
    EXPECT_EQ(read(true), "1@101 2@102 3@103 3@103 1@101 4@104 - 5@105 6@106 - - ");
    EXPECT_EQ(read(false), read(true));
}
