// The game folder: its registry record, the cleaning of a typed folder text, the marker file, and
// the checks on names and sub-folders taken from the index or the user.
#include <gtest/gtest.h>

#include <tuple>

#include "cache/GameFolder.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

TEST(GameFolder, CleanPathTextTrimsBlanksAndOneBackslash) {
    const std::tuple<const char*, const char*, bool> cases[] = {  // text, cleaned, Shift-JIS
        {"  C:\\Games\\UT2003\\  ", "C:\\Games\\UT2003", false},
        {"C:\\Games\\UT2003\\\\", "C:\\Games\\UT2003\\", false},  // only the last backslash goes
        {"\tC:\\Games\\ ", "\tC:\\Games", false}, {"   ", "", false}, {"\\", "", false},  // a tab is no blank
        {"C:\\\x95\\", "C:\\\x95\\", true},  // the second byte of a two-byte character stays
        {"C:\\\x95\\\\", "C:\\\x95\\", true}, {"C:\\\x95\\", "C:\\\x95", false},
    };
    for (const auto& [text, expected, twoByte] : cases) {
        FakeCodePage codePage;
        codePage.twoByte = twoByte;
        EXPECT_EQ(CleanPathText(text, codePage), expected) << "text \"" << text << "\"";
    }
}

// Which attributes count is the file system's own test; here the index's path and a lookup that fails.
TEST(GameFolder, IsGameFolderWantsTheIndexFile) {
    const std::string game = "C:\\Games\\UT2003", index = game + "\\Cache\\Cache.ini";
    FakeFileSystem fs;
    fs.AddFile(game + "\\Cache\\Other.ini", "[Cache]");
    EXPECT_FALSE(IsGameFolder(fs, game)) << "no index";
    fs.AddFile(index, "[Cache]", AttrReadOnly);
    EXPECT_TRUE(IsGameFolder(fs, game));
    fs.FailOn(FsOp::Exists, index, "The device is not ready.");
    EXPECT_FALSE(IsGameFolder(fs, game)) << "lookup fails";
}

TEST(GameFolder, LocateGameFolderReadsTheGamesRecord) {
    FakeRegistry registry;
    EXPECT_EQ(LocateGameFolder(registry), "") << "no value";
    registry.Set("Software\\Unreal Technology\\Installed Apps\\UT2003", "Folder", RegValue::OfText(" D:\\UT2003\\ "));
    EXPECT_EQ(LocateGameFolder(registry), " D:\\UT2003\\ ") << "the text is taken as it stands";
    registry.Deny("Software\\Unreal Technology");
    EXPECT_EQ(LocateGameFolder(registry), "") << "key that cannot be opened";
}

TEST(GameFolder, NamesAndSubFoldersStayInsideTheGameFolderAndAreFileNames) {
    using F = NameFault;
    // Names the fuzz target's invariants cannot judge: names taken, devices, and which fault a
    // refused name has; that no name with a character Windows refuses passes is the fuzz target's.
    const std::pair<std::string, NameFault> names[] = {
        {"DM-Rankin.ut2", F::None}, {"..ut2", F::None}, {"CONSOLE.u", F::None}, {"COM10.uax", F::None},
        {"x.nul", F::None}, {"", F::LeavesFolder}, {".", F::LeavesFolder}, {"..", F::LeavesFolder},
        {"..\\x.u", F::LeavesFolder}, {"a/b.u", F::LeavesFolder}, {"C:x.u", F::LeavesFolder},
        // Devices whatever the case or extension, also with blanks before the dot, and names that
        // Windows would write elsewhere or not at all.
        {"NUL.ut2", F::NotAFileName}, {"Com1.uax", F::NotAFileName}, {"LPT9.a.b", F::NotAFileName},
        {"aux .u", F::NotAFileName}, {"PRN", F::NotAFileName}, {"CONOUT$.u", F::NotAFileName},
        {"COM\xB9.u", F::NotAFileName}, {"Map.ut2.", F::NotAFileName}, {"Map.ut2 ", F::NotAFileName},
        {std::string("cache.ini\0.ut2", 14), F::NotAFileName}, {"a?.u", F::NotAFileName},
    };
    FakeCodePage codePage;
    for (const auto& [name, expected] : names)
        EXPECT_EQ(CheckFileName(name, codePage), expected) << "name \"" << Printable(name) << "\"";
    const std::pair<const char*, NameFault> answers[] = {
        {"Help\\Docs", F::None}, {"a\\\\b", F::None}, {"Help\\Cache", F::None}, {"Caches", F::None},
        {"My..Maps", F::None},  // dots inside a name climb nowhere
        {"", F::LeavesFolder}, {"a/../b", F::LeavesFolder}, {"/x", F::LeavesFolder},
        {"C:\\Games", F::LeavesFolder}, {"\\\\server\\share", F::LeavesFolder},  // a drive, a share
        {"...", F::LeavesFolder}, {".. ", F::LeavesFolder},  // trailing dots drop
        {"Help\\NUL", F::NotAFileName}, {"Help \\Docs", F::NotAFileName},
        {"cache\\Sub", F::CacheFolder}, {".\\CACHE", F::CacheFolder},
    };
    for (const auto& [answer, expected] : answers)
        EXPECT_EQ(CheckSubFolder(answer, codePage), expected) << "answer \"" << answer << "\"";
    // On Shift-JIS Windows, 0x5C and 0x7C after a lead byte are halves of a character, not "\" or "|".
    codePage.twoByte = true;
    EXPECT_EQ(CheckFileName("\x95\\\x83|.ut2", codePage), F::None);
    EXPECT_EQ(CheckSubFolder("\x95\\\\Docs", codePage), F::None);
    EXPECT_EQ(CheckFileName("a\\\x95\\.u", codePage), F::LeavesFolder) << "a real backslash before the character";
}
