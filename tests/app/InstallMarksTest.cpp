// Install marks of the listing: whether each row's file is already where un-caching puts it.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <tuple>

#include "app/InstallMarks.h"
#include "cache/FileType.h"
#include "support/FakeFileSystem.h"

namespace {

constexpr const char* Game = "C:\\Games\\UT2003";
constexpr std::uint64_t Size = 10, Date = 1000;  // of every row's cached file in the table

std::string Dest(std::string_view sub, std::string_view name) {
    return std::string(Game) + "\\" + std::string(sub) + "\\" + std::string(name);
}

void Put(FakeFileSystem& fs, const std::string& path, std::uint64_t size, std::uint64_t date, std::uint32_t attrs = 0) {
    fs.AddFile(path, std::string(size, 'x'), attrs);
    fs.SetModified(path, date);
}

// The mark as one query per row finds it: the size and time of the destination path itself.
InstallMark Reference(FakeFileSystem& fs, const std::string& name, std::uint64_t size, std::uint64_t date) {
    const FileType type = ClassifyFileName(name);
    if (type == FileType::Other) return InstallMark::Unmarked;
    const std::string path = Game + std::string(DestinationSubFolder(type)) + name;
    try {
        const bool same = fs.SizeOf(path) == size && fs.LastModified(path) == date;
        return same ? InstallMark::SameFile : InstallMark::Different;
    } catch (const Failure&) {
        return fs.Has(path) ? InstallMark::Different : InstallMark::NotInstalled;  // a folder of that name
    }
}

}  // namespace

TEST(InstallMarks, MarksEachRowFromOneListingOfItsDestinationFolder) {
    FakeFileSystem fs;
    for (const char* sub : {"Maps", "Textures", "Sounds"}) fs.AddFolder(Dest(sub, ""));
    Put(fs, Dest("Maps", "DM-Same.ut2"), Size, Date);
    Put(fs, Dest("Maps", "dm-CASE.UT2"), Size, Date);
    Put(fs, Dest("Maps", "DM-Size.ut2"), Size + 1, Date);
    Put(fs, Dest("Maps", "DM-Date.ut2"), Size, Date + 1);
    Put(fs, Dest("Maps", "DM-Hidden.ut2"), Size, Date, AttrHidden | AttrSystem);
    fs.AddFolder(Dest("Maps", "DM-Folder.ut2"));
    Put(fs, Dest("Maps", "DM-Cut.ut2.bak"), Size, Date);
    Put(fs, Dest("Maps", "Rock.utx"), Size, Date);
    Put(fs, Dest("Textures", "\xC3\xA9t\xC3\xA9.utx"), Size, Date);  // "été"
    Put(fs, Dest("Sounds", "\xC3\xA9t\xC3\xA9.uax"), Size, Date);
    Put(fs, Dest("", "Readme.txt"), Size, Date);
    const std::pair<const char*, InstallMark> rows[] = {
        {"DM-New.ut2", InstallMark::NotInstalled},
        {"DM-Same.ut2", InstallMark::SameFile},
        {"DM-Case.ut2", InstallMark::SameFile},       // letter case differs on disk
        {"DM-Size.ut2", InstallMark::Different},
        {"DM-Date.ut2", InstallMark::Different},
        {"DM-Hidden.ut2", InstallMark::SameFile},     // hidden and system: still the file the game loads
        {"DM-Folder.ut2", InstallMark::Different},    // a folder: a copy there fails
        {"DM-Cut.ut2", InstallMark::NotInstalled},    // a longer name is another name
        {"Rock.utx", InstallMark::NotInstalled},      // in Maps, but textures go to Textures
        {"\xC3\x89t\xC3\x89.utx", InstallMark::NotInstalled},  // "ÉtÉ": beyond ASCII only exact names match
        {"\xC3\xA9t\xC3\xA9.uax", InstallMark::SameFile},
        {"Readme.txt", InstallMark::Unmarked},        // the player names its folder later
        {"Song.ogg", InstallMark::NotInstalled},       // no Music folder at all
    };
    const std::size_t before = fs.Log().size();
    InstallMarks marks(fs, Game);
    std::vector<InstallMark> got;
    for (const auto& [name, mark] : rows) {
        got.push_back(marks.Of(name, Size, Date));
        EXPECT_EQ(got.back(), mark) << name;
    }
    const std::vector<std::string> log(fs.Log().begin() + static_cast<std::ptrdiff_t>(before), fs.Log().end());
    EXPECT_EQ(log, (std::vector<std::string>{"List C:\\Games\\UT2003\\Maps\\*", "List C:\\Games\\UT2003\\Textures\\*",
                                             "List C:\\Games\\UT2003\\Sounds\\*", "List C:\\Games\\UT2003\\Music\\*"}));
    EXPECT_EQ(MarkLegend(CountMarks(got)), "New: 5 \xC2\xB7 Installed: 4 \xC2\xB7 Other version: 3");
}

TEST(InstallMarks, AgreeWithAQueryPerRowOnRandomGameFolders) {
    const char* const subs[] = {"System", "Maps", "Textures", "Sounds", "Music", "StaticMeshes", "Saves", "Animations"};
    const char* const endings[] = {".u", ".int", ".ut2", ".utx", ".uax", ".umx", ".ogg", ".usx", ".uvx", ".ukx",
                                   ".txt", ".UT2"};
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
        FakeFileSystem fs;
        for (const char* sub : subs)
            if (pick(5) != 0) fs.AddFolder(Dest(sub, ""));
        std::vector<std::tuple<std::string, std::uint64_t, std::uint64_t>> rows;
        for (int i = 0; i < 30; ++i) {
            std::string name = "Pkg" + std::to_string(pick(12)) + (pick(4) == 0 ? "\xC3\xA9" : "") + endings[pick(12)];
            const std::uint64_t size = pick(3), date = pick(3);
            rows.emplace_back(name, size, date);
            // Where it is already there, then in any letter case, with any attributes, of any size and
            // date, or as a folder; its folder may be missing.
            const FileType type = ClassifyFileName(name);
            if (pick(2) == 0) continue;
            for (char& c : name)
                if (pick(2) == 0) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            const std::string sub(type == FileType::Other ? "\\System\\" : DestinationSubFolder(type));
            if (!fs.Has(Game + sub)) continue;
            const auto attributes = static_cast<std::uint32_t>(pick(2) * AttrHidden | pick(2) * AttrReadOnly);
            if (pick(6) == 0) fs.AddFolder(Game + sub + name);
            else Put(fs, Game + sub + name, pick(3), pick(3), attributes);
        }
        InstallMarks marks(fs, Game);
        for (const auto& [name, size, date] : rows) {
            const InstallMark mark = marks.Of(name, size, date);
            ASSERT_EQ(mark, Reference(fs, name, size, date)) << "world " << seed << ", " << name;
        }
        std::size_t lists = 0;
        for (const std::string& call : fs.Log()) lists += call.rfind("List ", 0) == 0;
        ASSERT_LE(lists, std::size(subs)) << "world " << seed << ": one listing per folder";
    }
}
