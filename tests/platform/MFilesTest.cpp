// MFiles: one folder's file names, sorted by lower-cased name behind an empty slot 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <tuple>

#include "platform/MFiles.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

using Names = std::vector<std::string>;

TEST(MFiles, ListsFilesOnlySortedWithoutLetterCaseOrReportsTheFolderOnce) {
    const std::string cache = "C:\\Games\\UT2003\\Cache";
    FakeFileSystem fs;
    fs.AddFile(cache + "\\b.utx", "");
    fs.AddFile(cache + "\\A.ut2", "");
    fs.AddFile(cache + "\\c.ini", "", AttrHidden | AttrSystem | AttrReadOnly);
    fs.AddFolder(cache + "\\Sub");
    ScriptedPrompts prompts;
    Names names{"left", "over", "x"}, missing = names;
    MFiles::ListFiles(fs, prompts, cache + "\\", names);
    MFiles::ListFiles(fs, prompts, cache + "\\Missing", missing);
    EXPECT_EQ(names, (Names{"", "A.ut2", "b.utx", "c.ini"})) << "files of any attributes, no folder";
    EXPECT_EQ(missing, (Names{"", ""})) << "a folder that cannot be searched";
    EXPECT_EQ(prompts.Titles(), Names{"Morvane: Invalid filename!"});
    EXPECT_EQ(prompts.shown.at(0).icon, MsgIcon::Critical);
    EXPECT_EQ(fs.Log(), (Names{"List " + cache + "\\*", "List " + cache + "\\Missing\\*"}));
}

TEST(MFiles, SortNamesSortsTheGivenSlots) {
    const std::tuple<Names, long, long, Names> cases[] = {  // names, first, last, sorted
        {{"", "d", "c", "b", "a", "y", "x"}, 1, 4, {"", "a", "b", "c", "d", "y", "x"}},  // slots 1 to 4 only
        {{"", "c", "b", "a"}, 2, 0, {"", "c", "a", "b"}}, {{}, 0, 0, {}},  // last 0: to the upper bound; nothing
        {{"", "\xE9t.u", "zed.u", "Alpha.u"}, 0, 0, {"", "Alpha.u", "zed.u", "\xE9t.u"}},  // by code, unsigned
    };
    for (auto [names, first, last, sorted] : cases) {
        MFiles::SortNames(names, first, last);
        EXPECT_EQ(names, sorted);
    }
    std::mt19937 rng(7);  // the whole array of many short names of few letters: repeats, and slips at the ends
    for (int round = 0; round < 200; ++round) {
        Names names(1 + rng() % 40);
        for (std::string& n : names)
            while (n.size() < 1 + rng() % 3) n += "aAbBc_"[rng() % 6];
        long first = 0, last = 0;
        MFiles::SortNames(names, first, last);
        for (std::string& n : names)
            for (char& c : n) c = static_cast<char>(std::tolower(c));
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end())) << "round " << round << ": not by lower-cased name";
    }
}
