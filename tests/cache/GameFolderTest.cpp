// The game folder: its registry record, the cleaning of a typed folder text, the marker file, and
// the checks on names and sub-folders taken from the index or the user.
#include <gtest/gtest.h>

#include <tuple>

#include "cache/GameFolder.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

TEST(GameFolder, CleanPathTextTrimsBlanksAndOneBackslash) {
    const std::tuple<const char*, const char*, bool> cases[] = {  // text, cleaned, Shift-JIS
        {"  C:\\Games\\UT2003\\  ", "C:\\Games\\UT2003", false}, {"C:\\Games\\UT2003", "C:\\Games\\UT2003", false},
        {"C:\\Games\\UT2003\\\\", "C:\\Games\\UT2003\\", false},  // only the last backslash goes
        {"\tC:\\Games\\ ", "\tC:\\Games", false}, {"   ", "", false}, {"\\", "", false}, {"", "", false},  // a tab is no blank
        {"C:\\\x95\\", "C:\\\x95\\", true},  // the second byte of a two-byte character stays
        {"C:\\\x95\\\\", "C:\\\x95\\", true}, {"C:\\\x95\\", "C:\\\x95", false},
    };
    for (const auto& [text, expected, twoByte] : cases) {
        FakeCodePage codePage;
        codePage.twoByte = twoByte;
        EXPECT_EQ(CleanPathText(text, codePage), expected) << "text \"" << text << "\"";
    }
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

TEST(GameFolder, NamesAndSubFoldersStayInsideTheGameFolderAndAreFileNames) {
    using F = NameFault;
    const std::pair<std::string, NameFault> names[] = {
        {"DM-Rankin.ut2", F::None}, {"0123456789abcdef0123456789abcdef-1.uxx", F::None}, {"..ut2", F::None},
        {"CONSOLE.u", F::None}, {"COM10.uax", F::None}, {"NULL.ut2", F::None}, {"x.nul", F::None},
        {"", F::LeavesFolder}, {".", F::LeavesFolder}, {"..", F::LeavesFolder}, {"..\\x.u", F::LeavesFolder},
        {"a/b.u", F::LeavesFolder}, {"C:x.u", F::LeavesFolder}, {"x.u:stream", F::LeavesFolder},
        // Devices whatever the case or extension, also with blanks before the dot, and names that
        // Windows would write elsewhere or not at all.
        {"NUL.ut2", F::NotAFileName}, {"nul", F::NotAFileName}, {"Com1.uax", F::NotAFileName},
        {"LPT9.a.b", F::NotAFileName}, {"aux .u", F::NotAFileName}, {"PRN", F::NotAFileName},
        {"CONOUT$.u", F::NotAFileName}, {"COM\xB9.u", F::NotAFileName}, {"Map.ut2.", F::NotAFileName},
        {"Map.ut2 ", F::NotAFileName}, {std::string("cache.ini\0.ut2", 14), F::NotAFileName},
        {"Tab\there.u", F::NotAFileName}, {"a?.u", F::NotAFileName}, {"a*.u", F::NotAFileName},
        {"a<b>.u", F::NotAFileName}, {"a|b.u", F::NotAFileName}, {"\"q\".u", F::NotAFileName},
    };
    FakeCodePage codePage;
    for (const auto& [name, expected] : names)
        EXPECT_EQ(CheckFileName(name, codePage), expected) << "name \"" << Printable(name) << "\"";
    const std::pair<const char*, NameFault> answers[] = {
        {"Help", F::None}, {"Help\\Docs", F::None}, {"Help\\", F::None}, {"My..Maps", F::None}, {"a\\\\b", F::None},
        {"Help\\Cache", F::None}, {"Caches", F::None},  // dots inside a name climb nowhere
        {"", F::LeavesFolder}, {"..", F::LeavesFolder}, {"a\\..\\b", F::LeavesFolder}, {"a/../b", F::LeavesFolder},
        {"Help\\..", F::LeavesFolder}, {"\\x", F::LeavesFolder}, {"/x", F::LeavesFolder}, {"C:x", F::LeavesFolder},
        {"C:\\Games", F::LeavesFolder}, {"\\\\server\\share", F::LeavesFolder},  // rooted, a drive, a share
        {"...", F::LeavesFolder}, {".. ", F::LeavesFolder}, {"a\\...\\b", F::LeavesFolder},  // trailing dots drop
        {"Help\\NUL", F::NotAFileName}, {"com3\\x", F::NotAFileName}, {"Help.", F::NotAFileName},
        {"Help \\Docs", F::NotAFileName}, {"He\x01lp", F::NotAFileName}, {"H?lp", F::NotAFileName},
        {"Cache", F::CacheFolder}, {"cache\\Sub", F::CacheFolder}, {".\\CACHE", F::CacheFolder},
        {"Cache/x", F::CacheFolder},
    };
    for (const auto& [answer, expected] : answers)
        EXPECT_EQ(CheckSubFolder(answer, codePage), expected) << "answer \"" << answer << "\"";
    // On Shift-JIS Windows, 0x5C and 0x7C after a lead byte are halves of a character, not "\" or "|".
    codePage.twoByte = true;
    EXPECT_EQ(CheckFileName("\x95\\\x83|.ut2", codePage), F::None);
    EXPECT_EQ(CheckSubFolder("\x95\\\\Docs", codePage), F::None);
    EXPECT_EQ(CheckFileName("a\\\x95\\.u", codePage), F::LeavesFolder) << "a real backslash before the character";
}
