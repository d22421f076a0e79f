// MFiles: one folder's file names, sorted by lower-cased name behind an empty slot 0.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/MFiles.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

using Names = std::vector<std::string>;

TEST(MFiles, ListsFilesOfAnyAttributesButNoFolderAndSortsTheGivenSlotsWithoutLetterCase) {
    const std::string cache = "C:\\Games\\UT2003\\Cache\\";
    FakeFileSystem fs;
    for (const char* name : {"b.utx", "A.ut2"}) fs.AddFile(cache + name, "");
    fs.AddFile(cache + "c.ini", "", AttrHidden | AttrSystem | AttrReadOnly);
    fs.AddFolder(cache + "Sub");
    ScriptedPrompts prompts;
    Names names{"left", "over", "x"};
    MFiles::ListFiles(fs, prompts, cache, names);
    EXPECT_EQ(names, (Names{"", "A.ut2", "b.utx", "c.ini"}));
    // A folder that cannot be searched: said so (the text is the fixer's test), and no name.
    MFiles::ListFiles(fs, prompts, cache + "Missing", names);
    EXPECT_EQ(names, (Names{"", ""}));
    EXPECT_EQ(prompts.shown.at(0).icon, MsgIcon::Critical);
    // Sorting the given slots only.
    const std::tuple<Names, long, long, Names> cases[] = {  // names, first, last, sorted
        {{"", "d", "c", "b", "a", "y", "x"}, 1, 4, {"", "a", "b", "c", "d", "y", "x"}},  // slots 1 to 4 only
        {{"", "c", "b", "a"}, 2, 0, {"", "c", "a", "b"}}, {{}, 0, 0, {}},  // last 0: to the upper bound; nothing
        {{"", "\xE9t.u", "zed.u", "Alpha.u"}, 0, 0, {"", "Alpha.u", "zed.u", "\xE9t.u"}},  // by code, unsigned
        // Repeats, and a "_", which comes between the capitals and the small letters.
        {{"b", "A", "c", "b", "_", "A", "Ca", "b", "B2"}, 0, 0, {"_", "A", "A", "b", "b", "b", "B2", "c", "Ca"}},
    };
    for (auto [given, first, last, sorted] : cases) {
        MFiles::SortNames(given, first, last);
        EXPECT_EQ(given, sorted);
    }
}
