// The Win32 file system and the size texts on real folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>

#include "platform/Failure.h"
#include "platform/Win32Error.h"
#include "platform/Win32FileSystem.h"
#include "platform/Win32SizeFormatter.h"
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

class Win32FileSystemWin : public testing::Test {
protected:
    TempGame game{{{TempGame::KeyFor(1), "A.utx"}}};
    Win32FileSystem fs;
    const std::string maps = game.Path("\\Maps\\");
};

}  // namespace

TEST_F(Win32FileSystemWin, ExistsSeesOnlyFilesWithDefaultAttributesAndPathsThatNameNoFileFailAndTouchNothing) {
    const std::pair<const char*, DWORD> made[] = {{"plain", FILE_ATTRIBUTE_NORMAL}, {"ro", FILE_ATTRIBUTE_READONLY},
                                                  {"hidden", FILE_ATTRIBUTE_HIDDEN}, {"system", FILE_ATTRIBUTE_SYSTEM}};
    for (const auto& [name, attributes] : made) {
        TempGame::Write(maps + name, "x");
        SetFileAttributesA((maps + name).c_str(), attributes);
    }
    CreateDirectoryA((maps + "Folder").c_str(), nullptr);
    const std::pair<const char*, bool> exists[] = {
        {"plain", true}, {"ro", true}, {"hidden", false}, {"system", false}, {"Folder", false}, {"missing", false},
        {"pl?in", true}, {"hid*", false}, {"NoFolder\\plain", false},  // a search; a missing folder
    };
    for (const auto& [name, expected] : exists) EXPECT_EQ(fs.Exists(maps + name), expected) << name;

    // NUL.ut2 opens the null device, a character device: a "copy" there wrote nothing.
    EXPECT_EQ(FailureOf([&] { fs.Flush(maps + "NUL.ut2"); }), Win32ErrorText(ERROR_BAD_DEVICE));
    // The ANSI functions would end each path at its NUL byte and act on cache.ini, plain or Cache.
    // (One row per operation: its other path, and listing, go through the same check.)
    const std::string f = maps + "plain", index = game.Index();
    const Names before = TempGame::Tree(game.Folder());
    const std::string nul(1, '\0'), ini = game.Path("\\Cache\\cache.ini") + nul + "x", fx = f + nul + "x",
                      fresh = maps + "new.ut2" + nul, sub = game.Path("\\Cache\\Sub") + nul, g = maps + "g.ut2";
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"Exists", [&] { fs.Exists(ini); }},           {"SizeOf", [&] { fs.SizeOf(ini); }},
        {"ReadAll", [&] { fs.ReadAll(ini); }},         {"WriteNew", [&] { fs.WriteNew(fresh, "x"); }},
        {"Flush", [&] { fs.Flush(ini); }},             {"Replace onto", [&] { fs.Replace(f, ini); }},
        {"Copy onto", [&] { fs.Copy(f, ini); }},       {"Remove", [&] { fs.Remove(ini); }},
        {"MakeFolder", [&] { fs.MakeFolder(sub); }},   {"Rename from", [&] { fs.Rename(fx, g); }},
    };
    for (const auto& [name, step] : steps) EXPECT_EQ(FailureOf(step), Win32ErrorText(ERROR_INVALID_NAME)) << name;
    EXPECT_EQ(TempGame::Tree(game.Folder()), before);
    EXPECT_EQ(game.Index(), index);
}

TEST_F(Win32FileSystemWin, WritesExactBytesAndFailsWithThePlatformsText) {
    const std::string bytes("a\0b\r\nc\n\r\xff", 9), file = maps + "f.ut2", ro = maps + "ro.ut2",
                      held = maps + "held.ut2", other = maps + "other.ut2";
    for (const std::string& path : {ro, held}) TempGame::Write(path, std::string(100, 'z'));
    SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY);
    // Writing, reading and sizes are the index's and the listing's, checked with the windows.
    fs.WriteNew(file, bytes);
    EXPECT_EQ(Win32SizeFormatter().FormatByteSize(5000000000ull), "4.65 GB");  // the windows show smaller sizes
    // Each step fails with the platform's text while held.ut2 is held open with the share mode
    // `share` (~0: not held), and changes neither ro.ut2 nor held.ut2.
    const struct { const char* name; DWORD share; std::function<void()> step; DWORD error; } fails[] = {
        // Refused as on Windows, although Wine as root would replace the read-only file.
        {"copy onto read-only", ~0u, [&] { fs.Copy(file, ro); }, ERROR_ACCESS_DENIED},
        {"move onto read-only", ~0u, [&] { fs.Move(file, ro, true); }, ERROR_ACCESS_DENIED},
        {"remove read-only", ~0u, [&] { fs.Remove(ro); }, ERROR_ACCESS_DENIED},
        {"move onto a file", ~0u, [&] { fs.Move(file, held, false); }, ERROR_ALREADY_EXISTS},
        {"write a new file onto one", ~0u, [&] { fs.WriteNew(held, bytes); }, ERROR_FILE_EXISTS},
        {"make a folder named as a file", ~0u, [&] { fs.MakeFolder(file); }, ERROR_ALREADY_EXISTS},
        {"copy onto a locked file", 0, [&] { fs.Copy(file, held); }, ERROR_SHARING_VIOLATION},
        {"read a locked file", 0, [&] { fs.ReadAll(held); }, ERROR_SHARING_VIOLATION},
        {"compare with a locked file", 0, [&] { fs.SameBytes(file, held); }, ERROR_SHARING_VIOLATION},
        {"replace a file held open", FILE_SHARE_READ, [&] { fs.Replace(file, held); }, ERROR_ACCESS_DENIED},
        {"list a missing folder", ~0u, [&] { fs.List(game.Path("\\Missing\\*")); }, ERROR_PATH_NOT_FOUND},
    };
    for (const auto& f : fails) {
        std::shared_ptr<void> lock;
        if (f.share != ~0u)
            lock = {CreateFileA(held.c_str(), GENERIC_READ, f.share, nullptr, OPEN_EXISTING, 0, nullptr), CloseHandle};
        EXPECT_EQ(FailureOf(f.step), Win32ErrorText(f.error)) << f.name;
    }
    EXPECT_EQ(TempGame::Read(ro) + TempGame::Read(held), std::string(200, 'z'));
    // Moving is the un-caching's, checked with the main window.
    TempGame::Write(other, bytes);
    EXPECT_TRUE(fs.SameBytes(file, other));
    TempGame::Write(other, std::string("a\0b\r\nc\n\r\xfe", 9));
    EXPECT_FALSE(fs.SameBytes(file, other));
}
