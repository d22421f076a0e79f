// The game folder: its registry record, the cleaning of a typed folder text, the marker file, and
// the checks on names and sub-folders taken from the index or the user.
#include <gtest/gtest.h>

#include <tuple>

#include "cache/GameFolder.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

TEST(GameFolder, IsCleanedFromTheTextOrTakenFromTheRecordAndWantsItsIndexFile) {
    // Blanks and a last backslash are the main window's folder check's test; here what else is cleaned.
    const std::pair<const char*, const char*> cases[] = {  // text, cleaned
        {"C:\\Games\\UT2003\\\\", "C:\\Games\\UT2003\\"},  // only the last backslash goes
        {"\tC:\\Games\\ ", "\tC:\\Games"}, {"   ", ""}, {"\\", ""},  // a tab is no blank
        {"D:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\", "D:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B"},  // "Игры", in UTF-8
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(CleanPathText(text), expected) << "text \"" << text << "\"";
    // The marker file's path is that test's too; here a lookup that fails, and the game's
    // record, whose text is taken as it stands.
    FakeFileSystem fs;
    fs.AddFile("C:\\UT\\Cache\\Cache.ini", "[Cache]");
    fs.FailOn(FsOp::Exists, "C:\\UT\\Cache\\Cache.ini", "The device is not ready.");
    EXPECT_FALSE(IsGameFolder(fs, "C:\\UT"));
    FakeRegistry registry;
    registry.Set("Software\\Unreal Technology\\Installed Apps\\UT2003", "Folder", RegValue::OfText(" D:\\UT2003\\ "));
    EXPECT_EQ(LocateGameFolder(registry), " D:\\UT2003\\ ");
}

TEST(GameFolder, NamesAndSubFoldersStayInsideTheGameFolderAndAreFileNames) {
    using F = NameFault;
    // Names the fuzz target's invariants cannot judge: names taken, devices, and which fault a
    // refused name has; that no name with a character Windows refuses passes is the fuzz target's,
    // and the messages of each fault are the un-cache run's.
    const std::pair<std::string, NameFault> names[] = {
        {"DM-Rankin.ut2", F::None}, {"..ut2", F::None}, {"CONSOLE.u", F::None}, {"COM10.uax", F::None},
        {"x.nul", F::None}, {"", F::LeavesFolder}, {".", F::LeavesFolder}, {"..", F::LeavesFolder},
        {"a/b.u", F::LeavesFolder}, {"C:x.u", F::LeavesFolder}, {"a?\\b", F::LeavesFolder},
        // Devices whatever the case or extension, also with blanks before the dot.
        {"NUL.ut2", F::NotAFileName}, {"Com1.uax", F::NotAFileName}, {"LPT9.a.b", F::NotAFileName},
        {"aux .u", F::NotAFileName}, {"PRN", F::NotAFileName}, {"CONOUT$.u", F::NotAFileName},
        {"COM\xC2\xB9.u", F::NotAFileName}, {"lpt\xC2\xB3", F::NotAFileName}, {"COM\xC2\xB4.u", F::None},
        // UTF-8: no byte of a character beyond ASCII is a "\\" or a "|".
        {"DM-\xD0\x96" "ar.ut2", F::None}, {"\xE5\xA0\xB1\xEF\xBD\x9C.u", F::None},
    };
    for (const auto& [name, expected] : names)
        EXPECT_EQ(CheckFileName(name), expected) << "name \"" << Printable(name) << "\"";
    const std::pair<const char*, NameFault> answers[] = {
        {"Help\\Docs", F::None}, {"a\\\\b", F::None}, {"Help\\Cache", F::None}, {"Caches", F::None},
        {"My..Maps", F::None},  // dots inside a name climb nowhere
        {"", F::LeavesFolder}, {"a/../b", F::LeavesFolder}, {"/x", F::LeavesFolder}, {"\\\\server", F::LeavesFolder},
        {"...", F::LeavesFolder}, {".. ", F::LeavesFolder}, {"Help \\Docs", F::NotAFileName},  // dots drop
        {"cache\\Sub", F::CacheFolder}, {".\\CACHE", F::CacheFolder},
    };
    for (const auto& [answer, expected] : answers)
        EXPECT_EQ(CheckSubFolder(answer), expected) << "answer \"" << answer << "\"";
}
