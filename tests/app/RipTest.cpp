// The main window's behaviour: the folder check, the listing with its statistics, Select All.
#include <gtest/gtest.h>

#include "support/World.h"

namespace {

std::string K(int n) { return World::KeyFor(n); }

// The keys of the listing's slots, as text of their own.
std::vector<std::string> Keys(const World& w) { return {w.rip.CacheKeys.begin(), w.rip.CacheKeys.end()}; }

}  // namespace

TEST(RipLoadCache, ListsEachCachedFileWithItsSlotAndCountsItsCategory) {
    World w(World::Keyed({"DM-Test.ut2", "DM-Gone.ut2", "Foo.U", "Bar.u", "Bar.int", "Song.ogg", "Theme.umx",
                          "Rock.utx", "Boom.uax", "Crane.usx", "Game.uvx", "Rig.ukx", "Readme.txt", "DM-Big.UT2"}));
    w.fs.Remove(w.Cached(K(2)));  // DM-Gone: neither listed nor counted, and given no slot
    // Short lines, headers, blanks and a 34-character line are never rows.
    w.fs.AddFile(w.Path("\\Cache\\cache.ini"), "\r\nabc=Short.u\r\n  \r\n" + K(99) + "=a\r\n" + w.Index());
    w.rip.LoadCache();
    EXPECT_EQ(Keys(w), (std::vector<std::string>{"", "", K(1), K(3), K(4), K(5), K(6), K(7), K(8), K(9), K(10),
                                                         K(11), K(12), K(13), K(14)}));
    EXPECT_EQ(w.Rows(), "DM-Test.ut2@2 Foo.U@3 Bar.u@4 Bar.int@5 Song.ogg@6 Theme.umx@7 Rock.utx@8 Boom.uax@9 "
                        "Crane.usx@10 Game.uvx@11 Rig.ukx@12 Readme.txt@13 DM-Big.UT2@14 ");
    std::string labels;  // in the order of RipLabel
    for (const auto& [label, caption] : w.view.labels) labels += caption + "|";
    EXPECT_EQ(labels, "System files (*.u, *.int) : 2|Maps (*.ut2) : 1|Animations (*.ukx) : 1|Static Meshes (*.usx) : 1|"
                      "Textures (*.utx) : 1|Sounds (*.uax) : 1|Music files (*.umx, *.ogg) : 2|Save files (*.uvx) : 1|"
                      "Unknown (other) : 3|Cache size:  <130> / 13 files  =  <10> / file||"  // Foo.U, Readme, DM-Big
                      "+ New: 10   = Installed: 0   * Other version: 0|");
}

TEST(RipLoadCache, SizeLineShowsTotalCountAndAverageRoundedHalvesToEven) {
    const std::pair<std::vector<std::size_t>, const char*> cases[] = {
        {{}, "<0> / 0 files  =  <0>"},
        {{1, 2}, "<3> / 2 files  =  <2>"}, {{2, 3}, "<5> / 2 files  =  <2>"},  // 1.5 and 2.5 go to the even 2
    };
    for (const auto& [sizes, line] : cases) {
        World w(World::Keyed(std::vector<std::string>(sizes.size(), "File.utx")));
        for (std::size_t i = 0; i < sizes.size(); ++i)
            w.fs.AddFile(w.Cached(w.entries[i].first), std::string(sizes[i], 'x'));
        w.rip.LoadCache();
        EXPECT_EQ(w.view.labels[RipLabel::MB], "Cache size:  " + std::string(line) + " / file");
    }
}

TEST(RipListing, SelectAllThenAnInvalidFolderLeavesEverythingAndAMissingIndexEmptiesTheListAndItsCounts) {
    World w(World::Keyed({"DM-One.ut2", "Bar.u"}));
    w.Select({});
    w.rip.cmdSelAll_Click();
    const auto labels = w.view.labels;
    w.view.path = "C:\\Nowhere";
    w.rip.cmdRefresh_Click();
    EXPECT_EQ(w.Shown(), (std::vector<std::string>{"Morvane: Invalid path!", "Morvane: Please enter a valid path!"}));
    EXPECT_EQ(w.view.pathReturns, 4) << "the path box is selected and focused each time";
    EXPECT_TRUE(w.view.rows.size() == 2 && w.view.rows[0].selected && w.view.rows[1].selected && w.view.current == 1)
        << "both rows still there and selected, the last one current";
    EXPECT_EQ(Keys(w), (std::vector<std::string>{"", "", K(1), K(2)}));
    EXPECT_EQ(w.view.labels, labels);
    // The folder check cleans the text and finds the index, the listing's own lookup then does not.
    w.view.path = "  C:\\Games\\UT2003\\  ";
    w.fs.FailOn(FsOp::Exists, w.Path("\\Cache\\cache.ini"), "Not ready.", 2);
    w.rip.cmdRefresh_Click();
    EXPECT_EQ(w.view.path, World::Game);
    EXPECT_TRUE(w.view.rows.empty());
    EXPECT_EQ(Keys(w), (std::vector<std::string>{"", ""}));
    // The counts describe the rows shown, none: not the two files listed before.
    EXPECT_EQ(w.view.labels[RipLabel::Maps] + "|" + w.view.labels[RipLabel::MB],
              "Maps (*.ut2) : 0|Cache size:  <0> / 0 files  =  <0> / file");
}

TEST(RipLoadCache, AFailureWhileFillingTheListLeavesItRedrawnWithEveryRowsKeyAndANulKeyIsNeverListed) {
    const std::string nulKey = std::string("cache.ini") + '\0' + std::string(22, 'x');  // would name cache.ini
    World w({{K(1), "DM-A.ut2"}, {nulKey, "DM-Nul.ut2"}, {K(2), "DM-B.ut2"}, {K(3), "DM-C.ut2"}});
    w.view.failRow = 1;
    EXPECT_THROW(w.rip.LoadCache(), std::bad_alloc);
    EXPECT_FALSE(w.view.redrawOff);
    EXPECT_EQ(w.Rows(), "DM-A.ut2@2 ");
    EXPECT_EQ(Keys(w), (std::vector<std::string>{"", "", K(1)})) << "no key without its row";
    EXPECT_EQ(w.view.labels[RipLabel::Maps] + "|" + w.view.labels[RipLabel::MB],
              "Maps (*.ut2) : 1|Cache size:  <10> / 1 files  =  <10> / file") << "the counts of the rows shown";
    w.view.failRow = -1;
    w.rip.LoadCache();
    EXPECT_EQ(w.Rows(), "DM-A.ut2@2 DM-B.ut2@3 DM-C.ut2@4 ");
    EXPECT_EQ(Keys(w), (std::vector<std::string>{"", "", K(1), K(2), K(3)})) << "views of the new reading's text";
}

// Find (and Escape in the path box, which presses it) puts the game's record in the path box: the
// folder then checked is the one shown, quietly, so the fixer and the runs never act on a stale check.
TEST(RipPath, FindChecksTheFolderItShows) {
    World w;
    const std::pair<const char*, bool> records[] = {{" C:\\Games\\UT2003\\ ", true}, {"C:\\Nowhere", false},
                                                    {"C:\\Games\\UT2003", true}};
    w.rip.ValidPath = false;
    for (const auto& [record, valid] : records) {
        w.registry.Set("Software\\Unreal Technology\\Installed Apps\\UT2003", "Folder", RegValue::OfText(record));
        w.rip.cmdFind_Click();
        EXPECT_EQ(w.view.path + (w.rip.ValidPath ? " valid" : " invalid"),
                  std::string(valid ? World::Game : "C:\\Nowhere") + (valid ? " valid" : " invalid"));
    }
    EXPECT_TRUE(w.Shown().empty()) << "no message: Find only fills the box";
}

// Each row is marked with whether its file is in the game folder already, the legend counts the
// marks, and "Select new files" selects exactly the new rows, which un-cache without a question.
TEST(RipListing, MarksWhatIsInstalledAndSelectsTheNewFiles) {
    World w(World::Keyed({"DM-A.ut2", "Rock.utx", "Song.ogg", "Readme.txt", "DM-B.ut2"}));
    w.fs.AddFile(w.Path("\\Textures\\Rock.utx"), World::Content(1));  // un-cached before: same size and date
    w.fs.AddFile(w.Path("\\Music\\Song.ogg"), "another version");
    w.Select({1, 2});
    std::string marks;
    for (const auto& row : w.view.rows) marks += std::string(MarkText(row.mark)) + "|";
    EXPECT_EQ(marks, "New|Installed|Other version||New|") << "Readme.txt: its folder is the player's to name";
    EXPECT_EQ(w.view.labels[RipLabel::Legend], "+ New: 2   = Installed: 1   * Other version: 1");
    w.rip.mnuSelNew_Click();
    std::string selected;
    for (const auto& row : w.view.rows) selected += row.selected ? "x" : ".";
    EXPECT_EQ(selected, "x...x");
    w.view.deleteTicked = true;
    w.rip.cmdUncache_Click();
    EXPECT_TRUE(w.overwrite.asked.empty() && w.prompts.shown.empty());
    EXPECT_EQ(w.Where(), "DM-A.ut2:Maps Rock.utx:cache,Textures,ini Song.ogg:cache,ini Readme.txt:cache,ini DM-B.ut2:Maps");
}
