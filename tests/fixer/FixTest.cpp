// The fixer's behaviour against the fakes: the scan, the rows shown, every repair and refusal, and
// what a failing operation leaves behind.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "app/EveryFault.h"
#include "cache/ErrorReport.h"
#include "fixer/Fix.h"
#include "platform/DateFormatter.h"
#include "support/World.h"

using namespace std::string_literals;

namespace {

using Names = std::vector<std::string>;
std::size_t I(FixList list) { return static_cast<std::size_t>(list); }

// Entries with their file (A, C), without (B, and D of the same name), and stray files.
const std::string OldIndex = "[Cache]\r\nA=DM-A.ut2\r\nB=B.utx\r\nC=C.u\r\nD=B.utx\r\n";
const Names Files = {"A-1.uxx", "C-1.uxx", "S-1.uxx", "U-1.uxx", "T-2.uxx", "x.dat"};

// A game whose index (none without one) and cache folder are given, each file holding its name,
// and the fixer on it, the main window's behaviour (its folder checked) as its host. The fixer's
// window and its dates ("{ticks}") are kept here in memory.
struct Fixer final : World, FixView, DateFormatter {
    std::array<Names, 4> rows;
    std::array<int, 4> selected{-1, -1, -1, -1};
    std::string filename;
    std::map<FixLabel, std::string> labels;
    bool delHex = true;
    Fix fix{*this, rip, FixPorts{fs, prompts, clipboard, sizes, *this, codePage}};

    explicit Fixer(std::optional<std::string> index = OldIndex, const Names& files = Files) {
        rip.ValidPath = true;
        if (index) fs.AddFile(Path("\\Cache\\cache.ini"), *index);
        else fs.Remove(Path("\\Cache\\cache.ini"));
        for (const std::string& f : files) fs.AddFile(Path("\\Cache\\") + f, f);
    }
    void BeginRows() override { rows = {}, selected = {-1, -1, -1, -1}; }
    void AddRow(FixList list, std::string_view text) override { rows[I(list)].emplace_back(text); }
    void EndRows() override {}
    int SelectedRow(FixList list) override { return selected[I(list)]; }
    void SelectRow(FixList list, int row) override { selected[I(list)] = row; }
    std::string FilenameText() override { return filename; }
    void SetFilenameText(std::string_view text) override { filename = std::string(text); }
    void SetLabel(FixLabel label, std::string_view caption) override { labels[label] = std::string(caption); }
    void EnableDelHex(bool enabled) override { delHex = enabled; }
    std::string FormatFileTime(std::uint64_t ticks) override { return "{" + std::to_string(ticks) + "}"; }
    std::string FormatFileDate(std::uint64_t ticks) override { return "[" + std::to_string(ticks) + "]"; }

    void Click(FixList list, int row, void (Fix::*handler)()) { selected[I(list)] = row, (fix.*handler)(); }
    std::string Rows(FixList list) {
        std::string s;
        for (const std::string& row : rows[I(list)]) s += (s.empty() ? "" : ",") + row;
        return s;
    }
    // Every list's rows, then the summary.
    std::string Lists() {
        return "OK[" + Rows(FixList::OK) + "] Cache[" + Rows(FixList::Cache) + "] Files[" + Rows(FixList::Files) +
               "] Hex[" + Rows(FixList::Hex) + "] " + labels[FixLabel::Info];
    }
    // The name box, size, date, cmbHex's row and button, and the rows selected in lstOK, lstFiles, lstCache.
    std::string Details() {
        return filename + "|" + labels[FixLabel::Size] + "|" + labels[FixLabel::Modif] + "|hex " +
               std::to_string(selected[I(FixList::Hex)]) + (delHex ? " on|" : " off|") + std::to_string(selected[0]) +
               std::to_string(selected[1]) + std::to_string(selected[2]);
    }
};

}  // namespace

TEST(FixScan, SortsEntriesAndFilesIntoTheListsOrSaysWhyItCannot) {
    const std::string found = "Found problem files :  ", six = "A-1.uxx,C-1.uxx,S-1.uxx,T-2.uxx,U-1.uxx,x.dat",
                      all = "OK[] Cache[] Files[" + six + "] Hex[" + six + "] " + found + "6 unreferenced files",
                      report = "frmFix->RefreshLists: " +
                               BuildErrorReport(ReportSite::FixRefreshLists, "Locked.").message;
    // The index (none: no file), the folder, an operation failing with "Locked." and the answer to
    // the report; then the lists and their summary (which was "before"), and the messages.
    const struct { std::optional<std::string> index; Names files; std::optional<FsOp> op; MsgAnswer answer;
                   std::string lists; Names shown; } cases[] = {
        // With its file, without, unrelated files; a cached name matches exactly (letter case included,
        // the empty key too), and cache.ini and other ".ini" files of any letter case are no cached files.
        {"[Cache]\r\nA=a.ut2\r\nB=b.ut2\r\nC=c.ut2\r\n=e.ut2\r\n", {"A-1.uxx", "b-1.uxx", "C-1.UXX", "-1.uxx",
         "A-2.uxx", "x.INI", "x.dat"}, {}, {}, "OK[a.ut2,e.ut2] Cache[b.ut2,c.ut2] Files[A-2.uxx,b-1.uxx,C-1.UXX,"
         "x.dat] Hex[-1.uxx,A-1.uxx,A-2.uxx,b-1.uxx,C-1.UXX,x.dat] " + found + "4 unreferenced files and 2 references "
         "to unexisting files", {}},
        // A key twice: two OK rows, its file once in cmbHex.
        {"[Cache]\r\nA=a.ut2\r\nA=again.ut2\r\n", {"A-1.uxx"}, {}, {},
         "OK[a.ut2,again.ut2] Cache[] Files[] Hex[A-1.uxx] No problems found !", {}},
        // No index: said so, without an icon, and every file is unreferenced.
        {std::nullopt, {"A-1.uxx", "x.dat"}, {}, {}, "OK[] Cache[] Files[A-1.uxx,x.dat] Hex[A-1.uxx,x.dat] " + found +
         "2 unreferenced files", {"Morvane: No cache.ini file in C:\\Games\\UT2003\\Cache"}},
        // An index that cannot be read: Yes goes on without it, No ends the scan at once.
        {OldIndex, Files, FsOp::ReadAll, MsgAnswer::Yes, all, {report}},
        {OldIndex, Files, FsOp::Exists, MsgAnswer::No, "OK[] Cache[] Files[] Hex[] before", {report}},
        {"\0\0\xFE\xFF"s, Files, {}, {}, all, {"Morvane: " + UnreadableIndexMessage(World::Game)}},  // UTF-32
        // A cache folder that cannot be searched: said so, and no empty row.
        {OldIndex, Files, FsOp::List, {}, "OK[] Cache[DM-A.ut2,B.utx,C.u,B.utx] Files[] Hex[] " + found +
         "4 references to unexisting files", {"Morvane: Invalid filename!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lists);
        Fixer f(c.index, c.files);
        f.labels[FixLabel::Info] = "before";
        if (c.op) f.fs.FailOn(*c.op, f.Path(c.op == FsOp::List ? "\\Cache\\*" : "\\Cache\\cache.ini"), "Locked.");
        f.prompts.answers = {c.answer};
        f.fix.RefreshLists();
        EXPECT_EQ(f.Lists(), c.lists);
        ASSERT_EQ(f.Shown(), c.shown);
        EXPECT_TRUE(c.index || f.prompts.shown[0].icon == MsgIcon::None);
        if (c.lists == all) {  // the scan did not read cache.ini: a binding edits it as it is now, losing no line
            f.filename = "S.ut2";
            f.Click(FixList::Hex, 2, &Fix::cmdSave_Click);
            if (c.op) {  // readable again
                EXPECT_EQ(f.Index(), *c.index + "S=S.ut2\r\n");
            } else {
                EXPECT_EQ(f.Index(), *c.index);
                EXPECT_EQ(f.Shown().end()[-2], "Morvane: Morvane could not rewrite \"" + std::string(World::Game) + "\\Cache\\cache.ini\", "
                                            "which stays as it was:\r\nThe text encoding of cache.ini cannot be read.");
            }
        }
        f.rip.ValidPath = false;  // no scan: the lists of this one would describe a folder not scanned
        f.fix.RefreshLists();
        EXPECT_EQ(f.Lists() + "|" + f.Shown().back(), "OK[] Cache[] Files[] Hex[] Not scanned: the path in the main "
                  "window is not a valid UT2003 folder.|Stoopid user: Please enter a valid path in main window!");
        EXPECT_EQ(f.prompts.shown.back().icon, MsgIcon::Critical);
    }
}

TEST(FixSelect, EachRowShowsWhatItStandsForAndClearsTheOtherLists) {
    Fixer f;
    f.fix.RefreshLists();
    f.fs.SetModified(f.Path("\\Cache\\C-1.uxx"), 777);
    f.Click(FixList::Files, 0, &Fix::lstFiles_Click);  // S-1.uxx, whose name is to be typed
    EXPECT_EQ(f.Details(), "|<7> (7 bytes)|{0}|hex 2 on|-10-1");
    f.Click(FixList::OK, 1, &Fix::lstOK_Click);  // C.u
    EXPECT_EQ(f.Details(), "C.u|<7> (7 bytes)|{777}|hex 1 on|1-1-1");
    f.Click(FixList::Cache, 0, &Fix::lstCache_Click);  // B.utx, without its file
    EXPECT_EQ(f.Details(), "B.utx|???|???|hex -1 off|-1-10");
    // A file gone since the scan: said so, and a fresh scan shows it missing.
    f.fs.Remove(f.Path("\\Cache\\C-1.uxx"));
    f.Click(FixList::OK, 1, &Fix::lstOK_Click);
    EXPECT_EQ(f.Shown().back(), "Morvane: Morvane cannot read the size and date of "
                                "\"C:\\Games\\UT2003\\Cache\\C-1.uxx\":\r\nFile not found.");
    EXPECT_EQ(f.Rows(FixList::Cache), "B.utx,C.u,B.utx");
}

TEST(FixRepairs, BindDeleteAndRemoveAsAskedAndRefuseWhatWouldNameAnotherFile) {
    using Act = std::function<void(Fixer&)>;
    const auto hex = [](int row, const char* name) -> Act {  // a file chosen in cmbHex, a name typed
        return [=](Fixer& f) { f.Click(FixList::Hex, row, &Fix::cmbHex_Change), f.filename = name; };
    };
    const Act ok = [](Fixer& f) { f.Click(FixList::OK, 0, &Fix::lstOK_Click); };  // DM-A.ut2
    const auto save = &Fix::cmdSave_Click, delCache = &Fix::cmdDelCache_Click, delHex = &Fix::cmdDelHex_Click;
    const std::string replace = "Replace file?: This ", both = "DM-A.ut2,C.u", cache = World::Game + "\\Cache\\"s,
                      file = replace + "cached file is already referenced in cache.ini.",
                      name = replace + "filename is already referenced as a valid file in cache.ini.",
                      confirm = "Confirm file deletion: Are you sure you want to delete C-1.uxx ?",
                      refused = "\" cannot be bound to a real filename: the game looks for a cached file under its "
                                "cache.ini key followed by \"-1.uxx\", so a line for this file would name another "
                                "file or none. cache.ini is left as it is.";
    // The choice, the button, the answers, the questions and refusals, the index, lstOK's rows after.
    const struct { Act choose; void (Fix::*press)(); std::vector<MsgAnswer> answers; Names shown;
                   std::string index, ok; } cases[] = {
        // A name whose file is missing, bound to a stray file: both of its old lines go.
        {[&](Fixer& f) { f.Click(FixList::Cache, 0, &Fix::lstCache_Click), hex(2, "B.utx")(f); },
         save, {}, {}, "[Cache]\r\nA=DM-A.ut2\r\nC=C.u\r\nS=B.utx\r\n", "DM-A.ut2,C.u,B.utx"},
        // An OK entry saved again: both questions, and its line moves to the end; or No.
        {ok, save, {MsgAnswer::Yes, MsgAnswer::Yes}, {file, name},
         "[Cache]\r\nB=B.utx\r\nC=C.u\r\nD=B.utx\r\nA=DM-A.ut2\r\n", "C.u,DM-A.ut2"},
        {ok, save, {MsgAnswer::No}, {file}, OldIndex, both},
        // A valid entry's file given a new name: the line of its key goes.
        {hex(0, "New.ut2"), save, {}, {file}, "[Cache]\r\nB=B.utx\r\nC=C.u\r\nD=B.utx\r\nA=New.ut2\r\n", "C.u,New.ut2"},
        // No file chosen, a file no line can name, a name cache.ini cannot hold, no name.
        {[](Fixer&) {}, save, {}, {"No file selected: Please select an existing physical file!"}, OldIndex, both},
        {hex(3, "New.ut2"), save, {}, {"Morvane: \"T-2.uxx" + refused}, OldIndex, both},
        {hex(2, "New.ut2 "), save, {}, {"Morvane: \"New.ut2 \" cannot be written to cache.ini as it is: blanks at the "
         "end of a name and line breaks are lost when cache.ini is read. Please enter the real filename without them."},
         OldIndex, both},
        {hex(2, ""), save, {}, {"No filename inputted: You have not entered a name for this file!"}, OldIndex, both},
        // References: every line of a name, a valid one, an unknown name (letter case counts), none.
        {hex(0, "B.utx"), delCache, {}, {"B.utx: Are you really sure you want to delete this file?"},
         "[Cache]\r\nA=DM-A.ut2\r\nC=C.u\r\n", both},
        {hex(0, "C.u"), delCache, {}, {"C.u: This is a VALID file, are you really sure you want to delete it?"},
         "[Cache]\r\nA=DM-A.ut2\r\nB=B.utx\r\nD=B.utx\r\n", "DM-A.ut2"},
        {hex(0, "c.u"), delCache, {}, {"Invalid filename!: File isn't referenced in cache.ini!"}, OldIndex, both},
        {hex(0, ""), delCache, {}, {"Morvane: Please enter a cache.ini reference to delete!"}, OldIndex, both},
        // None chosen; a file, deleted on Yes only, its line kept.
        {[](Fixer&) {}, delHex, {}, {"Select a file, dummy!: Please select a file to delete!"}, OldIndex, both},
        {hex(1, ""), delHex, {}, {confirm}, OldIndex, "DM-A.ut2"},
        {hex(1, ""), delHex, {MsgAnswer::No}, {confirm}, OldIndex, both},
        // A rewrite or a deletion that fails: said so, and nothing is lost.
        {[&](Fixer& f) { hex(2, "New.ut2")(f), f.fs.FailOn(FsOp::Replace, f.Path("\\Cache\\cache.ini"), "Full."); },
         save, {}, {"Morvane: Morvane could not rewrite \"" + cache + "cache.ini\", which stays as it was:"},
         OldIndex, both},
        {[&](Fixer& f) { hex(1, "")(f), f.fs.FailOn(FsOp::Remove, f.Path("\\Cache\\C-1.uxx"), "Locked."); }, delHex, {},
         {confirm, "Morvane: Morvane could not delete \"" + cache + "C-1.uxx\":"}, OldIndex, both},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index + c.ok);
        Fixer f;
        f.fix.RefreshLists();
        c.choose(f);
        f.prompts.answers.assign(c.answers.begin(), c.answers.end());
        (f.fix.*c.press)();
        EXPECT_EQ(f.prompts.Titles(), c.shown);
        EXPECT_EQ(f.Index(), c.index);
        EXPECT_EQ(f.Rows(FixList::OK), c.ok);
        for (const auto& question : f.prompts.shown) {  // Enter on a question that deletes deletes nothing
            if (question.icon == MsgIcon::Question && question.title != "Replace file?") {
                EXPECT_EQ(question.buttons, MsgButtons::YesNoDefaultNo) << question.title;
            }
        }
        const bool deleted = c.shown == Names{confirm} && c.answers.empty();  // confirmed with Yes
        EXPECT_EQ(f.fs.Has(f.Path("\\Cache\\C-1.uxx")), !deleted) << "only a confirmed deletion deletes";
    }
}

TEST(FixRepairs, AFailingOperationLeavesTheIndexWholeAndIsExplained) {
    const std::string after = OldIndex + "S=New.ut2\r\n";
    every_fault::ForEachFault([] { return std::make_unique<Fixer>(); },
        [](Fixer& f) {  // a stray file bound, then another deleted
            f.fix.RefreshLists();
            f.Click(FixList::Hex, 2, &Fix::cmbHex_Change);
            f.filename = "New.ut2";
            f.fix.cmdSave_Click();
            f.Click(FixList::Hex, 3, &Fix::cmbHex_Change);  // T-2.uxx
            f.fix.cmdDelHex_Click();
        },
        [&](Fixer& f, const Fixer&, std::size_t) {
            const bool saved = f.Index() == after, deleted = !f.fs.Has(f.Path("\\Cache\\T-2.uxx"));
            EXPECT_TRUE(saved || f.Index() == OldIndex) << "never half written: " << f.Index();
            EXPECT_TRUE((saved && deleted) || f.prompts.shown.size() > 1) << "what was not done is explained";
        });
}

// Repairs read cache.ini afresh: lines the game added since the scan stay, an index that came back
// is edited rather than replaced, a line gone since is said so, and every kept line keeps its
// bytes in the index's own encoding, characters beyond the code page included.
TEST(FixRepairs, EditTheIndexAsItIsNowAndKeepEveryOtherLineAsItIs) {
    const auto bind = [](Fixer& f, int hexRow, const char* name) {
        f.Click(FixList::Hex, hexRow, &Fix::cmbHex_Change);
        f.filename = name;
        f.fix.cmdSave_Click();
    };
    const auto unreference = [](Fixer& f, const std::string& name) { f.filename = name, f.fix.cmdDelCache_Click(); };
    // The index at the scan (none) and as the repairs find it; the name S-1.uxx is bound to and the
    // one unreferenced, each if any; the index and lstOK after, and the last message, if it matters.
    const struct { std::optional<std::string> scanned; std::string now; const char *bound, *dropped;
                   std::string index, ok, shown; } cases[] = {
        // A download while the fixer was open: its line stays.
        {OldIndex, OldIndex + "N=New.ut2\r\n", "S.ut2", "B.utx",
         "[Cache]\r\nA=DM-A.ut2\r\nC=C.u\r\nN=New.ut2\r\nS=S.ut2\r\n", "DM-A.ut2,C.u,S.ut2", ""},
        // No index at the scan, back before the binding: edited, not replaced.
        {std::nullopt, OldIndex, "S.ut2", "", OldIndex + "S=S.ut2\r\n", "DM-A.ut2,C.u,S.ut2", ""},
        // The chosen reference gone since the scan: nothing written, said so, and the lists show it.
        {OldIndex, "[Cache]\r\nA=DM-A.ut2\r\nB=B.utx\r\n", "", "C.u", "[Cache]\r\nA=DM-A.ut2\r\nB=B.utx\r\n",
         "DM-A.ut2", "Morvane: cache.ini no longer references \"C.u\", so it stays as it is. The lists now show "
         "cache.ini as it is."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.now);
        Fixer f(c.scanned);
        f.fix.RefreshLists();
        f.fs.AddFile(f.Path("\\Cache\\cache.ini"), c.now);
        if (*c.bound) bind(f, 2, c.bound);
        if (*c.dropped) unreference(f, c.dropped);
        EXPECT_EQ(f.Index(), c.index);
        EXPECT_EQ(f.Rows(FixList::OK), c.ok);
        if (!c.shown.empty()) {
            EXPECT_EQ(f.Shown().back(), c.shown);
        }
    }
    // "DM-Жar.ut2" under a key "Ж", in a UTF-8 index (each encoding's bytes are the index's test; a
    // UTF-16 index repaired through the window is the fixer window's).
    const std::string zh = "\xD0\x96", map = "DM-" + zh + "ar.ut2", bom = "\xEF\xBB\xBF";
    const std::string text = "[Cache]\r\nA=DM-A.ut2\r\n" + zh + "=" + map + "\r\n";
    Fixer f(bom + text + "B=B.utx\r\n", {"A-1.uxx", zh + "-1.uxx", "S-1.uxx"});
    f.fix.RefreshLists();
    EXPECT_EQ(f.Rows(FixList::OK), "DM-A.ut2," + map);
    bind(f, 1, "S.ut2");  // S-1.uxx, before the Cyrillic name
    EXPECT_EQ(f.Index(), bom + text + "B=B.utx\r\nS=S.ut2\r\n");
    unreference(f, "B.utx");
    EXPECT_EQ(f.Index(), bom + text + "S=S.ut2\r\n");
    unreference(f, map);
    EXPECT_EQ(f.Index(), bom + "[Cache]\r\nA=DM-A.ut2\r\nS=S.ut2\r\n");
}
