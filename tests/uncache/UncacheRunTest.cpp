// The un-cache run: destinations, the delete option, sub-folder questions, overwrite decisions,
// and what every failure leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <tuple>

#include "app/EveryFault.h"
#include "cache/IndexInvariants.h"
#include "cache/ErrorReport.h"
#include "support/World.h"

namespace {

std::string K(int n) { return World::KeyFor(n); }
std::string G(const std::string& tail) { return World::Game + tail; }
// The run's report of a failure; its exact text is pinned by the error report's own tests.
std::string Report(const char* description) {
    return "frmRip->Uncache: " + BuildErrorReport(ReportSite::Uncache, description).message;
}

}  // namespace

TEST(UncacheRun, CopiesEachTypeToItsFolderAndDeletesTheCachedFilesWhenTicked) {
    World::Entries entries;  // all but the last one selected
    for (const char* name : {"DM-Foo.ut2", "XGame.u", "XGame.int", "Rock.utx", "Boom.uax", "Theme.umx", "Song.ogg",
                             "Crane.usx", "Game.uvx", "Rig.ukx", "Left.utx"})
        entries.push_back({K(static_cast<int>(entries.size()) + 1), name});
    World w(entries);
    w.view.deleteTicked = true;
    w.Select({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    w.rip.cmdUncache_Click();
    EXPECT_EQ(w.Where(), "DM-Foo.ut2:Maps XGame.u:System XGame.int:System Rock.utx:Textures Boom.uax:Sounds "
                         "Theme.umx:Music Song.ogg:Music Crane.usx:StaticMeshes Game.uvx:Saves Rig.ukx:Animations "
                         "Left.utx:cache,ini");
}

TEST(UncacheRun, ClicksDuringItsYieldAreIgnored) {
    World w({{K(1), "DM-A.ut2"}, {K(2), "DM-B.ut2"}});
    w.Select({0});
    int yields = 0;
    w.view.onYield = [&] {
        if (yields++ > 0) return;  // a nested run that was not ignored yields too
        const auto before = std::make_pair(w.fs.Log().size(), w.view.loads);
        w.rip.cmdUncache_Click();
        w.rip.cmdDelete_Click();
        w.rip.cmdRefresh_Click();
        EXPECT_EQ(std::make_pair(w.fs.Log().size(), w.view.loads), before) << "file operations and listings";
    };
    w.rip.cmdUncache_Click();
    EXPECT_EQ(yields, 1);
}

TEST(UncacheRun, RefusesNamesThatWouldLeaveTheGameFolderOrAreNoFileNames) {
    const std::string climbingKey = "..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\ab";  // 32 characters
    const std::string deviceKey = "nul." + K(9).substr(4);  // its cached file would be the device NUL
    World w({{K(1), "..\\System\\Evil.u"}, {K(2), "C:Evil.ut2"}, {climbingKey, "DM-Key.ut2"}, {K(3), "NUL.ut2"},
             {K(4), "com1.UAX"}, {K(5), "Map.ut2."}, {K(6), "Tab\t.utx"}, {deviceKey, "DM-Dev.ut2"}, {K(7), "DM-Ok.ut2"}});
    w.view.deleteTicked = true;
    w.Select({0, 1, 2, 3, 4, 5, 6, 7, 8});
    w.rip.cmdUncache_Click();
    std::vector<std::string> shown;
    for (const char* name : {"..\\System\\Evil.u", "C:Evil.ut2", "DM-Key.ut2"})  // a name, or the key, could climb
        shown.push_back("Morvane: \"" + std::string(name) + "\" is not un-cached: its name in cache.ini would place "
                        "it outside your UT2003 folders. It stays in your cache.");
    for (const char* name : {"NUL.ut2", "com1.UAX", "Map.ut2.", "Tab?.utx", "DM-Dev.ut2"})
        shown.push_back("Morvane: \"" + std::string(name) + "\" is not un-cached: its name in cache.ini is not one that "
                        "Windows allows for a file (a device name such as NUL or COM1, a name ending in a dot or a "
                        "blank, or one holding a control character or one of < > \" | ? *). It stays in your cache.");
    EXPECT_EQ(w.Shown(), shown);
    EXPECT_TRUE(w.prompts.asked.empty()) << "no sub-folder question for a refused name";
    EXPECT_EQ(w.Where(), "..\\System\\Evil.u:cache,ini C:Evil.ut2:cache,ini DM-Key.ut2:cache,ini NUL.ut2:cache,ini "
                         "com1.UAX:cache,ini Map.ut2.:cache,ini Tab\t.utx:cache,ini DM-Dev.ut2:cache,ini DM-Ok.ut2:Maps");
}

TEST(UncacheRun, AsksAgainForASubFolderOutsideTheGameFolderInTheCacheOrNoFolderName) {
    World w({{K(1), "Readme.txt"}, {K(2), "DM-Foo.UT2"}, {K(3), "Notes.txt"}, {K(4), "Other.txt"}});
    w.view.deleteTicked = true;
    // Readme: refused three times, then Help (created); DM-Foo: Help (there already); Notes: a
    // deeper folder; Other: refused, then cancelled.
    w.prompts.inputs = {"C:\\Windows", "Cache", "Help\\NUL", "Help", "Help", "Help\\Docs", "..", ""};
    w.Select({0, 1, 2, 3});
    w.rip.cmdUncache_Click();
    const std::string again = "Please enter another sub directory, such as Help or Help\\Docs.";
    EXPECT_EQ(w.Shown(), (std::vector<std::string>{
        "Morvane: \"C:\\Windows\" is not a folder inside your UT2003 folder. Please enter a sub directory of it, "
        "such as Help or Help\\Docs.",
        "Morvane: \"Cache\" is in your UT2003 cache folder, where un-cached files would overwrite the cache. " + again,
        "Morvane: \"Help\\NUL\" is not a folder name that Windows allows. " + again,
        "Morvane: \"..\" is not a folder inside your UT2003 folder. Please enter a sub directory of it, such as Help "
        "or Help\\Docs."}));
    std::vector<std::string> asked, got;
    for (const auto& [name, given] : std::vector<std::pair<const char*, const char*>>{
             {"Readme.txt", ""}, {"Readme.txt", "C:\\Windows"}, {"Readme.txt", "Cache"}, {"Readme.txt", "Help\\NUL"},
             {"DM-Foo.UT2", "Help"}, {"Notes.txt", "Help"}, {"Other.txt", "Help\\Docs"}, {"Other.txt", ".."}})
        asked.push_back(std::string("Enter sub-directory|") + given + "|Please enter the UT2003 sub directory where "
                        "you wish " + name + " to be un-cached.\r\n(ie: 'Help')\r\nIf the directory does not exist, "
                        "it will be created.");
    for (const auto& a : w.prompts.asked) got.push_back(a.title + "|" + a.defaultText + "|" + a.prompt);
    EXPECT_EQ(got, asked);
    EXPECT_EQ(w.Where(), "Readme.txt:Help DM-Foo.UT2:Help Notes.txt:Help\\Docs Other.txt:cache,ini");
}

TEST(UncacheRun, KeepsTheCachedFileWhenItsCopyIsNotWhole) {
    World w({{K(1), "DM-A.ut2"}, {K(2), "DM-B.ut2"}});
    w.view.deleteTicked = true;
    w.fs.ShortCopiesTo(G("\\Maps\\DM-A.ut2"));  // the copy, made where the move fails, says it succeeded
    w.fs.FailOn(FsOp::Move, w.Cached(K(1)), "Not on this disk.", 0);
    w.Select({0, 1});
    w.rip.cmdUncache_Click();
    EXPECT_EQ(w.Shown(), std::vector<std::string>{
                             Report(("The copy " + G("\\Maps\\DM-A.ut2") + " holds 5 bytes instead of 10.").c_str())});
    EXPECT_EQ(w.fs.Bytes(w.Cached(K(1))), World::Content(0));
    EXPECT_EQ(w.Index(), w.IndexOf({0}));
    EXPECT_EQ(w.Where(), "DM-A.ut2:cache,ini DM-B.ut2:Maps");
}

TEST(UncacheRun, ClosingTheMainWindowDuringAQuestionEndsTheRunAsANo) {
    // The question during which the window is closed: the overwrite prompt (answered Yes all the
    // same), a refusal, the sub-folder question (answered Help), an error report answered Yes.
    for (const std::string during : {"overwrite", "refusal", "sub-folder", "report"}) {
        SCOPED_TRACE(during);
        World w({{K(1), "DM-A.ut2"}, {K(2), "NUL.ut2"}, {K(3), "Readme.txt"}, {K(4), "DM-D.ut2"}});
        w.fs.AddFile(G("\\Maps\\DM-A.ut2"), "old");
        w.view.deleteTicked = true;
        w.overwrite.script = {during == "overwrite" ? 'Y' : 'N'};
        w.prompts.inputs = {"Help"};
        const auto closeDuring = [&](const char* question) { return [&w, &during, question] {
            if (during == question) w.view.closing = true; }; };
        w.overwrite.onAsk = closeDuring("overwrite");
        w.prompts.onInput = closeDuring("sub-folder");
        w.prompts.onMessage = [&] { w.view.closing = during == "refusal" || during == "report"; };
        if (during == "report") w.fs.FailOn(FsOp::Exists, G("\\Maps\\DM-A.ut2"));
        w.Select({0, 1, 2, 3});
        w.rip.cmdUncache_Click();
        EXPECT_EQ(w.fs.Bytes(G("\\Maps\\DM-A.ut2")), "old") << "nothing overwritten";
        EXPECT_FALSE(w.fs.Has(G("\\Help\\Readme.txt")) || w.fs.Has(G("\\Maps\\DM-D.ut2"))) << "nothing further";
        EXPECT_EQ(w.Index(), w.IndexOf({0, 1, 2, 3}));
        EXPECT_EQ(w.view.loads, 1) << "not listed again";
    }
}

TEST(UncacheRun, OverwriteDecisions) {
    // Rows A, B, C (another type, answered Help) and D; every destination exists already.
    const std::vector<std::string> dests = {G("\\Maps\\DM-A.ut2"), G("\\Maps\\DM-B.ut2"), G("\\Help\\Readme.txt"),
                                            G("\\Maps\\DM-D.ut2")};
    const char* const bcd = "DM-A.ut2:cache,ini DM-B.ut2:Maps Readme.txt:Help DM-D.ut2:Maps";
    const std::pair<const char*, const char*> cases[] = {  // the answers, one per question, and the outcome
        {"NYYY", bcd},  // No skips only that file
        {"O", "DM-A.ut2:cache,ini DM-B.ut2:cache,ini Readme.txt:cache,ini DM-D.ut2:cache,ini"},  // the rest unasked
        {"A", "DM-A.ut2:Maps DM-B.ut2:Maps Readme.txt:Help DM-D.ut2:Maps"},  // C is still asked for its sub-folder
        {"XYYY", bcd},  // closing the prompt keeps the file
        {"YNO", "DM-A.ut2:Maps DM-B.ut2:cache,ini Readme.txt:cache,ini DM-D.ut2:cache,ini"},
    };
    for (const auto& [script, where] : cases) {
        SCOPED_TRACE(std::string("answers ") + script);
        World w({{K(1), "DM-A.ut2"}, {K(2), "DM-B.ut2"}, {K(3), "Readme.txt"}, {K(4), "DM-D.ut2"}});
        for (const std::string& d : dests) w.fs.AddFile(d, "old");
        w.view.deleteTicked = true;
        w.prompts.inputs = {"Help"};
        w.overwrite.script.assign(script, script + std::strlen(script));
        w.Select({0, 1, 2, 3});
        w.rip.cmdUncache_Click();
        EXPECT_EQ(w.overwrite.asked, std::vector<std::string>(dests.begin(), dests.begin() + std::strlen(script)));
        EXPECT_EQ(w.prompts.asked.size(), 1u) << "the sub-folder question";
        EXPECT_EQ(w.Where(), where);
    }
}

TEST(UncacheRun, ADestinationWithTheCachedBytesIsNotAskedAboutNorCopied) {
    // A's destination holds its bytes; B's as many other bytes; C's fewer. Both answered Yes.
    for (const bool del : {false, true}) {
        SCOPED_TRACE(del ? "delete ticked" : "delete not ticked");
        World w({{K(1), "DM-A.ut2"}, {K(2), "DM-B.ut2"}, {K(3), "DM-C.ut2"}});
        w.fs.AddFile(G("\\Maps\\DM-A.ut2"), World::Content(0));
        w.fs.AddFile(G("\\Maps\\DM-B.ut2"), "0123456789");
        w.fs.AddFile(G("\\Maps\\DM-C.ut2"), "old");
        w.view.deleteTicked = del;
        w.overwrite.script = {'Y', 'Y'};
        w.Select({0, 1, 2});
        w.rip.cmdUncache_Click();
        EXPECT_EQ(w.overwrite.asked, (std::vector<std::string>{G("\\Maps\\DM-B.ut2"), G("\\Maps\\DM-C.ut2")}));
        EXPECT_EQ(w.Where(), del ? "DM-A.ut2:Maps DM-B.ut2:Maps DM-C.ut2:Maps"
                                 : "DM-A.ut2:cache,Maps,ini DM-B.ut2:cache,Maps,ini DM-C.ut2:cache,Maps,ini");
        std::string written;  // copies and moves by their destination's letter: none replaces A
        for (const std::string& call : w.fs.Log())
            if (call.rfind("Copy ", 0) == 0 || call.rfind("Move ", 0) == 0) written += call.substr(0, 5) + call[call.size() - 5];
        // With delete ticked each cached file first tries to take its destination's name unasked,
        // which fails where a file is there; only B and C are then moved over theirs.
        EXPECT_EQ(written, del ? "Move AMove BMove BMove CMove C" : "Copy BCopy C");
    }
}

TEST(UncacheRun, YesToAllHoldsForOneRunAndAnInvalidFolderEndsARunAtOnce) {
    World w({{K(1), "DM-Same.ut2"}, {K(2), "DM-Same.ut2"}});
    w.overwrite.script = {'A', 'N'};
    for (const char* path : {World::Game, World::Game, "C:\\Nowhere"}) {
        w.Select({0, 1});
        w.view.path = path;
        w.rip.cmdUncache_Click();
    }
    // Run 1 asks about the second copy only, which overwrites the first; run 2 asks about the first,
    // answered No, not about the second, whose bytes are there already; run 3 ends at once.
    EXPECT_EQ(w.overwrite.asked, std::vector<std::string>(2, G("\\Maps\\DM-Same.ut2")));
    EXPECT_EQ(w.Where(), "DM-Same.ut2:cache,ini DM-Same.ut2:cache,Maps,ini");
    EXPECT_EQ(w.Shown(), std::vector<std::string>{"Morvane: Invalid path!"});
}

TEST(UncacheRun, EachFailureIsReportedAndTheAnswerDecides) {
    const std::string cachedA = G("\\Cache\\" + K(1) + "-1.uxx"), index = G("\\Cache\\cache.ini");
    const char* const bothCopied = "DM-A.ut2:Maps,ini Readme.txt:Help,ini";
    // Rows A and B (into Help) selected, chkDel ticked, A not movable: the failing call, whether its
    // report is answered Yes, and the outcome.
    const std::tuple<FsOp, std::string, bool, const char*> cases[] = {
        {FsOp::Copy, cachedA, true, "DM-A.ut2:cache,ini Readme.txt:Help"},
        {FsOp::Copy, cachedA, false, "DM-A.ut2:cache,ini Readme.txt:cache,ini"},
        {FsOp::Remove, cachedA, true, "DM-A.ut2:cache,Maps Readme.txt:Help"},  // its line goes all the same
        {FsOp::Remove, cachedA, false, "DM-A.ut2:cache,Maps,ini Readme.txt:cache,ini"},
        {FsOp::Exists, G("\\Maps\\DM-A.ut2"), true, "DM-A.ut2:cache,ini Readme.txt:Help"},  // taken as there, asked
        {FsOp::Exists, G("\\Maps\\DM-A.ut2"), false, "DM-A.ut2:cache,ini Readme.txt:cache,ini"},
        {FsOp::MakeFolder, G("\\Help"), true, "DM-A.ut2:Maps Readme.txt:cache,ini"},  // unreported; the copy fails
        {FsOp::MakeFolder, G("\\Help"), false, "DM-A.ut2:Maps,ini Readme.txt:cache,ini"},
        {FsOp::ReadAll, index, true, bothCopied},  {FsOp::ReadAll, index, false, bothCopied},
        {FsOp::Flush, G("\\Maps\\DM-A.ut2"), true, "DM-A.ut2:cache,Maps,ini Readme.txt:Help"},  // a failed copy
        {FsOp::Flush, G("\\Maps\\DM-A.ut2"), false, "DM-A.ut2:cache,Maps,ini Readme.txt:cache,ini"},
        {FsOp::Replace, index, true, bothCopied},  {FsOp::Replace, index, false, bothCopied},
    };
    for (const auto& [op, path, goOn, where] : cases) {
        SCOPED_TRACE(path + (goOn ? " failed, Yes" : " failed, No"));
        World w({{K(1), "DM-A.ut2"}, {K(2), "Readme.txt"}});
        w.view.deleteTicked = true;
        w.prompts.inputs = {"Help"};
        w.Select({0, 1});
        w.prompts.answers = {goOn ? MsgAnswer::Yes : MsgAnswer::No};
        w.fs.FailOn(op, path, "Disk trouble.");
        w.fs.FailOn(FsOp::Move, cachedA, "Not on this disk.", 0);  // A is copied, never reported
        w.rip.cmdUncache_Click();
        const char* reported = op == FsOp::MakeFolder ? "Path not found." : "Disk trouble.";
        EXPECT_EQ(w.Shown(), std::vector<std::string>{Report(reported)});
        EXPECT_EQ(w.Where(), where);
        EXPECT_EQ(w.overwrite.asked.size(), op == FsOp::Exists && goOn ? 1u : 0u);
        EXPECT_EQ(w.view.loads, goOn ? 2 : 1) << "reloaded only when the run went on";
    }
}

TEST(UncacheRun, NoFileIsLostWhateverOperationFails) {
    // A, B (another type, into Help) and C (its bytes there already) selected; D listed but not
    // selected; chkDel ticked; the files moved, or A copied where it cannot be moved.
    const World::Entries entries = {{K(1), "DM-A.ut2"}, {K(2), "Readme.txt"}, {K(3), "XGame.u"}, {K(4), "Rock.utx"}};
    const char* dests[] = {"\\Maps\\DM-A.ut2", "\\Help\\Readme.txt", "\\System\\XGame.u", "\\Textures\\Rock.utx"};
    for (const auto& [answer, moves] : {std::pair(MsgAnswer::Yes, true), std::pair(MsgAnswer::No, true),
                                        std::pair(MsgAnswer::Yes, false), std::pair(MsgAnswer::No, false)}) {
        SCOPED_TRACE(std::string(answer == MsgAnswer::Yes ? "reports answered Yes" : "reports answered No") +
                     (moves ? "" : ", A not movable"));
        const auto make = [&, answer = answer, moves = moves] {
            auto w = std::make_unique<World>(entries);
            w->fs.AddFile(G(dests[2]), World::Content(2));
            if (!moves) w->fs.FailOn(FsOp::Move, w->Cached(K(1)), "Not on this disk.", 0);
            w->view.deleteTicked = true;
            w->prompts.inputs = {"Help"};
            w->prompts.answers = {answer};
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

TEST(UncacheRun, IndexesOfAnyLineEndOrEncodingAreListedAndRewrittenInTheirOwnForm) {
    const World::Entries entries = {{K(1), "DM-A.ut2"}, {K(2), "Caf\xE9.utx"}, {K(3), "C.uax"}, {K(4), "D.u"}};
    // "[Cache]" and the lines of the entries `which`, each ended by `end`, in `form` with its mark.
    const auto lines = [&](const std::vector<std::size_t>& which, const std::string& end, Form form) {
        IndexLines index{form, {"[Cache]"}, {end}};
        for (std::size_t n : which) {
            index.lines.push_back(entries[n].first + "=" + entries[n].second);
            index.ends.push_back(end);
        }
        return IndexBytes(index);
    };
    const std::pair<const char*, Form> forms[] = {
        {"\r", Form::Ansi}, {"\n", Form::Ansi}, {"\r\n", Form::Utf16LE}, {"\r\n", Form::Utf16BE}, {"\n", Form::Utf8}};
    for (const auto& [end, form] : forms) {
        SCOPED_TRACE("form " + std::to_string(static_cast<int>(form)) + ", line end " + (end[0] == '\r' ? "CR" : "LF") +
                     (end[1] ? "LF" : ""));
        World w(entries);
        w.fs.AddFile(w.Path("\\Cache\\cache.ini"), lines({0, 1, 2, 3}, end, form));
        w.view.deleteTicked = true;
        w.Select({0});
        w.rip.cmdUncache_Click();
        EXPECT_EQ(w.Index(), lines({1, 2, 3}, "\r\n", form));
        std::vector<std::string> rows;
        for (const auto& row : w.view.rows) rows.push_back(row.text);
        EXPECT_EQ(rows, (std::vector<std::string>{"Caf\xE9.utx", "C.uax", "D.u"}));
        w.Select({0, 1});
        w.rip.cmdDelete_Click();
        EXPECT_EQ(w.Index(), lines({3}, "\r\n", form));
        EXPECT_EQ(w.fs.Bytes(G("\\Maps\\DM-A.ut2")), World::Content(0));
        EXPECT_EQ(std::vector<bool>({w.fs.Has(w.Cached(K(2))), w.fs.Has(w.Cached(K(3))), w.fs.Has(w.Cached(K(4)))}),
                  std::vector<bool>({false, false, true}));
    }
    // An index that cannot be read lists nothing and is left as it is, with a message naming it.
    World w(entries);
    const std::string utf32 = std::string("\xFF\xFE\0\0", 4) + "[\0\0\0";
    w.fs.AddFile(w.Path("\\Cache\\cache.ini"), utf32);
    w.Select({});
    w.rip.cmdUncache_Click();
    EXPECT_TRUE(w.view.rows.empty());
    EXPECT_EQ(w.Index(), utf32);
    EXPECT_EQ(w.Shown(), std::vector<std::string>{"Morvane: \"" + w.Path("\\Cache\\cache.ini") + "\" is saved in a text "
                                                  "encoding that Morvane cannot read, so Morvane leaves it as it is and "
                                                  "removes no line from it."});
}
