// The Win32 file system and the size texts on real folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
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

bool Always(std::uint64_t, std::uint64_t) { return true; }

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

    // On exact paths NUL.ut2 is a name like any other, never the null device; the device itself, a
    // character device, is no place a copy can have gone.
    EXPECT_EQ(FailureOf([&] { fs.Flush(maps + "NUL.ut2"); }), Win32ErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(FailureOf([&] { fs.Flush("\\\\.\\NUL"); }), Win32ErrorText(ERROR_BAD_DEVICE));
    // The ANSI functions would end each path at its NUL byte and act on cache.ini, plain or Cache.
    // Exists fails rather than say "no"; the operations that ActsOnExactlyTheFileNamed does not catch
    // bypassing the exact path show that they take their paths through the same check.
    const std::string f = maps + "plain", index = game.Index();
    const Names before = TempGame::Tree(game.Folder());
    const std::string nul(1, '\0'), ini = game.Path("\\Cache\\cache.ini") + nul + "x", fx = f + nul + "x";
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"Exists", [&] { fs.Exists(ini); }},          {"Flush", [&] { fs.Flush(ini); }},
        {"Replace onto", [&] { fs.Replace(f, ini); }}, {"Rename from", [&] { fs.Rename(fx, maps + "g.ut2"); }},
        // Wine makes a long path's folder without the exact form too: only this row sees one bypassed.
        {"MakeFolder", [&] { fs.MakeFolder(game.Path("\\Cache\\Sub") + nul); }},
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
        {"copy in pieces onto read-only", ~0u, [&] { (void)fs.CopyWithProgress(file, ro, Always); }, ERROR_ACCESS_DENIED},
        {"copy in pieces onto a locked file", 0, [&] { (void)fs.CopyWithProgress(file, held, Always); },
         ERROR_SHARING_VIOLATION},
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

// The un-cache run's copy and comparison: a mebibyte between reports, the source's last-write time
// kept, and a copy stopped part way (by Cancel or a failure) leaves nothing at the destination.
TEST_F(Win32FileSystemWin, ACopyInPiecesReportsEachAndAStoppedOneLeavesNoFile) {
    const std::string source = maps + "big.ut2", copy = game.Path("\\Textures\\big.ut2");
    std::string bytes(5 << 19, '\0');  // two and a half mebibytes
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 1000);
    TempGame::Write(source, bytes);
    const FILETIME written{0x12345678, 0x01d00000};
    {
        const std::shared_ptr<void> h(CreateFileA(source.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                                                  nullptr), CloseHandle);
        SetFileTime(h.get(), nullptr, nullptr, &written);
    }
    std::vector<std::string> reports;
    // Records each report and goes on until the `stopAt`-th, which stops the copy or fails.
    const auto until = [&reports](std::size_t stopAt, bool fail) {
        return [&reports, stopAt, fail](std::uint64_t copied, std::uint64_t size) {
            reports.push_back(std::to_string(copied) + "/" + std::to_string(size));
            if (reports.size() < stopAt) return true;
            if (fail) throw Failure("Stopped.");
            return false;
        };
    };
    TempGame::Write(copy, bytes + "a longer file was there");
    EXPECT_TRUE(fs.CopyWithProgress(source, copy, until(100, false)));
    EXPECT_EQ(reports, (Names{"0/2621440", "1048576/2621440", "2097152/2621440", "2621440/2621440"}));
    EXPECT_TRUE(TempGame::Read(copy) == bytes);
    EXPECT_EQ(fs.LastModified(copy), (std::uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime);
    reports.clear();
    EXPECT_TRUE(fs.SameBytes(source, copy, [&](std::uint64_t compared, std::uint64_t size) {
        reports.push_back(std::to_string(compared) + "/" + std::to_string(size));
    }));
    EXPECT_EQ(reports, (Names{"1048576/2621440", "2097152/2621440", "2621440/2621440"})) << "compared likewise";

    reports.clear();
    EXPECT_FALSE(fs.CopyWithProgress(source, copy, until(2, false)));
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_EQ(GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES) << "cancelled part way: no file";
    EXPECT_EQ(FailureOf([&] { (void)fs.CopyWithProgress(source, copy, until(3, true)); }), "Stopped.");
    EXPECT_EQ(GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES) << "failed part way: no file";
    EXPECT_TRUE(TempGame::Read(source) == bytes) << "the source is never changed";
}

// Streams are the exports': a package read piece by piece, an archive written so, its headers
// completed and a part that did not pay cut off again, then closed and renamed.
TEST_F(Win32FileSystemWin, StreamsReadAndWriteExactBytesInPiecesAndHoldTheirFilesOpen) {
    const std::string file = maps + "new.zip", source = maps + "source.ut2", taken = maps + "taken.zip";
    TempGame::Write(source, std::string("a\0b\r\nc", 6) + std::string(100000, 'x'));
    TempGame::Write(taken, "kept");
    std::unique_ptr<WriteStream> out = fs.CreateNew(file);
    out->Write("header??body");
    out->WriteAt(6, "!!");
    out->Write("-more");
    out->Truncate(12);
    out->Write("+tail");
    // While it is written, no one else opens it, and it is not renamed or deleted.
    EXPECT_EQ(FailureOf([&] { fs.OpenRead(file); }), Win32ErrorText(ERROR_SHARING_VIOLATION));
    EXPECT_NE(FailureOf([&] { fs.Move(file, maps + "moved.zip", false); }), "<no failure>");
    out->Finish();
    out.reset();
    EXPECT_EQ(TempGame::Read(file), "header!!body+tail");
    fs.Move(file, maps + "moved.zip", false);

    std::unique_ptr<ReadStream> in = fs.OpenRead(source);
    std::string read, piece(40000, '\0');
    for (std::size_t got; (got = in->Read(piece.data(), piece.size())) != 0;) read.append(piece, 0, got);
    EXPECT_TRUE(read == TempGame::Read(source)) << read.size() << " bytes read";
    EXPECT_EQ(in->Read(piece.data(), piece.size()), 0u) << "at the end it stays";

    EXPECT_EQ(FailureOf([&] { fs.CreateNew(taken); }), Win32ErrorText(ERROR_FILE_EXISTS));
    EXPECT_EQ(FailureOf([&] { fs.OpenRead(maps + "missing.ut2"); }), Win32ErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(TempGame::Read(taken), "kept");
}

// Every operation reaches exactly the file named: a final dot or blank is not trimmed (which would
// make "cache.ini." cache.ini), a name beyond the code page is not a look-alike, a folder name may
// hold any characters, a path may be longer than 260 characters, and a short (8.3) name of another
// file is left alone.
TEST_F(Win32FileSystemWin, ActsOnExactlyTheFileNamed) {
    const std::string cache = game.Path("\\Cache\\"), key = TempGame::KeyFor(1), valid = game.Cached(key);
    const std::string index = game.Index(), validBytes = TempGame::Read(valid);
    const std::string strays[] = {"cache.ini.", key + "-1.uxx ", "\xC4\x80" + key.substr(1) + "-1.uxx",
                                  "Lost-1.uxx."};
    for (const std::string& name : strays) fs.WriteNew(cache + name, "stray " + name);
    const auto names = [&](const std::string& folder) {
        Names found;
        for (const FoundFile& f : fs.List(folder + "*")) found.push_back(f.name);
        std::sort(found.begin(), found.end());
        return found;
    };
    Names all = {".", "..", key + "-1.uxx", "cache.ini"};
    all.insert(all.end(), std::begin(strays), std::end(strays));
    std::sort(all.begin(), all.end());
    EXPECT_EQ(names(cache), all);
    for (const std::string& name : strays) {
        EXPECT_TRUE(fs.Exists(cache + name)) << name;
        EXPECT_EQ(fs.SizeOf(cache + name), 6 + name.size()) << name;
        EXPECT_EQ(fs.ReadAll(cache + name), "stray " + name);
        fs.Remove(cache + name);
    }
    EXPECT_EQ(names(cache), (Names{".", "..", key + "-1.uxx", "cache.ini"}));
    EXPECT_EQ(game.Index(), index);
    EXPECT_EQ(TempGame::Read(valid), validBytes);

    // A folder named "Игры" and a file "DM-Жar.ut2" in it; then a path of over 300 characters.
    const std::string games = game.Path("\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B"), zh = "DM-\xD0\x96" "ar.ut2";
    std::string deep = games;
    fs.MakeFolder(deep);
    for (int i = 0; i < 3; ++i) fs.MakeFolder(deep += "\\" + std::string(100, 'd'));
    for (const std::string& folder : {games, deep}) {
        SCOPED_TRACE(folder.size());
        fs.WriteNew(folder + "\\" + zh, "map");
        fs.Copy(folder + "\\" + zh, folder + "\\copy.ut2");
        fs.Move(folder + "\\copy.ut2", folder + "\\moved.ut2", false);
        EXPECT_TRUE(fs.SameBytes(folder + "\\" + zh, folder + "\\moved.ut2"));
        EXPECT_EQ(names(folder + "\\").at(2), zh);
        fs.Remove(folder + "\\moved.ut2");
        EXPECT_EQ(fs.ReadAll(folder + "\\" + zh), "map");
    }

    // The short name Windows (and Wine) give a long name: a file of that name is not there, and no
    // operation reaches the long-named file through it.
    fs.WriteNew(cache + "LongFileName-1.uxx", "long");
    WIN32_FIND_DATAW data;
    const std::wstring wide = L"\\\\?\\" + std::wstring(cache.begin(), cache.end()) + L"LongFileName-1.uxx";
    const HANDLE find = FindFirstFileW(wide.c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);
    const std::wstring alias = data.cAlternateFileName;
    ASSERT_FALSE(alias.empty()) << "no short name to try";
    const std::string shortName(alias.begin(), alias.end()), shortPath = cache + shortName,
                      refused = "\"" + shortName + "\" is only the short name of another file, so Morvane leaves it alone.";
    EXPECT_FALSE(fs.Exists(shortPath));
    EXPECT_EQ(FailureOf([&] { fs.Remove(shortPath); }), refused);
    EXPECT_EQ(FailureOf([&] { fs.Copy(valid, shortPath); }), refused);
    EXPECT_EQ(fs.ReadAll(cache + "LongFileName-1.uxx"), "long");
}
