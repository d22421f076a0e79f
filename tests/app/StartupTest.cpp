// The start-up sequence: its order, the automatic un-cache run, an invalid folder and a bad option.
#include <gtest/gtest.h>

#include "app/Startup.h"
#include "cache/ErrorReport.h"
#include "settings/SettingsStore.h"
#include "support/World.h"

namespace {

// chkDel is the view's box; the options window's two boxes are plain states here.
struct Boxes final : OptionsWindow {
    Boxes(FakeView& v, FakeRegistry& r) : view(v), registry(r) {}
    FakeView& view;
    FakeRegistry& registry;
    void Load() override { LoadOptions(registry, *this); }
    int empty = 0, launch = 0;
    int State(Option o) override { return o == Option::DelFiles ? view.deleteTicked : o == Option::AutoEmpty ? empty : launch; }
    void SetState(Option o, int s) override {
        if (o == Option::DelFiles) view.deleteTicked = s == 1;
        else (o == Option::AutoEmpty ? empty : launch) = s;
    }
};

}  // namespace

TEST(Startup, ListsAndWithAutomaticUncachingUncachesEverythingBeforeTheWindowShows) {
    // Auto-Empty as stored, the game's recorded folder, what the user then sees, the rows listed
    // and the yields (one after Select All, the run's own, one after the run).
    const std::tuple<const char*, const char*, std::vector<std::string>, const char*, std::size_t, int> cases[] = {
        {"0", World::Game, {}, "DM-A.ut2:cache,ini Rock.utx:cache,ini", 2, 0},
        {"1", World::Game, {}, "DM-A.ut2:Maps Rock.utx:Textures", 0, 3},
        {"1", "C:\\Nowhere", {"Morvane: Invalid path!", "Morvane: Invalid path!", "Morvane: Please enter a valid path!",
                              "Morvane: Invalid path!"}, "DM-A.ut2:cache,ini Rock.utx:cache,ini", 0, 2},
        {"x", World::Game, {"frmRip->Form_Load: " + BuildErrorReport(ReportSite::FormLoad, "Type mismatch").message},
         "DM-A.ut2:cache,ini Rock.utx:cache,ini", 0, 0},
    };
    for (const auto& [autoEmpty, folder, shown, where, rows, yields] : cases) {
        SCOPED_TRACE(std::string("Auto-Empty ") + autoEmpty + ", folder " + folder);
        World w({{World::KeyFor(1), "DM-A.ut2"}, {World::KeyFor(2), "Rock.utx"}});
        w.view.path = "";
        w.registry.Set("Software\\Unreal Technology\\Installed Apps\\UT2003", "Folder", RegValue::OfText(folder));
        w.registry.Set(OptionsKeyPath, "DelFiles", RegValue::OfText("1"));
        w.registry.Set(OptionsKeyPath, "Auto-Empty", RegValue::OfText(autoEmpty));
        Boxes boxes(w.view, w.registry);
        FakeProcesses processes(w.fs);
        EXPECT_FALSE(StartUp(w.rip, boxes, processes, processes)) << "the window opens";
        EXPECT_EQ(w.Shown(), shown);
        EXPECT_EQ(w.Where(), where);
        EXPECT_EQ(w.view.path, folder);
        EXPECT_EQ(w.view.rows.size(), rows);
        EXPECT_EQ(w.view.yields, yields);
    }
}
