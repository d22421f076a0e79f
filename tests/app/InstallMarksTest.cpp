// Install marks of the listing: whether each row's file is already where un-caching puts it.
#include <gtest/gtest.h>

#include <cctype>
#include <random>

#include "app/InstallMarks.h"
#include "cache/FileType.h"
#include "support/FakeFileSystem.h"

namespace {

const std::string Game = "C:\\Games\\UT2003";

void Put(FakeFileSystem& fs, const std::string& path, std::uint64_t size, std::uint64_t date, std::uint32_t attrs) {
    if (attrs & AttrFolder) return fs.AddFolder(path);
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
    struct Row {
        const char *name, *there;  // the row's real name; what is below the game folder, if anything
        std::uint64_t size, date;  // of what is there; the cached file has 10 bytes, written at 1000
        std::uint32_t attributes;
        InstallMark mark;
    };
    const Row rows[] = {
        {"DM-New.ut2", "", 0, 0, 0, InstallMark::NotInstalled},
        {"DM-Same.ut2", "Maps\\DM-Same.ut2", 10, 1000, 0, InstallMark::SameFile},
        {"DM-Case.ut2", "Maps\\dm-CASE.UT2", 10, 1000, 0, InstallMark::SameFile},  // letter case differs
        {"DM-Size.ut2", "Maps\\DM-Size.ut2", 11, 1000, 0, InstallMark::Different},
        {"DM-Date.ut2", "Maps\\DM-Date.ut2", 10, 1001, 0, InstallMark::Different},
        // Hidden and system: still the file the game loads, and a copy cannot take its place unasked.
        {"DM-Hidden.ut2", "Maps\\DM-Hidden.ut2", 10, 1000, AttrHidden | AttrSystem, InstallMark::SameFile},
        {"DM-Folder.ut2", "Maps\\DM-Folder.ut2", 0, 0, AttrFolder, InstallMark::Different},  // a copy there fails
        {"DM-Cut.ut2", "Maps\\DM-Cut.ut2.bak", 10, 1000, 0, InstallMark::NotInstalled},
        {"Rock.utx", "Maps\\Rock.utx", 10, 1000, 0, InstallMark::NotInstalled},  // textures go to Textures
        // "ÉtÉ" and "été": letters beyond ASCII match only as they are spelt.
        {"\xC3\x89t\xC3\x89.utx", "Textures\\\xC3\xA9t\xC3\xA9.utx", 10, 1000, 0, InstallMark::NotInstalled},
        {"\xC3\xA9t\xC3\xA9.uax", "Sounds\\\xC3\xA9t\xC3\xA9.uax", 10, 1000, 0, InstallMark::SameFile},
        {"Readme.txt", "Readme.txt", 10, 1000, 0, InstallMark::Unmarked},  // the player names its folder later
        {"Song.ogg", "", 0, 0, 0, InstallMark::NotInstalled},  // no Music folder at all
    };
    FakeFileSystem fs;
    fs.AddFolder(Game + "\\Maps");
    for (const Row& row : rows)
        if (*row.there != '\0') Put(fs, Game + "\\" + row.there, row.size, row.date, row.attributes);
    const std::size_t before = fs.Log().size();
    InstallMarks marks(fs, Game);
    std::vector<InstallMark> got;
    for (const Row& row : rows) {
        got.push_back(marks.Of(row.name, 10, 1000));
        EXPECT_EQ(got.back(), row.mark) << row.name;
    }
    const std::vector<std::string> log(fs.Log().begin() + static_cast<std::ptrdiff_t>(before), fs.Log().end());
    EXPECT_EQ(log, (std::vector<std::string>{"List C:\\Games\\UT2003\\Maps\\*", "List C:\\Games\\UT2003\\Textures\\*",
                                             "List C:\\Games\\UT2003\\Sounds\\*", "List C:\\Games\\UT2003\\Music\\*"}));
    EXPECT_EQ(MarkLegend(CountMarks(got)), "+ New: 5   = Installed: 4   * Other version: 3");
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
            if (pick(5) != 0) fs.AddFolder(Game + "\\" + sub);  // else missing
        // Rows of a few names, each there or not in any letter case, any attributes, size and date.
        std::vector<std::tuple<std::string, std::uint64_t, std::uint64_t>> rows;
        for (int i = 0; i < 30; ++i) {
            std::string name = "Pkg" + std::to_string(pick(12)) + (pick(4) == 0 ? "\xC3\xA9" : "") + endings[pick(12)];
            rows.emplace_back(name, pick(3), pick(3));
            const FileType type = ClassifyFileName(name);
            const std::string sub(type == FileType::Other ? "\\System\\" : DestinationSubFolder(type));
            if (pick(2) == 0 || !fs.Has(Game + sub)) continue;
            for (char& c : name) c = pick(2) ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
            Put(fs, Game + sub + name, pick(3), pick(3), AttrFolder * (pick(6) == 0) | AttrHidden * pick(2));
        }
        InstallMarks marks(fs, Game);
        for (const auto& [name, size, date] : rows)
            ASSERT_EQ(marks.Of(name, size, date), Reference(fs, name, size, date)) << "world " << seed << ", " << name;
        std::size_t lists = 0;
        for (const std::string& call : fs.Log()) lists += call.rfind("List ", 0) == 0;
        ASSERT_LE(lists, std::size(subs)) << "world " << seed << ": one listing per folder";
    }
}
