// The main window's behaviour: the folder check, the listing with its statistics, Select All.
#include <gtest/gtest.h>

#include "support/World.h"

namespace {

const std::string K1 = World::KeyFor(1), K2 = World::KeyFor(2), K3 = World::KeyFor(3);

std::string Shown(const ScriptedPrompts& p) {
    std::string all;
    for (const auto& s : p.shown) all += "[" + s.title + ": " + s.text + "]";
    return all;
}

}  // namespace

TEST(RipCheckPath, CleansTheTextAndTestsTheMarkerFile) {
    struct Case {
        const char* typed;
        const char* cleaned;
        const char* lookedUp;  // the one path the check asks about
        bool hiddenIndex;
        bool valid;
    };
    const Case cases[] = {
        {"  C:\\Games\\UT2003\\  ", "C:\\Games\\UT2003", "C:\\Games\\UT2003\\Cache\\Cache.ini", false, true},
        // only one trailing backslash goes
        {"C:\\Games\\UT2003\\\\", "C:\\Games\\UT2003\\", "C:\\Games\\UT2003\\\\Cache\\Cache.ini", false, true},
        {"C:\\Games\\UT2003", "C:\\Games\\UT2003", "C:\\Games\\UT2003\\Cache\\Cache.ini", true, false},
        {"", "", "\\Cache\\Cache.ini", false, false},
        {"   ", "", "\\Cache\\Cache.ini", false, false},
        {"C:\\Games", "C:\\Games", "C:\\Games\\Cache\\Cache.ini", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
        World w;
        if (c.hiddenIndex) w.fs.SetAttributes(w.Path("\\Cache\\cache.ini"), AttrHidden);
        w.rip.ValidPath = !c.valid;
        w.view.path = c.typed;
        w.view.timerOn = true;
        bool timerOnAtMessage = true;
        w.prompts.onMessage = [&] { timerOnAtMessage = w.view.timerOn; };
        w.rip.CheckPath();
        EXPECT_EQ(w.view.path, c.cleaned);
        EXPECT_EQ(w.rip.ValidPath, c.valid);
        EXPECT_FALSE(w.view.timerOn) << "the path timer stays on";
        ASSERT_EQ(w.fs.Log(), std::vector<std::string>{std::string("Exists ") + c.lookedUp});
        if (c.valid) {
            EXPECT_EQ(Shown(w.prompts), "");
            EXPECT_EQ(w.view.wholeSelections + w.view.focusMoves, 0);
        } else {
            ASSERT_EQ(w.prompts.shown.size(), 1u) << Shown(w.prompts);
            EXPECT_EQ(w.prompts.shown[0].text, "Invalid path!");
            EXPECT_EQ(w.prompts.shown[0].title, "Morvane");
            EXPECT_EQ(w.prompts.shown[0].icon, MsgIcon::Exclamation);
            EXPECT_EQ(w.prompts.shown[0].buttons, MsgButtons::Ok);
            EXPECT_FALSE(timerOnAtMessage) << "the timer must be off before the message opens";
            EXPECT_EQ(w.view.wholeSelections, 1);
            EXPECT_EQ(w.view.focusMoves, 1);
        }
    }
}

TEST(RipLoadCache, LeavesOutMissingCachedFilesAndTheirSlots) {
    World w({{K1, "DM-One.ut2"}, {K2, "DM-Two.ut2"}, {K3, "DM-Three.ut2"}});
    w.fs.Remove(w.Cached(K2));
    w.rip.LoadCache();
    EXPECT_EQ(w.view.Texts(), (std::vector<std::string>{"DM-One.ut2", "DM-Three.ut2"}));
    ASSERT_EQ(w.view.rows.size(), 2u);
    EXPECT_EQ(w.view.rows[0].data, 2);
    EXPECT_EQ(w.view.rows[1].data, 3);
    EXPECT_EQ(w.rip.CacheKeys, (std::vector<std::string>{"", "", K1, K3}));
    EXPECT_EQ(w.rip.KeyOfRow(1), K3);
    EXPECT_EQ(w.view.labels[RipLabel::Maps], "Maps (*.ut2) : 2");
    EXPECT_EQ(Shown(w.prompts), "");
}

TEST(RipLoadCache, CountsEachCategoryByItsExactEnding) {
    const char* names[] = {"DM-Test.ut2", "Foo.U",    "Bar.u",      "Bar.int",    "Song.ogg", "Theme.umx",
                           "Rock.utx",    "Boom.uax", "Crane.usx",  "Game.uvx",   "Rig.ukx",  "Readme.txt",
                           "DM-Big.UT2"};
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 0; i < 13; ++i) entries.push_back({World::KeyFor(i + 1), names[i]});
    World w(entries);
    w.rip.LoadCache();
    const std::pair<RipLabel, const char*> expected[] = {
        {RipLabel::Sys, "System files (*.u, *.int) : 2"},
        {RipLabel::Maps, "Maps (*.ut2) : 1"},
        {RipLabel::Anim, "Animations (*.ukx) : 1"},
        {RipLabel::StatM, "Static Meshes (*.usx) : 1"},
        {RipLabel::Textures, "Textures (*.utx) : 1"},
        {RipLabel::Sounds, "Sounds (*.uax) : 1"},
        {RipLabel::Music, "Music files (*.umx, *.ogg) : 2"},
        {RipLabel::Save, "Save files (*.uvx) : 1"},
        {RipLabel::Unknown, "Unknown (other) : 3"},  // Foo.U, Readme.txt, DM-Big.UT2
        {RipLabel::MB, "Cache size:  <130> / 13 files  =  <10> / file"},
    };
    for (const auto& [label, caption] : expected)
        EXPECT_EQ(w.view.labels[label], caption) << "label " << static_cast<int>(label);
}

TEST(RipLoadCache, SizeLineShowsTotalCountAndEvenRoundedAverage) {
    struct Case {
        std::vector<std::size_t> sizes;
        const char* line;
    };
    const Case cases[] = {
        {{1000, 2000, 3000}, "Cache size:  <6000> / 3 files  =  <2000> / file"},
        {{1, 2}, "Cache size:  <3> / 2 files  =  <2> / file"},    // 1.5 rounds up to even
        {{2, 3}, "Cache size:  <5> / 2 files  =  <2> / file"},    // 2.5 rounds down to even
        {{0, 1}, "Cache size:  <1> / 2 files  =  <0> / file"},    // 0.5 rounds down to even
        {{1, 2, 2}, "Cache size:  <5> / 3 files  =  <2> / file"}, // 1.67
        {{1, 1, 2}, "Cache size:  <4> / 3 files  =  <1> / file"}, // 1.33
        {{}, "Cache size:  <0> / 0 files  =  <0> / file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<std::pair<std::string, std::string>> entries;
        for (std::size_t i = 0; i < c.sizes.size(); ++i)
            entries.push_back({World::KeyFor(static_cast<int>(i) + 1), "File.utx"});
        World w(entries);
        for (std::size_t i = 0; i < c.sizes.size(); ++i)
            w.fs.AddFile(w.Cached(entries[i].first), std::string(c.sizes[i], 'x'));
        w.rip.LoadCache();
        EXPECT_EQ(w.view.labels[RipLabel::MB], c.line);
    }
}

TEST(RipLoadCache, ShortLinesHeadersAndBlanksAreNeverRows) {
    World w;
    const std::string k34 = K1 + "=a";  // 34 characters
    w.fs.AddFile(w.Cached(K1), "x");
    w.fs.AddFile(w.Cached(K2), "yy");
    w.fs.AddFile(w.Path("\\Cache\\cache.ini"),
                 "[Cache]\r\n\r\n" + k34 + "\r\n[Cache]\r\n   \r\nabc=Short.u\r\n  " + K2 + "=DM-Two.ut2  \r\n");
    w.rip.LoadCache();
    EXPECT_EQ(w.view.Texts(), std::vector<std::string>{"DM-Two.ut2"});
    EXPECT_EQ(w.rip.CacheKeys, (std::vector<std::string>{"", "", K2}));
}

TEST(RipLoadCache, MissingIndexEmptiesTheListButKeepsTheLabels) {
    World w({{K1, "DM-One.ut2"}, {K2, "Bar.u"}});
    w.rip.LoadCache();
    const auto before = w.view.labels;
    ASSERT_EQ(w.view.rows.size(), 2u);
    // The check finds the index, the listing's own lookup then does not.
    w.fs.FailOn(FsOp::Exists, w.Path("\\Cache\\cache.ini"), "Not ready.", 2);
    w.rip.cmdRefresh_Click();
    EXPECT_TRUE(w.rip.ValidPath);
    EXPECT_EQ(w.view.rows.size(), 0u);
    EXPECT_EQ(w.rip.CacheKeys, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(w.view.labels, before);
    EXPECT_EQ(w.view.labels[RipLabel::MB], "Cache size:  <20> / 2 files  =  <10> / file");
    EXPECT_EQ(Shown(w.prompts), "");
}

TEST(RipLoadCache, InvalidFolderLeavesTheListingAsItWas) {
    World w({{K1, "DM-One.ut2"}, {K2, "Bar.u"}});
    w.rip.LoadCache();
    w.view.Select({1});
    const auto rows = w.view.Texts();
    const auto labels = w.view.labels;
    const auto keys = w.rip.CacheKeys;
    w.view.path = "C:\\Nowhere";
    w.rip.cmdRefresh_Click();
    EXPECT_EQ(Shown(w.prompts), "[Morvane: Invalid path!][Morvane: Please enter a valid path!]");
    for (const auto& s : w.prompts.shown) {
        EXPECT_EQ(s.icon, MsgIcon::Exclamation) << s.text;
        EXPECT_EQ(s.buttons, MsgButtons::Ok) << s.text;
    }
    EXPECT_EQ(w.view.wholeSelections, 2);
    EXPECT_EQ(w.view.focusMoves, 2);
    EXPECT_EQ(w.view.loads, 1) << "the list must not be cleared";
    EXPECT_EQ(w.view.Texts(), rows);
    EXPECT_TRUE(w.view.rows[1].selected);
    EXPECT_EQ(w.view.labels, labels);
    EXPECT_EQ(w.rip.CacheKeys, keys);
}

TEST(RipSelectAll, SelectsEveryRowAndEndsOnTheLast) {
    World w({{K1, "A.u"}, {K2, "B.u"}, {K3, "C.u"}});
    w.rip.LoadCache();
    w.rip.cmdSelAll_Click();
    for (std::size_t r = 0; r < 3; ++r) EXPECT_TRUE(w.view.rows[r].selected) << "row " << r;
    EXPECT_EQ(w.view.current, 2);
    EXPECT_EQ(Shown(w.prompts), "");
}
