// The un-cache run: destinations, the delete option, sub-folder questions, overwrite decisions,
// and what every failure leaves behind.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "app/EveryFault.h"
#include "support/World.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

const std::string K1 = World::KeyFor(1), K2 = World::KeyFor(2), K3 = World::KeyFor(3), K4 = World::KeyFor(4);

std::string G(const std::string& tail) { return World::Game + tail; }
std::string Line(const std::string& key, const std::string& name) { return key + "=" + name + "\r\n"; }
std::string BytesAt(const World& w, const std::string& path) { return w.fs.Bytes(path).value_or("<missing>"); }

std::string Shown(const ScriptedPrompts& p) {
    std::string all;
    for (const auto& s : p.shown) all += "[" + s.title + ": " + s.text + "]";
    return all;
}

void ListAndSelect(World& w, std::initializer_list<int> rows) {
    w.rip.LoadCache();
    w.view.Select(rows);
}

const char* const ReportHead = "An unexpected error occurred in 'frmRip->Uncache'!\r\n";
const char* const ReportTail =
    "\r\n(The error message has been copied to your clipboard)\r\n\r\nPress [Yes] if you want Morvane to continue "
    "Uncaching your files, ignoring the error (NOT recommended).";

void ExpectReport(const ScriptedPrompts::Shown& s, const std::string& description) {
    EXPECT_EQ(s.title, "frmRip->Uncache");
    EXPECT_EQ(s.icon, MsgIcon::Critical);
    EXPECT_EQ(s.buttons, MsgButtons::YesNo);
    EXPECT_EQ(s.text.substr(0, s.text.find("\r\nPlease")), ReportHead + description) << s.text;
    const std::string tail = ReportTail;
    EXPECT_TRUE(s.text.size() > tail.size() && s.text.substr(s.text.size() - tail.size()) == tail) << s.text;
}

}  // namespace

TEST(UncacheRun, CopiesEachTypeToItsFolderAndDeletesOnlyWhenTicked) {
    const std::pair<const char*, const char*> routes[] = {
        {"DM-Foo.ut2", "\\Maps\\DM-Foo.ut2"},   {"XGame.u", "\\System\\XGame.u"},
        {"XGame.int", "\\System\\XGame.int"},   {"Rock.utx", "\\Textures\\Rock.utx"},
        {"Boom.uax", "\\Sounds\\Boom.uax"},     {"Theme.umx", "\\Music\\Theme.umx"},
        {"Song.ogg", "\\Music\\Song.ogg"},      {"Crane.usx", "\\StaticMeshes\\Crane.usx"},
        {"Game.uvx", "\\Saves\\Game.uvx"},      {"Rig.ukx", "\\Animations\\Rig.ukx"}};
    Entries entries;
    for (int i = 0; i < 10; ++i) entries.push_back({World::KeyFor(i + 1), routes[i].first});
    entries.push_back({World::KeyFor(99), "Left.utx"});  // listed, not selected
    for (bool del : {false, true}) {
        SCOPED_TRACE(del ? "chkDel ticked" : "chkDel not ticked");
        World w(entries);
        const std::string old = w.Index();
        w.view.deleteTicked = del;
        ListAndSelect(w, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
        std::map<std::string, std::string> original;
        for (const auto& [key, name] : entries) original[key] = BytesAt(w, w.Cached(key));
        w.rip.cmdUncache_Click();
        for (int i = 0; i < 10; ++i) {
            const std::string& key = entries[static_cast<std::size_t>(i)].first;
            EXPECT_EQ(BytesAt(w, G(routes[i].second)), original[key]) << routes[i].second;
            EXPECT_EQ(w.fs.Has(w.Cached(key)), !del) << "cached copy of " << routes[i].first;
        }
        EXPECT_FALSE(w.fs.Has(G("\\Textures\\Left.utx")));
        EXPECT_EQ(w.Index(), del ? "[Cache]\r\n" + Line(World::KeyFor(99), "Left.utx") : old);
        EXPECT_EQ(w.view.RowCount(), del ? 1 : 11);
        EXPECT_EQ(w.view.loads, 2);
        EXPECT_EQ(Shown(w.prompts), "");
        EXPECT_EQ(w.overwrite.asked.size() + w.prompts.asked.size(), 0u);
    }
}

TEST(UncacheRun, NormalisesTheIndexWithNothingSelectedAndIgnoresClicksDuringItsYield) {
    World w;
    w.fs.AddFile(w.Cached(K1), "one");
    w.fs.AddFile(w.Cached(K2), "two");
    w.fs.AddFile(w.Path("\\Cache\\cache.ini"),
                 "\r\n[Cache]\r\n" + Line(K1, "DM-A.ut2") + "[Cache]\r\nabc=Short.u\r\n" + K2 + "=DM-B.ut2");
    w.rip.LoadCache();
    w.view.current = 0;  // a deletion would act, were it not ignored
    std::size_t opsInYield = 0;
    int loadsInYield = 0;
    bool yielded = false;
    w.view.onYield = [&] {
        if (yielded) return;  // a nested run that was not ignored yields too
        yielded = true;
        const std::size_t ops = w.fs.Log().size();
        const int loads = w.view.loads;
        w.rip.cmdUncache_Click();
        w.rip.cmdDelete_Click();
        w.rip.cmdRefresh_Click();
        opsInYield = w.fs.Log().size() - ops;
        loadsInYield = w.view.loads - loads;
    };
    w.rip.cmdUncache_Click();
    EXPECT_EQ(w.Index(), "[Cache]\r\n" + Line(K1, "DM-A.ut2") + Line(K2, "DM-B.ut2"));
    EXPECT_EQ(w.view.yields, 1);
    EXPECT_EQ(opsInYield, 0u);
    EXPECT_EQ(loadsInYield, 0);
    EXPECT_EQ(w.view.loads, 2) << "the listing is rebuilt after the yield";
    EXPECT_EQ(w.overwrite.resets, 1);
    EXPECT_EQ(Shown(w.prompts), "");
    EXPECT_EQ(w.fs.Calls(FsOp::Copy), 0);
}

TEST(UncacheRun, AsksForTheSubFolderOfOtherFiles) {
    World w({{K1, "Readme.txt"}, {K2, "DM-Foo.UT2"}, {K3, "Notes.txt"}, {K4, "Other.txt"}});
    w.view.deleteTicked = true;
    // Readme: refused, then Help (created); DM-Foo: Help (there already); Notes: a deeper folder;
    // Other: refused, then cancelled.
    w.prompts.inputs = {"C:\\Windows", "Help", "Help", "Help\\Docs", "..", ""};
    ListAndSelect(w, {0, 1, 2, 3});
    std::map<std::string, std::string> original;
    for (const std::string& k : {K1, K2, K3}) original[k] = BytesAt(w, w.Cached(k));
    w.rip.cmdUncache_Click();
    const char* names[] = {"Readme.txt", "Readme.txt", "DM-Foo.UT2", "Notes.txt", "Other.txt", "Other.txt"};
    const char* defaults[] = {"", "C:\\Windows", "Help", "Help", "Help\\Docs", ".."};
    ASSERT_EQ(w.prompts.asked.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE("question " + std::to_string(i));
        EXPECT_EQ(w.prompts.asked[i].prompt, std::string("Please enter the UT2003 sub directory where you wish ") +
                                                 names[i] + " to be un-cached.\r\n(ie: 'Help')\r\n"
                                                 "If the directory does not exist, it will be created.");
        EXPECT_EQ(w.prompts.asked[i].title, "Enter sub-directory");
        EXPECT_EQ(w.prompts.asked[i].defaultText, defaults[i]);
    }
    const char* refused[] = {"C:\\Windows", ".."};
    ASSERT_EQ(w.prompts.shown.size(), 2u) << Shown(w.prompts);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(w.prompts.shown[i].title, "Morvane");
        EXPECT_EQ(w.prompts.shown[i].icon, MsgIcon::Exclamation);
        EXPECT_NE(w.prompts.shown[i].text.find(std::string("\"") + refused[i] + "\""), std::string::npos)
            << w.prompts.shown[i].text;
    }
    EXPECT_EQ(BytesAt(w, G("\\Help\\Readme.txt")), original[K1]);
    EXPECT_EQ(BytesAt(w, G("\\Help\\DM-Foo.UT2")), original[K2]);
    EXPECT_EQ(BytesAt(w, G("\\Help\\Docs\\Notes.txt")), original[K3]);
    EXPECT_EQ(w.fs.Calls(FsOp::Copy), 3);
    EXPECT_TRUE(w.fs.Has(w.Cached(K4)));
    EXPECT_EQ(w.Index(), "[Cache]\r\n" + Line(K4, "Other.txt"));
}

TEST(UncacheRun, RefusesNamesAndKeysThatWouldLeaveTheirFolder) {
    std::string badKey;
    for (int i = 0; i < 10; ++i) badKey += "..\\";
    badKey += "ab";
    const Entries entries = {{K1, "..\\System\\Evil.u"}, {K2, "Sub/Evil.ut2"}, {K3, "C:Evil.ut2"},
                             {K4, ".."},                 {badKey, "DM-Key.ut2"}, {World::KeyFor(5), "DM-Ok.ut2"}};
    World w(entries);
    w.view.deleteTicked = true;
    ListAndSelect(w, {0, 1, 2, 3, 4, 5});
    ASSERT_EQ(w.view.RowCount(), 6);
    w.rip.cmdUncache_Click();
    ASSERT_EQ(w.prompts.shown.size(), 5u) << Shown(w.prompts);
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(entries[i].second);
        EXPECT_EQ(w.prompts.shown[i].title, "Morvane");
        EXPECT_EQ(w.prompts.shown[i].icon, MsgIcon::Exclamation);
        EXPECT_NE(w.prompts.shown[i].text.find("\"" + entries[i].second + "\""), std::string::npos);
        EXPECT_TRUE(w.fs.Has(w.Cached(entries[i].first)));
    }
    EXPECT_EQ(w.fs.Calls(FsOp::Copy), 1);
    EXPECT_EQ(w.fs.Calls(FsOp::Remove), 1);
    EXPECT_TRUE(w.fs.Has(G("\\Maps\\DM-Ok.ut2")));
    std::string kept = "[Cache]\r\n";
    for (std::size_t i = 0; i < 5; ++i) kept += Line(entries[i].first, entries[i].second);
    EXPECT_EQ(w.Index(), kept);
}

TEST(UncacheRun, OverwriteDecisions) {
    // Rows A, B, C (another type, answered Help), D; every destination exists already.
    const Entries entries = {{K1, "DM-A.ut2"}, {K2, "DM-B.ut2"}, {K3, "Readme.txt"}, {K4, "DM-D.ut2"}};
    const char* dests[] = {"\\Maps\\DM-A.ut2", "\\Maps\\DM-B.ut2", "\\Help\\Readme.txt", "\\Maps\\DM-D.ut2"};
    struct Case {
        const char* script;
        std::size_t questions;
        const char* overwritten;  // rows, by letter
    };
    const Case cases[] = {
        {"NYYY", 4, "BCD"},  // No skips only that file
        {"O", 1, ""},        // No to All skips the rest without a question
        {"A", 1, "ABCD"},    // Yes to All; C is still asked for its sub-folder
        {"XYYY", 4, "BCD"},  // closing the prompt counts as No
        {"YNO", 3, "A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("answers ") + c.script);
        World w(entries);
        for (const char* d : dests) w.fs.AddFile(G(d), "old");
        w.view.deleteTicked = true;
        w.prompts.inputs = {"Help"};
        for (const char* a = c.script; *a; ++a) w.overwrite.script.push_back(*a);
        ListAndSelect(w, {0, 1, 2, 3});
        std::string expectedIndex = "[Cache]\r\n";
        std::map<std::string, std::string> original;
        for (const auto& [key, name] : entries) original[key] = BytesAt(w, w.Cached(key));
        w.rip.cmdUncache_Click();
        ASSERT_EQ(w.overwrite.asked.size(), c.questions);
        for (std::size_t i = 0; i < c.questions; ++i) EXPECT_EQ(w.overwrite.asked[i], G(dests[i]));
        EXPECT_EQ(w.prompts.asked.size(), 1u) << "the sub-folder question";
        for (std::size_t i = 0; i < 4; ++i) {
            const std::string& key = entries[i].first;
            const bool over = std::string(c.overwritten).find(static_cast<char>('A' + i)) != std::string::npos;
            EXPECT_EQ(BytesAt(w, G(dests[i])), over ? original[key] : "old") << dests[i];
            EXPECT_EQ(w.fs.Has(w.Cached(key)), !over) << "cached copy of " << entries[i].second;
            if (!over) expectedIndex += Line(key, entries[i].second);
        }
        EXPECT_EQ(w.Index(), expectedIndex);
        EXPECT_EQ(Shown(w.prompts), "");
    }
}

TEST(UncacheRun, SameRealNameTwiceAndTheNextRunAsksAgain) {
    World w({{K1, "DM-Same.ut2"}, {K2, "DM-Same.ut2"}});
    const std::string second = BytesAt(w, w.Cached(K2));
    w.overwrite.script = {'A', 'N', 'N'};
    ListAndSelect(w, {0, 1});
    w.rip.cmdUncache_Click();
    EXPECT_EQ(w.overwrite.asked, std::vector<std::string>{G("\\Maps\\DM-Same.ut2")});
    EXPECT_EQ(BytesAt(w, G("\\Maps\\DM-Same.ut2")), second);
    w.view.Select({0, 1});
    w.rip.cmdUncache_Click();
    EXPECT_EQ(w.overwrite.resets, 2);
    EXPECT_EQ(w.overwrite.asked.size(), 3u) << "Yes to All holds for one run only";
    EXPECT_EQ(BytesAt(w, G("\\Maps\\DM-Same.ut2")), second);
}

TEST(UncacheRun, InvalidFolderEndsTheRunWithItsOneMessage) {
    World w({{K1, "DM-A.ut2"}});
    w.view.deleteTicked = true;
    ListAndSelect(w, {0});
    const std::string old = w.Index();
    w.view.path = "C:\\Nowhere";
    w.rip.cmdUncache_Click();
    EXPECT_EQ(Shown(w.prompts), "[Morvane: Invalid path!]");
    EXPECT_EQ(w.fs.Calls(FsOp::Copy) + w.fs.Calls(FsOp::Remove) + w.fs.Calls(FsOp::WriteAll), 0);
    EXPECT_EQ(w.Index(), old);
    EXPECT_EQ(w.view.loads, 1);
    EXPECT_EQ(w.view.yields, 0);
    EXPECT_TRUE(w.view.rows.at(0).selected);
}

TEST(UncacheRun, EachFailureIsReportedAndTheAnswerDecides) {
    // Rows A and B, both selected, chkDel ticked.
    struct Case {
        const char* what;
        FsOp op;
        std::string path;
        bool goOn;
        const char* copied;
        const char* cached;
        const char* indexed;
        std::size_t questions;
    };
    const std::string cachedA = G("\\Cache\\") + K1 + "-1.uxx", index = G("\\Cache\\cache.ini");
    const Case cases[] = {
        {"copy", FsOp::Copy, cachedA, true, "B", "A", "A", 0},
        {"copy", FsOp::Copy, cachedA, false, "", "AB", "AB", 0},
        {"delete", FsOp::Remove, cachedA, true, "AB", "A", "", 0},  // its line goes all the same
        {"delete", FsOp::Remove, cachedA, false, "A", "AB", "AB", 0},
        {"lookup", FsOp::Exists, G("\\Maps\\DM-A.ut2"), true, "B", "A", "A", 1},  // asked, answered No
        {"lookup", FsOp::Exists, G("\\Maps\\DM-A.ut2"), false, "", "AB", "AB", 0},
        {"index read", FsOp::ReadAll, index, true, "AB", "", "AB", 0},
        {"index read", FsOp::ReadAll, index, false, "AB", "", "AB", 0},
        {"index write", FsOp::WriteAll, G("\\Cache\\cache-new.ini"), true, "AB", "", "AB", 0},
        {"index write", FsOp::WriteAll, G("\\Cache\\cache-new.ini"), false, "AB", "", "AB", 0},
        {"index replace", FsOp::Replace, index, true, "AB", "", "AB", 0},
        {"index replace", FsOp::Replace, index, false, "AB", "", "AB", 0},
    };
    const Entries entries = {{K1, "DM-A.ut2"}, {K2, "DM-B.ut2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("failed ") + c.what + (c.goOn ? ", Yes" : ", No"));
        World w(entries);
        w.view.deleteTicked = true;
        ListAndSelect(w, {0, 1});
        std::map<std::string, std::string> original;
        for (const auto& [key, name] : entries) original[key] = BytesAt(w, w.Cached(key));
        w.prompts.answers = {c.goOn ? MsgAnswer::Yes : MsgAnswer::No};
        w.fs.FailOn(c.op, c.path, "Disk trouble.");
        w.rip.cmdUncache_Click();
        ASSERT_EQ(w.prompts.shown.size(), 1u) << Shown(w.prompts);
        ExpectReport(w.prompts.shown[0], "Disk trouble.");
        EXPECT_EQ(w.clipboard.text, "Disk trouble.");
        EXPECT_EQ(w.overwrite.asked.size(), c.questions);
        std::string expectedIndex = "[Cache]\r\n";
        for (std::size_t i = 0; i < 2; ++i) {
            const char row = static_cast<char>('A' + i);
            const std::string& key = entries[i].first;
            const bool copied = std::string(c.copied).find(row) != std::string::npos;
            EXPECT_EQ(BytesAt(w, G("\\Maps\\") + entries[i].second), copied ? original[key] : "<missing>") << row;
            EXPECT_EQ(w.fs.Has(w.Cached(key)), std::string(c.cached).find(row) != std::string::npos) << row;
            if (std::string(c.indexed).find(row) != std::string::npos) expectedIndex += Line(key, entries[i].second);
        }
        EXPECT_EQ(w.Index(), expectedIndex);
        EXPECT_FALSE(w.fs.Has(G("\\Cache\\cache-new.ini"))) << "the temporary index is left behind";
        EXPECT_EQ(w.view.yields, c.goOn ? 1 : 0);
        EXPECT_EQ(w.view.loads, c.goOn ? 2 : 1);
    }
}

TEST(UncacheRun, LaterFailuresEachGetTheirReportAndFolderCreationIsSilent) {
    World w({{K1, "DM-A.ut2"}, {K2, "DM-B.ut2"}, {K3, "Readme.txt"}, {K4, "Notes.txt"}, {World::KeyFor(5), "DM-C.ut2"}});
    w.fs.AddFile(G("\\Maps\\DM-A.ut2"), "old");
    w.overwrite.script = {'O'};
    w.fs.FailOn(FsOp::Exists, G("\\Maps\\DM-B.ut2"), "Not ready.");  // skipped: No to All holds
    w.fs.AddFolder(G("\\Help"));
    w.fs.FailOn(FsOp::MakeFolder, G("\\Help"), "Access denied.");  // there already: no harm
    w.fs.FailOn(FsOp::MakeFolder, G("\\Docs"), "Access denied.");  // missing: the copy fails
    w.fs.FailOn(FsOp::Copy, w.Cached(World::KeyFor(5)), "Disk full.");
    w.prompts.inputs = {"Help", "Docs"};
    ListAndSelect(w, {0, 1, 2, 3, 4});
    w.rip.cmdUncache_Click();
    EXPECT_EQ(w.overwrite.asked, std::vector<std::string>{G("\\Maps\\DM-A.ut2")});
    ASSERT_EQ(w.prompts.shown.size(), 3u) << Shown(w.prompts);
    ExpectReport(w.prompts.shown[0], "Not ready.");
    ExpectReport(w.prompts.shown[1], "Path not found.");
    ExpectReport(w.prompts.shown[2], "Disk full.");
    EXPECT_EQ(w.clipboard.text, "Disk full.");
    EXPECT_TRUE(w.fs.Has(G("\\Help\\Readme.txt")));
    EXPECT_FALSE(w.fs.Has(G("\\Maps\\DM-B.ut2")));
    EXPECT_EQ(w.view.loads, 2);
}

TEST(UncacheRun, NoFileIsLostWhateverOperationFails) {
    // A, B (another type, into Help) and C selected; D listed but not selected; chkDel ticked.
    const Entries entries = {{K1, "DM-A.ut2"}, {K2, "Readme.txt"}, {K3, "XGame.u"}, {K4, "Rock.utx"}};
    const char* dests[] = {"\\Maps\\DM-A.ut2", "\\Help\\Readme.txt", "\\System\\XGame.u", "\\Textures\\Rock.utx"};
    for (MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::No}) {
        SCOPED_TRACE(answer == MsgAnswer::Yes ? "reports answered Yes" : "reports answered No");
        const auto make = [&] {
            auto w = std::make_unique<World>(entries);
            w->view.deleteTicked = true;
            w->prompts.inputs = {"Help"};
            w->prompts.answers = {answer};
            ListAndSelect(*w, {0, 1, 2});
            return w;
        };
        const auto fresh = make();
        const std::string old = fresh->Index();
        every_fault::ForEachFault(make, [](World& w) { w.rip.cmdUncache_Click(); },
                                  [&](World& w, const World& clean, std::size_t failedAt) {
            std::string renewed = "[Cache]\r\n";
            for (std::size_t i = 0; i < 4; ++i) {
                const std::string& key = entries[i].first;
                const bool atDestination = BytesAt(w, G(dests[i])) == BytesAt(*fresh, fresh->Cached(key));
                if (!w.fs.Has(w.Cached(key))) {
                    EXPECT_TRUE(atDestination) << entries[i].second << " left the cache without its copy";
                }
                if (i < 3 && every_fault::LastCallNaming(clean, key) < static_cast<long>(failedAt)) {
                    EXPECT_TRUE(atDestination && !w.fs.Has(w.Cached(key))) << entries[i].second << " was undone";
                }
                if (!atDestination) renewed += Line(key, entries[i].second);
            }
            EXPECT_TRUE(w.fs.Has(w.Cached(K4)) && !w.fs.Has(G(dests[3]))) << "the unselected file was touched";
            EXPECT_TRUE(w.Index() == old || w.Index() == renewed) << "cache.ini:\n" << w.Index();
            EXPECT_FALSE(w.fs.Has(G("\\Cache\\cache-new.ini")));
            int reports = 0;
            for (const auto& s : w.prompts.shown) reports += s.title == "frmRip->Uncache";
            EXPECT_LE(reports, 1) << Shown(w.prompts);
        });
    }
}
