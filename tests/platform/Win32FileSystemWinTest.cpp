// The Win32 file system, the index rewrite, the folder listing and the size texts on real folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>

#include "cache/CacheIndex.h"
#include "platform/Failure.h"
#include "platform/MFiles.h"
#include "platform/Win32CodePage.h"
#include "platform/Win32Error.h"
#include "platform/Win32FileSystem.h"
#include "platform/Win32SizeFormatter.h"
#include "support/Fakes.h"
#include "support/TempGame.h"

namespace {

using Names = std::vector<std::string>;

// The description a step fails with, checked to be one clean line; "<no failure>" if it succeeds.
std::string FailureOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const Failure& f) {
        const std::string text = f.what();
        EXPECT_FALSE(text.empty() || text.back() == '\n' || text.back() == '\r') << "[" << text << "]";
        return text;
    }
    return "<no failure>";
}

// Holds a file open with the given share mode until the result is destroyed.
std::shared_ptr<void> Hold(const std::string& path, DWORD share) {
    return {CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr), CloseHandle};
}

}  // namespace

TEST(Win32FileSystemWin, ExistsSeesOnlyFilesWithDefaultAttributes) {
    TempGame game;
    Win32FileSystem fs;
    const std::string dir = game.Path("\\Maps\\");
    // make: the attributes of a file made first, or a folder; 0: nothing is made
    const struct { const char* name; DWORD make; bool exists; } rows[] = {
        {"plain", FILE_ATTRIBUTE_NORMAL, true},      {"ro", FILE_ATTRIBUTE_READONLY, true},
        {"hidden", FILE_ATTRIBUTE_HIDDEN, false},    {"system", FILE_ATTRIBUTE_SYSTEM, false},
        {"Folder", FILE_ATTRIBUTE_DIRECTORY, false}, {"missing", 0, false},
        {"PLAIN", 0, true},  // names match without letter case
        {"pl?in", 0, true}, {"hid*", 0, false}, {"NoFolder\\plain", 0, false},  // a search; a missing folder
    };
    for (const auto& row : rows) {
        const std::string path = dir + row.name;
        if (row.make == FILE_ATTRIBUTE_DIRECTORY) {
            CreateDirectoryA(path.c_str(), nullptr);
        } else if (row.make != 0) {
            TempGame::Write(path, "x");
            SetFileAttributesA(path.c_str(), row.make);
        }
        EXPECT_EQ(fs.Exists(path), row.exists) << row.name;
    }
}

TEST(Win32FileSystemWin, MovesExactBytesAndFailsWithThePlatformsText) {
    TempGame game;
    Win32FileSystem fs;
    const std::string bytes("a\0b\r\nc\n\r\xff", 9), file = game.Path("\\Maps\\f.ut2"),
                      ro = game.Path("\\Maps\\ro.ut2"), held = game.Path("\\Maps\\held.ut2");
    for (const std::string& path : {ro, held}) TempGame::Write(path, std::string(100, 'z'));
    fs.WriteNew(file, bytes);
    EXPECT_EQ(TempGame::Read(file), bytes);
    EXPECT_EQ(fs.ReadAll(file), bytes);
    EXPECT_EQ(fs.SizeOf(file), 9u);
    EXPECT_EQ(fs.Flush(file), 9u);
    SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY);
    // Refused as on Windows, although Wine as root would replace it on a copy or a move.
    using Step = std::function<void()>;
    for (const Step& step : {Step([&] { fs.Copy(file, ro); }), Step([&] { fs.Move(file, ro, true); }),
                             Step([&] { fs.Remove(ro); })})
        EXPECT_EQ(FailureOf(step), Win32ErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(TempGame::Read(ro), std::string(100, 'z'));
    EXPECT_EQ(FailureOf([&] { fs.Move(file, held, false); }), Win32ErrorText(ERROR_ALREADY_EXISTS));
    const std::string moved = game.Path("\\Textures\\f.ut2");
    fs.Move(file, moved, false);
    EXPECT_EQ(TempGame::Read(moved), bytes);
    EXPECT_FALSE(TempGame::IsFile(file));
    TempGame::Write(file, bytes);
    EXPECT_TRUE(fs.SameBytes(file, moved));
    TempGame::Write(file, std::string("a\0b\r\nc\n\r\xfe", 9));
    EXPECT_FALSE(fs.SameBytes(file, moved));
    EXPECT_FALSE(fs.SameBytes(file, held));
    fs.Move(moved, file, true);
    EXPECT_EQ(TempGame::Read(file), bytes);
    EXPECT_EQ(FailureOf([&] { fs.Copy(file, game.Path("\\NoFolder\\f.ut2")); }), Win32ErrorText(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(FailureOf([&] { fs.MakeFolder(file); }), Win32ErrorText(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(FailureOf([&] { fs.WriteNew(held, bytes); }), Win32ErrorText(ERROR_FILE_EXISTS));
    {
        const auto lock = Hold(held, 0);
        EXPECT_EQ(FailureOf([&] { fs.Copy(file, held); }), Win32ErrorText(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(TempGame::Read(held), std::string(100, 'z'));
}

TEST(Win32FileSystemWin, PathsThatNameNoFileFailAndTouchNothing) {
    TempGame game({{TempGame::KeyFor(1), "A.utx"}});
    Win32FileSystem fs;
    const std::string index = game.Index(), maps = game.Path("\\Maps\\"), f = maps + "f.ut2";
    TempGame::Write(f, "f");
    // Under Wine NUL.ut2 opens the null device and COM1.uax the host's /dev/ttyS0, each a character
    // device; where the host has no ttyS0, COM1 is not found. Flush writes to neither.
    EXPECT_EQ(FailureOf([&] { fs.Flush(maps + "NUL.ut2"); }), Win32ErrorText(ERROR_BAD_DEVICE));
    const std::string com1 = FailureOf([&] { fs.Flush(maps + "COM1.uax"); });
    EXPECT_TRUE(com1 == Win32ErrorText(ERROR_BAD_DEVICE) || com1 == Win32ErrorText(ERROR_FILE_NOT_FOUND)) << com1;

    // The ANSI functions would end each path at its NUL byte and act on cache.ini, f.ut2 or Cache.
    const Names before = TempGame::Tree(game.Folder());
    const std::string nul(1, '\0'), ini = game.Path("\\Cache\\cache.ini") + nul + "x", fx = f + nul + "x",
                      fresh = maps + "new.ut2" + nul, sub = game.Path("\\Cache\\Sub") + nul, g = maps + "g.ut2";
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"Exists", [&] { fs.Exists(ini); }},           {"SizeOf", [&] { fs.SizeOf(ini); }},
        {"ReadAll", [&] { fs.ReadAll(ini); }},         {"WriteNew", [&] { fs.WriteNew(fresh, "x"); }},
        {"Flush", [&] { fs.Flush(ini); }},             {"Replace from", [&] { fs.Replace(fx, ini); }},
        {"Replace onto", [&] { fs.Replace(f, ini); }}, {"Copy from", [&] { fs.Copy(ini, g); }},
        {"Copy onto", [&] { fs.Copy(f, ini); }},       {"Remove", [&] { fs.Remove(ini); }},
        {"MakeFolder", [&] { fs.MakeFolder(sub); }},   {"Rename from", [&] { fs.Rename(fx, g); }},
        {"Rename onto", [&] { fs.Rename(f, fresh); }}, {"List", [&] { fs.List(game.Path("\\Cache\\*") + nul); }},
    };
    for (const auto& [name, step] : steps) EXPECT_EQ(FailureOf(step), Win32ErrorText(ERROR_INVALID_NAME)) << name;
    EXPECT_EQ(TempGame::Tree(game.Folder()), before);
    EXPECT_EQ(game.Index(), index);
    EXPECT_EQ(TempGame::Read(f), "f");
}

TEST(Win32FileSystemWin, IndexRewriteIsAllOrNothing) {
    const std::string k1 = TempGame::KeyFor(1), k2 = TempGame::KeyFor(2);
    TempGame game({{k1, "A.utx"}, {k2, "B.ut2"}});
    Win32FileSystem fs;
    Win32CodePage codePage;
    const std::string old = game.Index(), leftover = game.Path("\\Cache\\cache-new.ini");
    for (DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ}}) {  // unreadable; readable but not replaceable
        {
            const auto lock = Hold(game.Path("\\Cache\\cache.ini"), share);
            EXPECT_NE(FailureOf([&] { RewriteIndexFiltered(fs, codePage, game.Folder(), {k1}); }), "<no failure>")
                << share;
        }
        EXPECT_EQ(game.Index(), old) << share;
        EXPECT_FALSE(TempGame::IsFile(leftover)) << share;
    }
    RewriteIndexFiltered(fs, codePage, game.Folder(), {k1});
    EXPECT_EQ(game.Index(), "[Cache]\r\n" + k2 + "=B.ut2\r\n");
    EXPECT_FALSE(TempGame::IsFile(leftover));
}

TEST(Win32FileSystemWin, ListFilesSortsTheFilesOfARealFolder) {
    TempGame game;
    Win32FileSystem fs;
    const std::string folder = game.Path("\\Cache");
    CreateDirectoryA((folder + "\\Sub").c_str(), nullptr);
    for (const char* name : {"b.utx", "A.ut2", "c.ini", "h.dat"}) TempGame::Write(folder + "\\" + name, "x");
    SetFileAttributesA((folder + "\\h.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ScriptedPrompts prompts;
    Names names;
    MFiles::ListFiles(fs, prompts, folder, names);
    EXPECT_EQ(names, (Names{"", "A.ut2", "b.utx", "c.ini", "cache.ini", "h.dat"}));
    EXPECT_TRUE(prompts.shown.empty());
    MFiles::ListFiles(fs, prompts, game.Path("\\Missing"), names);
    EXPECT_EQ(names, (Names{"", ""}));
    EXPECT_EQ(prompts.Titles(), Names{"Morvane: Invalid filename!"});
    EXPECT_EQ(prompts.shown.at(0).icon, MsgIcon::Critical);
}

TEST(Win32SizeFormatterWin, FormatsAsWindowsDoes) {
    Win32SizeFormatter sizes;
    EXPECT_EQ(sizes.FormatByteSize(0), "0 bytes");
    EXPECT_EQ(sizes.FormatByteSize(1536), "1.50 KB");
    EXPECT_EQ(sizes.FormatByteSize(5000000000ull), "4.65 GB");
}
