// MFiles: one folder's file names, sorted by lower-cased name behind an empty slot 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "platform/MFiles.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

namespace {

using Names = std::vector<std::string>;
const std::string Cache = "C:\\Games\\UT2003\\Cache";

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

TEST(MFiles, ListsFilesOnlySortedWithoutLetterCase) {
    FakeFileSystem fs;
    fs.AddFile(Cache + "\\b.utx", "");
    fs.AddFile(Cache + "\\A.ut2", "");
    fs.AddFile(Cache + "\\c.ini", "", AttrHidden);
    fs.AddFile(Cache + "\\d.uxx", "", AttrSystem | AttrReadOnly);
    fs.AddFile(Cache + "\\Sub\\a.txt", "");
    for (const std::string& folder : {Cache, Cache + "\\"}) {
        ScriptedPrompts prompts;
        Names names{"left", "over"};
        MFiles::ListFiles(fs, prompts, folder, names);
        EXPECT_EQ(names, (Names{"", "A.ut2", "b.utx", "c.ini", "d.uxx"})) << "folder " << folder;
        EXPECT_TRUE(prompts.shown.empty()) << "folder " << folder;
    }
    EXPECT_EQ(fs.Log(), (Names{"List " + Cache + "\\*", "List " + Cache + "\\*"}));

    FakeFileSystem empty;  // only a sub-folder: slot 0 alone
    empty.AddFolder(Cache + "\\Sub");
    ScriptedPrompts prompts;
    Names names{"x"};
    MFiles::ListFiles(empty, prompts, Cache, names);
    EXPECT_EQ(names, (Names{""}));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(MFiles, FolderThatCannotBeSearchedIsReportedOnce) {
    for (bool exists : {false, true}) {
        FakeFileSystem fs;
        if (exists) {
            fs.AddFile(Cache + "\\a.u", "");
            fs.FailOn(FsOp::List, Cache + "\\*", "Access is denied.");
        }
        ScriptedPrompts prompts;
        Names names{"a", "b", "c"};
        MFiles::ListFiles(fs, prompts, Cache, names);
        EXPECT_EQ(names, (Names{"", ""})) << "folder exists: " << exists;
        ASSERT_EQ(prompts.shown.size(), 1u) << "folder exists: " << exists;
        EXPECT_EQ(prompts.shown[0].text, "Invalid filename!");
        EXPECT_EQ(prompts.shown[0].title, "Morvane");
        EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Critical);
        EXPECT_EQ(prompts.shown[0].buttons, MsgButtons::Ok);
    }
}

TEST(MFiles, SortNamesSortsTheGivenSlots) {
    struct Case {
        Names names;
        long first, last;
        Names expected;
    };
    const Case cases[] = {
        {{"", "b", "C", "a"}, 0, 0, {"", "a", "b", "C"}},                 // 0 and 0: the whole array
        {{"z", "Y", "x"}, 0, 0, {"x", "Y", "z"}},
        {{"", "d", "c", "b", "a", "y", "x"}, 1, 4, {"", "a", "b", "c", "d", "y", "x"}},  // slots 1 to 4 only
        {{"", "c", "b", "a"}, 2, 0, {"", "c", "a", "b"}},                 // last 0: up to the upper bound
        {{"b", "a"}, 1, 0, {"b", "a"}},                                   // a single slot
        {{"one"}, 0, 0, {"one"}},
        {{}, 0, 0, {}},                                                   // nothing to sort
        {{"", "\xE9t.u", "zed.u", "Alpha.u"}, 0, 0, {"", "Alpha.u", "zed.u", "\xE9t.u"}},  // by code, unsigned
        {{"", "e", "d", "c", "b", "a"}, 0, 0, {"", "a", "b", "c", "d", "e"}},
        {{"", "a", "a", "b", "a"}, 0, 0, {"", "a", "a", "a", "b"}},
    };
    for (const Case& c : cases) {
        Names names = c.names;
        long first = c.first, last = c.last;
        MFiles::SortNames(names, first, last);
        EXPECT_EQ(names, c.expected) << "bounds " << c.first << ", " << c.last;
    }
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        Names names(1 + rng() % 40);
        for (std::string& n : names) {
            for (unsigned length = 1 + rng() % 3; length > 0; --length) n += "aAbBc_"[rng() % 6];
        }
        Names expected = names;
        std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); });
        long first = 0, last = 0;
        MFiles::SortNames(names, first, last);
        ASSERT_TRUE(std::is_permutation(names.begin(), names.end(), expected.begin(), expected.end())) << "round " << round;
        for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(Lower(names[i]), Lower(expected[i])) << "round " << round << " slot " << i;
    }
}
