// "Remove selected": the confirmation, the deleted files, the rewritten index and its failures.
#include <gtest/gtest.h>

#include <memory>

#include "app/EveryFault.h"
#include "support/World.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

std::string Line(const std::string& key, const std::string& name) { return key + "=" + name + "\r\n"; }

std::string Shown(const ScriptedPrompts& p) {
    std::string all;
    for (const auto& s : p.shown) all += "[" + s.title + ": " + s.text + "]";
    return all;
}

Entries Five() {
    Entries e;
    const char* names[] = {"DM-A.ut2", "B.u", "C.utx", "D.uax", "E.ogg"};
    for (int i = 0; i < 5; ++i) e.push_back({World::KeyFor(i + 1), names[i]});
    return e;
}

int Changes(const World& w) { return w.fs.Calls(FsOp::Remove) + w.fs.Calls(FsOp::WriteAll) + w.fs.Calls(FsOp::Replace); }

}  // namespace

TEST(CacheDeletion, DoesNothingWithoutARowToActOn) {
    for (bool rows : {false, true}) {
        SCOPED_TRACE(rows ? "rows selected, no current row" : "empty list");
        World w(rows ? Five() : Entries{});
        w.rip.LoadCache();
        for (auto& row : w.view.rows) row.selected = true;
        ASSERT_EQ(w.view.current, -1);
        const std::string old = w.Index();
        w.rip.cmdDelete_Click();
        EXPECT_EQ(Shown(w.prompts), "");
        EXPECT_EQ(Changes(w), 0);
        EXPECT_EQ(w.Index(), old);
        EXPECT_EQ(w.view.loads, 1);
    }
}

TEST(CacheDeletion, AsksFirstThenDeletesTheSelectedFilesAndTheirLines) {
    const Entries e = Five();
    World w(e);
    w.rip.LoadCache();
    w.view.Select({1, 3});
    const std::string old = w.Index();

    w.prompts.answers = {MsgAnswer::No};
    w.rip.cmdDelete_Click();
    ASSERT_EQ(w.prompts.shown.size(), 1u) << Shown(w.prompts);
    EXPECT_EQ(w.prompts.shown[0].text, "Are you sure you want to permanently delete file(s)???");
    EXPECT_EQ(w.prompts.shown[0].title, "Morvane");
    EXPECT_EQ(w.prompts.shown[0].icon, MsgIcon::Question);
    EXPECT_EQ(w.prompts.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(Changes(w), 0) << "No must change nothing";
    EXPECT_EQ(w.Index(), old);

    w.prompts.answers = {MsgAnswer::Yes};
    w.rip.cmdDelete_Click();
    EXPECT_EQ(w.prompts.shown.size(), 2u) << Shown(w.prompts);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(w.fs.Has(w.Cached(e[i].first)), i != 1 && i != 3) << e[i].second;
    EXPECT_EQ(w.Index(), "[Cache]\r\n" + Line(e[0].first, e[0].second) + Line(e[2].first, e[2].second) +
                             Line(e[4].first, e[4].second));
    EXPECT_EQ(w.view.Texts(), (std::vector<std::string>{"DM-A.ut2", "C.utx", "E.ogg"}));
}

TEST(CacheDeletion, CurrentRowWithoutSelectionStillNormalisesTheIndex) {
    const std::string k1 = World::KeyFor(1), k2 = World::KeyFor(2);
    World w;
    w.fs.AddFile(w.Cached(k1), "one");
    w.fs.AddFile(w.Cached(k2), "two");
    w.fs.AddFile(w.Path("\\Cache\\cache.ini"),
                 "[Cache]\r\n\r\n" + Line(k1, "DM-A.ut2") + "[Other]\r\nabc=Short.u\r\n" + Line(k2, "B.u") + "\r\n");
    w.rip.LoadCache();
    w.view.current = 1;
    w.rip.cmdDelete_Click();
    EXPECT_EQ(w.fs.Calls(FsOp::Remove), 0);
    EXPECT_EQ(w.Index(), "[Cache]\r\n" + Line(k1, "DM-A.ut2") + Line(k2, "B.u"));
    EXPECT_EQ(w.view.loads, 2);
    EXPECT_EQ(w.view.RowCount(), 2);
}

TEST(CacheDeletion, SharedKeyFailsOnItsSecondDeleteAndKeepsTheIndex) {
    const std::string k1 = World::KeyFor(1), k2 = World::KeyFor(2);
    World w({{k1, "DM-A.ut2"}, {k1, "DM-Again.ut2"}, {k2, "B.u"}});
    w.rip.LoadCache();
    ASSERT_EQ(w.view.RowCount(), 3);
    w.view.Select({0, 1});
    const std::string old = w.Index();
    w.rip.cmdDelete_Click();
    ASSERT_EQ(w.prompts.shown.size(), 2u) << Shown(w.prompts);
    const auto& report = w.prompts.shown[1];
    EXPECT_EQ(report.title, "frmRip->cmdDelete_Click");
    EXPECT_EQ(report.icon, MsgIcon::Critical);
    EXPECT_EQ(report.buttons, MsgButtons::Ok);
    EXPECT_EQ(report.text.substr(0, report.text.find("\r\nPlease")),
              "An unexpected error occurred in 'frmRip->cmdDelete_Click'!\r\nFile not found.");
    const std::string tail = "\r\n(The error message has been copied to your clipboard)";
    EXPECT_EQ(report.text.substr(report.text.size() - tail.size()), tail) << "no continue question";
    EXPECT_EQ(w.clipboard.text, "File not found.");
    EXPECT_EQ(w.Index(), old);
    EXPECT_EQ(w.fs.Calls(FsOp::WriteAll), 0);
    EXPECT_FALSE(w.fs.Has(w.Cached(k1)));
    EXPECT_TRUE(w.fs.Has(w.Cached(k2)));
    EXPECT_EQ(w.view.loads, 1) << "the listing is not reloaded after a failure";
    EXPECT_EQ(w.view.RowCount(), 3);
}

TEST(CacheDeletion, NoLineIsDroppedForAFileStillThereWhateverOperationFails) {
    const Entries e = Five();
    const auto make = [&] {
        auto w = std::make_unique<World>(e);
        w->rip.LoadCache();
        w->view.Select({1, 3});
        return w;
    };
    const auto fresh = make();
    const std::string old = fresh->Index();
    const std::string renewed = "[Cache]\r\n" + Line(e[0].first, e[0].second) + Line(e[2].first, e[2].second) +
                                Line(e[4].first, e[4].second);
    every_fault::ForEachFault(make, [](World& w) { w.rip.cmdDelete_Click(); },
                              [&](World& w, const World& clean, std::size_t failedAt) {
        for (std::size_t i = 0; i < 5; ++i) {
            const bool selected = i == 1 || i == 3;
            if (!selected) {
                EXPECT_EQ(w.fs.Bytes(w.Cached(e[i].first)), fresh->fs.Bytes(fresh->Cached(e[i].first))) << e[i].second;
            } else if (every_fault::LastCallNaming(clean, e[i].first) < static_cast<long>(failedAt)) {
                EXPECT_FALSE(w.fs.Has(w.Cached(e[i].first))) << e[i].second << " came back";
            }
        }
        if (w.Index() == renewed) {
            EXPECT_FALSE(w.fs.Has(w.Cached(e[1].first)) || w.fs.Has(w.Cached(e[3].first)))
                << "a line is gone while its file is there";
        } else {
            EXPECT_EQ(w.Index(), old);
        }
        EXPECT_FALSE(w.fs.Has(w.Path("\\Cache\\cache-new.ini")));
        for (const auto& s : w.prompts.shown) {
            if (s.icon != MsgIcon::Critical) continue;
            EXPECT_EQ(s.title, "frmRip->cmdDelete_Click");
            EXPECT_EQ(s.buttons, MsgButtons::Ok);
        }
    });
}
