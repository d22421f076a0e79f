// The game folder: its registry record, the cleaning of a typed folder text, the marker file, and
// the checks on names and sub-folders taken from the index or the user.
#include <gtest/gtest.h>

#include "cache/GameFolder.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

TEST(GameFolder, CleanPathTextTrimsBlanksAndOneBackslash) {
    const std::pair<const char*, const char*> cases[] = {
        {"  C:\\Games\\UT2003\\  ", "C:\\Games\\UT2003"},
        {"C:\\Games\\UT2003", "C:\\Games\\UT2003"},
        {"C:\\Games\\UT2003\\\\", "C:\\Games\\UT2003\\"},  // only the last backslash goes
        {"\tC:\\Games\\ ", "\tC:\\Games"},                   // a tab is not a blank
        {"   ", ""},
        {"\\", ""},
        {"", ""},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(CleanPathText(text), expected) << "text \"" << text << "\"";
}

TEST(GameFolder, IsGameFolderWantsAPlainIndexFile) {
    const std::string game = "C:\\Games\\UT2003";
    const std::string marker = game + "\\Cache\\Cache.ini";
    struct Case {
        const char* what;
        std::string path;
        std::uint32_t attributes;  // AttrFolder: a folder of that name
        bool lookupFails, expected;
    };
    const Case cases[] = {
        {"lower-case cache.ini", game + "\\cache\\cache.ini", 0, false, true},
        {"read-only", marker, AttrReadOnly, false, true},
        {"hidden", marker, AttrHidden, false, false},
        {"system", marker, AttrSystem, false, false},
        {"a folder", marker, AttrFolder, false, false},
        {"no index", game + "\\Cache\\Other.ini", 0, false, false},
        {"failing lookup", marker, 0, true, false},
    };
    for (const Case& c : cases) {
        FakeFileSystem fs;
        if (c.attributes == AttrFolder) fs.AddFolder(c.path);
        else fs.AddFile(c.path, "[Cache]", c.attributes);
        if (c.lookupFails) fs.FailOn(FsOp::Exists, marker, "The device is not ready.");
        EXPECT_EQ(IsGameFolder(fs, game), c.expected) << c.what;
    }
    // The marker's path is the plain concatenation, even of an empty or uncleaned text.
    FakeFileSystem fs;
    EXPECT_FALSE(IsGameFolder(fs, ""));
    EXPECT_FALSE(IsGameFolder(fs, "D:\\UT\\"));
    EXPECT_EQ(fs.Log(), (std::vector<std::string>{"Exists \\Cache\\Cache.ini", "Exists D:\\UT\\\\Cache\\Cache.ini"}));
}

TEST(GameFolder, LocateGameFolderReadsTheGamesRecord) {
    FakeRegistry registry;
    EXPECT_EQ(LocateGameFolder(registry), "") << "no value";
    registry.Set("Software\\Unreal Technology\\Installed Apps\\UT2003", "Folder", RegValue::OfText(" D:\\UT2003\\ "));
    EXPECT_EQ(LocateGameFolder(registry), " D:\\UT2003\\ ") << "the text is taken as it stands";
    registry.Deny("Software\\Unreal Technology");
    EXPECT_EQ(LocateGameFolder(registry), "") << "key that cannot be opened";
}

TEST(GameFolder, NamesFromTheIndexStayInsideTheirFolder) {
    const std::pair<const char*, bool> cases[] = {
        {"DM-Rankin.ut2", true}, {"0123456789abcdef0123456789abcdef", true}, {"..ut2", true},
        {"", false}, {".", false}, {"..", false}, {"..\\x.u", false}, {"a/b.u", false},
        {"C:x.u", false}, {"x.u:stream", false},
    };
    for (const auto& [name, expected] : cases) EXPECT_EQ(IsPlainFileName(name), expected) << "name \"" << name << "\"";
}

TEST(GameFolder, SubFolderAnswersStayBelowTheGameFolder) {
    const std::pair<const char*, bool> cases[] = {
        {"Help", true},
        {"Help\\Docs", true},
        {"Help\\", true},
        {"My..Maps", true},             // dots inside a name climb nowhere
        {"", false},
        {"..", false},
        {"a\\..\\b", false},
        {"a/../b", false},
        {"Help\\..", false},
        {"\\x", false},                  // rooted on the current drive
        {"/x", false},
        {"C:x", false},                  // relative to a drive's current folder
        {"C:\\Games", false},
        {"\\\\server\\share", false},
        {"...", false},                  // Windows drops the trailing dots and climbs
        {".. ", false},
        {"a\\...\\b", false},
    };
    for (const auto& [answer, expected] : cases)
        EXPECT_EQ(IsRelativeSubFolder(answer), expected) << "answer \"" << answer << "\"";
}
