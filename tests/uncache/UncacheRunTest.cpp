// The un-cache run: destinations, the delete option, sub-folder questions, overwrite decisions,
// and what every failure leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <tuple>

#include "app/EveryFault.h"
#include "cache/ErrorReport.h"
#include "support/World.h"

namespace {

std::string K(int n) { return World::KeyFor(n); }
std::string G(const std::string& tail) { return World::Game + tail; }
// The run's report of a failure; its exact text is pinned by the error report's own tests.
std::string Report(const std::string& description) {
    return "frmRip->Uncache: " + BuildErrorReport(ReportSite::Uncache, description).message;
}
// Lists the cache, selects `rows` and un-caches them, with chkDel ticked or not.
void Uncache(World& w, const std::vector<int>& rows, bool del = true) {
    w.view.deleteTicked = del;
    w.Select(rows);
    w.rip.cmdUncache_Click();
}

}  // namespace

TEST(UncacheRun, MovesEachTypeToItsFolderButNoNameThatWouldLeaveTheGameFolderOrIsNoFileName) {
    World::Entries entries = World::Keyed({"..\\System\\Evil.u", "DM-Key.ut2", "Tab\t.utx", "DM-Foo.ut2", "XGame.u",
                                           "Song.ogg", "Left.utx"});
    entries[1].first = "..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\ab";  // 32 characters that climb
    World w(entries);
    Uncache(w, {0, 1, 2, 3, 4, 5});  // all but the last
    std::vector<std::string> shown;
    for (const char* name : {"..\\System\\Evil.u", "DM-Key.ut2"})  // the name, or the key, would climb
        shown.push_back("Morvane: \"" + std::string(name) + "\" is not un-cached: its name in cache.ini would place "
                        "it outside your UT2003 folders. It stays in your cache.");
    shown.push_back("Morvane: \"Tab?.utx\" is not un-cached: its name in cache.ini is not one that Windows allows for "
                    "a file (a device name such as NUL or COM1, a name ending in a dot or a blank, or one holding a "
                    "control character or one of < > \" | ? *). It stays in your cache.");
    EXPECT_EQ(w.Shown(), shown);
    EXPECT_TRUE(w.prompts.asked.empty()) << "no sub-folder question for a refused name";
    EXPECT_EQ(w.Where(), "..\\System\\Evil.u:cache,ini DM-Key.ut2:cache,ini Tab\t.utx:cache,ini DM-Foo.ut2:Maps "
                         "XGame.u:System Song.ogg:Music Left.utx:cache,ini");
    EXPECT_EQ(w.view.labels[RipLabel::Summary], "Un-cached 3 files (3 moved), 3 refused.");
}

TEST(UncacheRun, ClicksDuringItsYieldAreIgnored) {
    World w(World::Keyed({"DM-A.ut2", "DM-B.ut2"}));
    int yields = 0;
    w.view.onYield = [&] {
        if (yields++ > 0) return;  // a nested run that was not ignored yields too
        const auto before = std::make_pair(w.fs.Log().size(), w.view.loads);
        w.rip.cmdUncache_Click();
        w.rip.cmdDelete_Click();
        w.rip.cmdRefresh_Click();
        EXPECT_EQ(std::make_pair(w.fs.Log().size(), w.view.loads), before) << "file operations and listings";
    };
    Uncache(w, {0}, false);
    EXPECT_EQ(yields, 1);
}

TEST(UncacheRun, AsksAgainForASubFolderOutsideTheGameFolderInTheCacheOrNoFolderName) {
    World w(World::Keyed({"Readme.txt", "DM-Foo.UT2", "Other.txt"}));
    // Readme: refused three times, then Help (created); DM-Foo: Help (there already); Other:
    // refused, then cancelled. Each question offers the last answer.
    w.prompts.inputs = {"C:\\Windows", "Cache", "Help\\NUL", "Help", "Help", "..", ""};
    Uncache(w, {0, 1, 2});
    const std::string again = "Please enter another sub directory, such as Help or Help\\Docs.";
    const auto outside = [](const std::string& folder) {
        return "Morvane: \"" + folder + "\" is not a folder inside your UT2003 folder. Please enter a sub directory "
               "of it, such as Help or Help\\Docs.";
    };
    EXPECT_EQ(w.Shown(), (std::vector<std::string>{outside("C:\\Windows"),
        "Morvane: \"Cache\" is in your UT2003 cache folder, where un-cached files would overwrite the cache. " + again,
        "Morvane: \"Help\\NUL\" is not a folder name that Windows allows. " + again, outside("..")}));
    std::string offered;
    for (const auto& a : w.prompts.asked) offered += a.defaultText + "|";
    EXPECT_EQ(offered, "|C:\\Windows|Cache|Help\\NUL|Help|Help|..|");
    EXPECT_EQ(w.prompts.asked[4].title + "|" + w.prompts.asked[4].prompt, "Enter sub-directory|Please enter the "
              "UT2003 sub directory where you wish DM-Foo.UT2 to be un-cached.\r\n(ie: 'Help')\r\nIf the directory "
              "does not exist, it will be created.");
    EXPECT_EQ(w.Where(), "Readme.txt:Help DM-Foo.UT2:Help Other.txt:cache,ini");
    EXPECT_EQ(w.view.labels[RipLabel::Summary], "Un-cached 2 files (2 moved), 1 skipped.") << "Other: no folder given";
    w.rip.cmdRefresh_Click();
    EXPECT_EQ(w.view.labels[RipLabel::Summary], "") << "cleared by the next listing";
}

TEST(UncacheRun, OverwriteDecisionsAndClosingTheMainWindowDuringAQuestion) {
    // Rows A, B, NUL (refused), C (another type, answered Help) and D; every destination exists already.
    const std::vector<std::string> dests = {G("\\Maps\\DM-A.ut2"), G("\\Maps\\DM-B.ut2"), G("\\Help\\Readme.txt"),
                                            G("\\Maps\\DM-D.ut2")};
    const char* const none = "DM-A.ut2:cache,ini DM-B.ut2:cache,ini NUL.ut2:cache,ini Readme.txt:cache,ini "
                             "DM-D.ut2:cache,ini";
    const char* const bcd = "DM-A.ut2:cache,ini DM-B.ut2:Maps NUL.ut2:cache,ini Readme.txt:Help DM-D.ut2:Maps";
    // The answers, one per overwrite question; the question during which the window is closed,
    // which ends the run as a No (during the overwrite question: the Wine test); and the outcome.
    // The summary line after the run (a closed window shows none).
    const std::tuple<const char*, std::string, const char*, const char*> cases[] = {
        {"NYYY", "", bcd, "Un-cached 3 files (3 moved), 1 skipped, 1 refused."},  // No skips only that file
        {"O", "", none, "Un-cached 0 files, 4 skipped, 1 refused."},    // the rest unasked
        {"A", "", "DM-A.ut2:Maps DM-B.ut2:Maps NUL.ut2:cache,ini Readme.txt:Help DM-D.ut2:Maps",  // C still asked
         "Un-cached 4 files (4 moved), 1 refused."},
        {"NN", "refusal", none, ""}, {"NN", "sub-folder", none, ""},
        {"", "report", none, ""},  // A's destination cannot be looked up; the report is answered Yes
    };
    for (const auto& [script, during, where, summary] : cases) {
        SCOPED_TRACE(std::string("answers ") + script + ", closed during " + during);
        World w(World::Keyed({"DM-A.ut2", "DM-B.ut2", "NUL.ut2", "Readme.txt", "DM-D.ut2"}));
        for (const std::string& d : dests) w.fs.AddFile(d, "old");
        if (during == "report") w.fs.FailOn(FsOp::Exists, dests[0]);
        w.prompts.inputs = {"Help"};
        w.overwrite.script.assign(script, script + std::strlen(script));
        const std::string closing = during;
        w.prompts.onInput = [&] { w.view.closing = closing == "sub-folder"; };
        w.prompts.onMessage = [&] { w.view.closing = closing == "refusal" || closing == "report"; };
        Uncache(w, {0, 1, 2, 3, 4});
        EXPECT_EQ(w.overwrite.asked, std::vector<std::string>(dests.begin(), dests.begin() + std::strlen(script)));
        EXPECT_EQ(w.prompts.asked.size(), during.empty() || during == "sub-folder" ? 1u : 0u) << "sub-folder questions";
        EXPECT_EQ(w.Where(), where);
        EXPECT_EQ(w.view.loads, during.empty() ? 2 : 1) << "listed again";
        EXPECT_EQ(w.view.labels[RipLabel::Summary], summary);
        // Every file replaced went to the Recycle Bin first, with its bytes.
        std::size_t placed = 0;
        for (const char* folder : {":Maps", ":Help"})
            for (std::size_t at = std::string(where).find(folder); at != std::string::npos;
                 at = std::string(where).find(folder, at + 1))
                ++placed;
        EXPECT_EQ(w.fs.recycled.size(), placed);
        for (const auto& [spelling, bytes] : w.fs.recycled) EXPECT_EQ(bytes, "old") << spelling;
    }
    // A file that cannot be put in the Recycle Bin is not overwritten: reported as a failed copy,
    // and both files stay.
    World w(World::Keyed({"DM-A.ut2"}));
    w.fs.AddFile(dests[0], "old");
    w.fs.FailOn(FsOp::Recycle, dests[0], "Disk trouble.");
    w.overwrite.script = {'Y'};
    Uncache(w, {0});
    EXPECT_EQ(w.Shown(), std::vector<std::string>{Report("Disk trouble.")});
    EXPECT_EQ(w.Where(), "DM-A.ut2:cache,ini");
    EXPECT_EQ(w.fs.Bytes(dests[0]), "old");
    EXPECT_EQ(w.view.labels[RipLabel::Summary], "Un-cached 0 files, 1 failed.");
}

TEST(UncacheRun, YesToAllHoldsForOneRunOnlyAndADestinationWithTheCachedBytesIsNotAskedAbout) {
    World w(World::Keyed({"DM-Same.ut2", "DM-Same.ut2"}));
    w.overwrite.script = {'A', 'N'};
    Uncache(w, {0, 1}, false);
    Uncache(w, {0, 1});
    // Run 1 asks about the second copy only, which overwrites the first; run 2 asks about the first,
    // answered No, not about the second, whose bytes are there already: it only leaves the cache.
    EXPECT_EQ(w.overwrite.asked, std::vector<std::string>(2, G("\\Maps\\DM-Same.ut2")));
    EXPECT_EQ(w.overwrite.details.at(0), "A different file.\r\nCached: <10>, [0]; there now: <10>, [0]")
        << "the question says what the two files are";
    EXPECT_EQ(w.Where(), "DM-Same.ut2:cache,ini DM-Same.ut2:Maps");
    EXPECT_EQ(w.view.labels[RipLabel::Summary], "Un-cached 0 files, 1 already in place, 1 skipped.");
}

TEST(UncacheRun, EachFailureIsReportedAndTheAnswerDecides) {
    const std::string cachedA = G("\\Cache\\" + K(1) + "-1.uxx"), index = G("\\Cache\\cache.ini");
    const std::string mapsA = G("\\Maps\\DM-A.ut2"), disk = "Disk trouble.";
    const char* const bothCopied = "DM-A.ut2:Maps,ini Readme.txt:Help,ini";
    // Rows A and B (into Help) selected, chkDel ticked, A not movable: the failing call (none: A's
    // copy comes out short), whether its report is answered Yes, what it reports and the outcome.
    const std::tuple<std::optional<FsOp>, std::string, bool, std::string, const char*> cases[] = {
        {FsOp::Copy, cachedA, true, disk, "DM-A.ut2:cache,ini Readme.txt:Help"},
        {FsOp::Copy, cachedA, false, disk, "DM-A.ut2:cache,ini Readme.txt:cache,ini"},
        {FsOp::Remove, cachedA, true, disk, "DM-A.ut2:cache,Maps Readme.txt:Help"},  // its line goes all the same
        {FsOp::Exists, mapsA, true, disk, "DM-A.ut2:cache,ini Readme.txt:Help"},  // taken as there, asked
        // Not reported itself: the copy into the missing folder fails.
        {FsOp::MakeFolder, G("\\Help"), true, "Path not found.", "DM-A.ut2:Maps Readme.txt:cache,ini"},
        {FsOp::ReadAll, index, false, disk, bothCopied}, {FsOp::Replace, index, true, disk, bothCopied},
        {FsOp::Flush, mapsA, true, disk, "DM-A.ut2:cache,Maps,ini Readme.txt:Help"},  // a failed copy
        {std::nullopt, mapsA, true, "The copy " + mapsA + " holds 5 bytes instead of 10.",
         "DM-A.ut2:cache,ini Readme.txt:Help"},  // the cached file stays
    };
    for (const auto& [op, path, goOn, reported, where] : cases) {
        SCOPED_TRACE(path + (goOn ? " failed, Yes" : " failed, No"));
        World w(World::Keyed({"DM-A.ut2", "Readme.txt"}));
        w.prompts.inputs = {"Help"};
        w.prompts.answers = {goOn ? MsgAnswer::Yes : MsgAnswer::No};
        w.fs.FailOn(FsOp::Move, cachedA, "Not on this disk.", 0);  // A is copied, never reported
        w.view.deleteTicked = true;
        w.Select({0, 1});
        op ? w.fs.FailOn(*op, path, disk) : w.fs.ShortCopiesTo(path);
        w.rip.cmdUncache_Click();
        EXPECT_EQ(w.Shown(), std::vector<std::string>{Report(reported)});
        EXPECT_EQ(w.Where(), where);
        EXPECT_EQ(w.overwrite.asked.size(), op == FsOp::Exists && goOn ? 1u : 0u);
        EXPECT_EQ(w.view.loads, goOn ? 2 : 1) << "reloaded only when the run went on";
    }
}

TEST(UncacheRun, AnIndexThatCannotBeReadIsLeftAsItIsByTheRunAndByDeletionWithAMessageNamingIt) {
    const std::string utf32 = std::string("\xFF\xFE\0\0", 4) + "[\0\0\0";
    for (const bool deletion : {false, true}) {
        SCOPED_TRACE(deletion ? "Remove selected" : "un-cached");
        World w(World::Keyed({"DM-A.ut2"}));
        w.Select({0});
        w.fs.AddFile(w.Path("\\Cache\\cache.ini"), utf32);  // replaced after the listing
        deletion ? w.rip.cmdDelete_Click() : w.rip.cmdUncache_Click();
        EXPECT_EQ(w.Index(), utf32);
        EXPECT_EQ(w.Shown().back(), "Morvane: \"" + w.Path("\\Cache\\cache.ini") + "\" is saved in a text encoding "
                                    "that Morvane cannot read, so Morvane leaves it as it is and removes no line from "
                                    "it.");
        EXPECT_EQ(w.view.rows.size(), deletion ? 1u : 0u) << "an unreadable index lists nothing";
    }
}

TEST(UncacheRun, NoFileIsLostWhateverOperationFails) {
    // A, B (another type, into Help) and C (its bytes there already) selected; D listed but not
    // selected; chkDel ticked; the files moved with reports answered Yes, or A copied where it
    // cannot be moved with reports answered No.
    const World::Entries entries = World::Keyed({"DM-A.ut2", "Readme.txt", "XGame.u", "Rock.utx"});
    const char* dests[] = {"\\Maps\\DM-A.ut2", "\\Help\\Readme.txt", "\\System\\XGame.u", "\\Textures\\Rock.utx"};
    for (const bool moves : {true, false}) {
        SCOPED_TRACE(moves ? "reports answered Yes" : "reports answered No, A not movable");
        const auto make = [&] {
            auto w = std::make_unique<World>(entries);
            w->fs.AddFile(G(dests[2]), World::Content(2));
            if (!moves) w->fs.FailOn(FsOp::Move, w->Cached(K(1)), "Not on this disk.", 0);
            w->view.deleteTicked = true;
            w->prompts.inputs = {"Help"};
            w->prompts.answers = {moves ? MsgAnswer::Yes : MsgAnswer::No};
            w->Select({0, 1, 2});
            return w;
        };
        every_fault::ForEachFault(make, [](World& w) { w.rip.cmdUncache_Click(); },
                                  [&](World& w, const World& clean, std::size_t failedAt) {
            std::vector<std::size_t> kept;
            for (std::size_t i = 0; i < 4; ++i) {
                const auto& [key, name] = entries[i];
                const bool copied = w.fs.Bytes(G(dests[i])) == World::Content(i), cached = w.fs.Has(w.Cached(key));
                const bool done = every_fault::LastCallNaming(clean, key) < static_cast<long>(failedAt);
                // Never lost, never undone once done; the unselected file is never touched.
                EXPECT_TRUE((copied || cached) && (i == 3 ? !copied : !done || !cached)) << name;
                if (w.Index().find(key) != std::string::npos) kept.push_back(i);
                else EXPECT_TRUE(copied) << name << ": its line went, its copy is not there";
            }
            EXPECT_TRUE(w.Index() == clean.IndexOf({0, 1, 2, 3}) || w.Index() == w.IndexOf(kept)) << w.Index();
            const auto& all = w.prompts.shown;
            EXPECT_LE(std::count_if(all.begin(), all.end(), [](auto& s) { return s.title == "frmRip->Uncache"; }), 1);
        });
    }
}

// Cancel at any point of a run, before a file or part way through a copy, ends it as if only the
// files done had been chosen: the same files on disk and in the Recycle Bin, the same index, the
// same summary. A copy in hand is undone, unless it replaces a file put in the Recycle Bin for it.
TEST(UncacheRun, CancelAtAnyPointEndsTheRunAsIfOnlyTheFilesDoneHadBeenChosen) {
    const World::Entries entries = World::Keyed({"DM-A.ut2", "Rock.utx", "Notes.txt", "XGame.u", "DM-B.ut2"});
    for (const bool del : {false, true}) {
        SCOPED_TRACE(del ? "delete ticked, DM-B.ut2 copied across volumes" : "delete not ticked: copies");
        // Rock.utx replaces another file after a Yes, Notes.txt asks for its folder, XGame.u is there already.
        const auto run = [&](std::size_t chosen, const std::function<void(World&)>& before) {
            auto w = std::make_unique<World>(entries);
            w->fs.AddFile(G("\\Textures\\Rock.utx"), "older");
            w->fs.AddFile(G("\\System\\XGame.u"), World::Content(3));
            if (del) w->fs.FailOn(FsOp::Move, w->Cached(K(5)), "Not on this disk.", 0);
            w->overwrite.script = {'Y'};
            w->prompts.inputs = {"Help"};
            std::vector<int> rows(chosen);
            for (std::size_t r = 0; r < chosen; ++r) rows[r] = static_cast<int>(r);
            before(*w);
            Uncache(*w, rows, del);
            EXPECT_FALSE(w->view.progressShown);
            return w;
        };
        std::vector<std::unique_ptr<World>> only;  // the runs of the first 0, 1... 5 files, not cancelled
        for (std::size_t m = 0; m <= entries.size(); ++m) only.push_back(run(m, [](World&) {}));
        const std::vector<std::string>& reports = only.back()->view.progress;
        if (!del) {
            EXPECT_EQ(std::vector<std::string>(reports.begin(), reports.begin() + 6),
                      (std::vector<std::string>{"Un-caching: 0 of 5 files 0/5000",
                                                "Un-caching: 0 of 5 files; copying DM-A.ut2, <0> of <10> 0/5000",
                                                "Un-caching: 0 of 5 files; copying DM-A.ut2, <4> of <10> 400/5000",
                                                "Un-caching: 0 of 5 files; copying DM-A.ut2, <8> of <10> 800/5000",
                                                "Un-caching: 0 of 5 files; copying DM-A.ut2, <10> of <10> 1000/5000",
                                                "Un-caching: 1 of 5 files 1000/5000"}));
        }
        EXPECT_EQ(reports.back(), "Un-caching: 4 of 5 files; copying DM-B.ut2, <10> of <10> 5000/5000");
        const auto expectLike = [&](const World& w, std::size_t done) {
            const World& as = *only.at(done);
            EXPECT_EQ(w.fs.Files(), as.fs.Files());
            EXPECT_EQ(w.fs.recycled, as.fs.recycled);
            EXPECT_EQ(w.Index(), as.Index());
            EXPECT_EQ(w.view.labels.at(RipLabel::Summary), as.view.labels.at(RipLabel::Summary) + " The run was cancelled.");
        };
        for (std::size_t j = 0; j < reports.size(); ++j) {
            SCOPED_TRACE("Cancel at \"" + reports[j] + "\"");
            const auto w = run(entries.size(), [j](World& w) { w.view.cancelAfter = j; });
            const std::size_t done = std::stoul(reports[j].substr(std::strlen("Un-caching: ")));
            // A comparison goes on to its end (XGame.u is then in place), as does the copy of Rock.utx.
            const bool finished = reports[j].find("comparing XGame.u") != std::string::npos ||
                                  reports[j].find("copying Rock.utx") != std::string::npos;
            expectLike(*w, done + (finished ? 1 : 0));
        }
        // Cancel pressed while a question is open: it is answered first; the file that replaces
        // another is finished; Notes.txt, asked about its folder, is moved whole or its copy undone.
        const auto asking = run(entries.size(), [](World& w) { w.overwrite.onAsk = [&w] { w.view.cancelPressed = true; }; });
        expectLike(*asking, 2);
        const auto typing = run(entries.size(), [](World& w) { w.prompts.onInput = [&w] { w.view.cancelPressed = true; }; });
        expectLike(*typing, del ? 3 : 2);
    }

    World d(World::Keyed({"DM-A.ut2", "DM-B.ut2", "DM-C.ut2"}));
    d.view.cancelAfter = 1;
    d.Select({0, 1, 2});
    d.rip.cmdDelete_Click();
    EXPECT_EQ(d.Where(), "DM-A.ut2:- DM-B.ut2:cache,ini DM-C.ut2:cache,ini");
    EXPECT_EQ(d.view.labels[RipLabel::Summary], "Removed 1 cached file. The removal was cancelled.");
    EXPECT_FALSE(d.view.progressShown);
}
