// The game folder: its registry record, the cleaning of a typed folder text, the marker file, and
// the checks on names and sub-folders taken from the index or the user.
#include <gtest/gtest.h>

#include <tuple>

#include "cache/GameFolder.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

TEST(GameFolder, CleanPathTextTrimsBlanksAndOneBackslash) {
    const std::pair<const char*, const char*> cases[] = {
        {"  C:\\Games\\UT2003\\  ", "C:\\Games\\UT2003"}, {"C:\\Games\\UT2003", "C:\\Games\\UT2003"},
        {"C:\\Games\\UT2003\\\\", "C:\\Games\\UT2003\\"},  // only the last backslash goes
        {"\tC:\\Games\\ ", "\tC:\\Games"}, {"   ", ""}, {"\\", ""}, {"", ""},  // a tab is not a blank
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(CleanPathText(text), expected) << "text \"" << text << "\"";
}

TEST(GameFolder, IsGameFolderWantsAPlainIndexFile) {
    const std::string game = "C:\\Games\\UT2003", index = game + "\\Cache\\Cache.ini";
    // What is there, its attributes (AttrFolder: a folder of that name) and the answer; no path:
    // the index, whose lookup fails.
    const std::tuple<const char*, std::string, std::uint32_t, bool> cases[] = {
        {"lower-case cache.ini", game + "\\cache\\cache.ini", 0, true}, {"read-only", index, AttrReadOnly, true},
        {"hidden", index, AttrHidden, false}, {"system", index, AttrSystem, false}, {"a dir", index, AttrFolder, false},
        {"no index", game + "\\Cache\\Other.ini", 0, false}, {"lookup fails", "", 0, false},
    };
    for (const auto& [what, path, attributes, expected] : cases) {
        FakeFileSystem fs;
        attributes == AttrFolder ? fs.AddFolder(path) : fs.AddFile(path.empty() ? index : path, "[Cache]", attributes);
        if (path.empty()) fs.FailOn(FsOp::Exists, index, "The device is not ready.");
        EXPECT_EQ(IsGameFolder(fs, game), expected) << what;
    }
}

TEST(GameFolder, LocateGameFolderReadsTheGamesRecord) {
    FakeRegistry registry;
    EXPECT_EQ(LocateGameFolder(registry), "") << "no value";
    registry.Set("Software\\Unreal Technology\\Installed Apps\\UT2003", "Folder", RegValue::OfText(" D:\\UT2003\\ "));
    EXPECT_EQ(LocateGameFolder(registry), " D:\\UT2003\\ ") << "the text is taken as it stands";
    registry.Deny("Software\\Unreal Technology");
    EXPECT_EQ(LocateGameFolder(registry), "") << "key that cannot be opened";
}

TEST(GameFolder, NamesAndSubFoldersStayInsideTheirFolder) {
    const std::pair<const char*, bool> names[] = {
        {"DM-Rankin.ut2", true}, {"0123456789abcdef0123456789abcdef", true}, {"..ut2", true}, {"", false},
        {".", false}, {"..", false}, {"..\\x.u", false}, {"a/b.u", false}, {"C:x.u", false}, {"x.u:stream", false},
    };
    for (const auto& [name, expected] : names) EXPECT_EQ(IsPlainFileName(name), expected) << "name \"" << name << "\"";
    const std::pair<const char*, bool> answers[] = {
        {"Help", true}, {"Help\\Docs", true}, {"Help\\", true}, {"My..Maps", true},  // dots inside a name climb nowhere
        {"", false}, {"..", false}, {"a\\..\\b", false}, {"a/../b", false}, {"Help\\..", false}, {"\\x", false},
        {"/x", false}, {"C:x", false}, {"C:\\Games", false}, {"\\\\server\\share", false},  // rooted, a drive, a share
        {"...", false}, {".. ", false}, {"a\\...\\b", false},  // Windows drops trailing dots and blanks, and climbs
    };
    for (const auto& [answer, expected] : answers)
        EXPECT_EQ(IsRelativeSubFolder(answer), expected) << "answer \"" << answer << "\"";
}
