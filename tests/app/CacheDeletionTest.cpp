// "Remove selected": the confirmation, the deleted files, the rewritten index and its failures.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <tuple>

#include "app/EveryFault.h"
#include "cache/ErrorReport.h"
#include "support/World.h"

const char* const Question = "Morvane: Are you sure you want to permanently delete file(s)???";
// E's key is no file name: its cached file would be the device COM1.
const World::Entries Five = [] {
    World::Entries entries = World::Keyed({"DM-A.ut2", "B.u", "C.utx", "D.uax", "E.ogg"});
    entries[4].first = "COM1." + entries[4].first.substr(5);
    return entries;
}();

TEST(CacheDeletion, AsksFirstThenDeletesTheSelectedFilesAndTheirLinesUpToAFailureItReports) {
    const char* const none = "DM-A.ut2:cache,ini B.u:cache,ini C.utx:cache,ini D.uax:cache,ini E.ogg:cache,ini";
    const std::string report = "frmRip->cmdDelete_Click: " + BuildErrorReport(ReportSite::Delete, "Locked.").message;
    // The selected rows, the current row, the answer, whether D cannot be deleted, the outcome, the
    // index's lines after a rewrite (none: the index is left as it was) and the summary line.
    const std::tuple<std::vector<int>, int, MsgAnswer, bool, const char*, std::vector<std::size_t>, const char*>
        cases[] = {
        {{1, 3}, -1, MsgAnswer::Yes, false, none, {}, ""},  // no current row: not even a question
        {{1, 3}, 3, MsgAnswer::No, false, none, {}, ""},
        {{}, 1, MsgAnswer::Yes, false, none, {0, 1, 2, 3, 4}, "Removed 0 cached files."},  // the current row is no selection
        {{1, 3, 4}, 3, MsgAnswer::Yes, false, "DM-A.ut2:cache,ini B.u:- C.utx:cache,ini D.uax:- E.ogg:cache,ini",
         {0, 2, 4}, "Removed 2 cached files, 1 refused."},
        // B is deleted before D fails: its line goes all the same.
        {{1, 3}, 3, MsgAnswer::Yes, true, "DM-A.ut2:cache,ini B.u:- C.utx:cache,ini D.uax:cache,ini E.ogg:cache,ini",
         {0, 2, 3, 4}, "Removed 1 cached file. The removal was ended by a failure."},
    };
    for (const auto& [selected, current, answer, fails, where, rewritten, summary] : cases) {
        SCOPED_TRACE("current row " + std::to_string(current) + (answer == MsgAnswer::No ? ", answered No" : ""));
        World w(Five);
        const std::string messy = "\r\nabc=Short.u\r\n" + w.Index();  // only a rewrite tidies it
        w.fs.AddFile(w.Path("\\Cache\\cache.ini"), messy);
        if (fails) w.fs.FailOn(FsOp::Remove, w.Cached(Five[3].first), "Locked.");
        w.Select(selected);
        w.view.current = current;
        w.prompts.answers = {answer};
        w.rip.cmdDelete_Click();
        std::vector<std::string> shown = {Question, report};
        shown.resize(current == -1 ? 0 : fails ? 2 : 1);
        EXPECT_EQ(w.Shown(), shown);
        EXPECT_EQ(w.Where(), where);
        EXPECT_EQ(w.Index(), rewritten.empty() ? messy : w.IndexOf(rewritten));
        EXPECT_EQ(w.view.loads, rewritten.empty() ? 1 : 2) << "the listing is reloaded after a rewrite only";
        EXPECT_EQ(w.view.labels[RipLabel::Summary], summary);
        // Enter on the question must delete nothing: No is its default button.
        if (!w.prompts.shown.empty()) {
            EXPECT_EQ(w.prompts.shown[0].buttons, MsgButtons::YesNoDefaultNo);
        }
    }
}

TEST(CacheDeletion, NoLineIsDroppedForAFileStillThereWhateverOperationFails) {
    const auto make = [] {
        auto w = std::make_unique<World>(Five);
        w->Select({1, 3});
        return w;
    };
    const std::set<std::string> possible = {  // rows are deleted in order, the index is rewritten last
        "DM-A.ut2:cache,ini B.u:cache,ini C.utx:cache,ini D.uax:cache,ini E.ogg:cache,ini",
        "DM-A.ut2:cache,ini B.u:ini C.utx:cache,ini D.uax:cache,ini E.ogg:cache,ini",
        "DM-A.ut2:cache,ini B.u:ini C.utx:cache,ini D.uax:ini E.ogg:cache,ini",
        "DM-A.ut2:cache,ini B.u:- C.utx:cache,ini D.uax:cache,ini E.ogg:cache,ini",
        "DM-A.ut2:cache,ini B.u:- C.utx:cache,ini D.uax:- E.ogg:cache,ini"};
    every_fault::ForEachFault(make, [](World& w) { w.rip.cmdDelete_Click(); },
                              [&](World& w, const World& clean, std::size_t failedAt) {
        EXPECT_EQ(possible.count(w.Where()), 1u) << w.Where();
        for (std::size_t i : {1, 3}) {
            const bool done = every_fault::LastCallNaming(clean, w.entries[i].first) < static_cast<long>(failedAt);
            EXPECT_FALSE(done && w.fs.Has(w.Cached(w.entries[i].first))) << w.entries[i].second << " came back";
        }
    });
}
