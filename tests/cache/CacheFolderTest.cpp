// The cache folder read once gives each entry's cached file its size and time as a query of that
// file would.
#include <gtest/gtest.h>

#include "cache/CacheFolder.h"
#include "cache/CacheIndex.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

TEST(CacheFolder, SizesAndTimesFromTheListingAreThoseOfTheFileItself) {
    const char* const game = "C:\\Games\\UT2003";
    const std::string keys[] = {std::string(32, '1'), std::string(32, 'a'), std::string(31, '2') + "\xC3\xA9",
                                std::string(32, '3'), std::string(32, '4'), std::string(32, '5')};
    std::string index = "\xEF\xBB\xBF[Cache]\r\n";  // UTF-8: the accented key is one of 32 characters
    for (const std::string& key : keys) index += key + "=Name.utx\r\n";
    FakeCodePage codePage;
    const auto read = [&](bool listable) {
        FakeFileSystem fs;
        // A plain file, one spelt in capitals, one beyond ASCII (asked about on its own), a hidden one;
        // a folder of the name; no file.
        for (std::size_t i = 0; i < 4; ++i) {
            const std::string path = CachedFilePath(game, i == 1 ? std::string(32, 'A') : keys[i]);
            fs.AddFile(path, std::string(i + 1, 'x'), i == 3 ? std::uint32_t{AttrHidden} : 0u);
            fs.SetModified(path, 100 + i);
        }
        fs.AddFolder(CachedFilePath(game, keys[4]));
        if (!listable) fs.FailOn(FsOp::List, std::string(game) + "\\Cache\\*", "Not ready.", 0);
        const IndexEntries entries = ParseIndexFixed(index, codePage);
        CacheFolder cache(fs, game, entries);
        std::string found;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            std::uint64_t size = 0, modified = 0;
            const bool there = cache.SizeAndDateOf(i, size, modified);
            found += there ? std::to_string(size) + "@" + std::to_string(modified) + " " : "- ";
        }
        return found;
    };
    EXPECT_EQ(read(true), "1@100 2@101 3@102 4@103 - - ");
    EXPECT_EQ(read(false), read(true));
}
