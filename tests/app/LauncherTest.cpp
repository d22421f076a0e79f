// Running in the game's place: the test of the program's name and folder, and the sequence with a
// fake clock and process starter, whole and with each step failing.
#include <gtest/gtest.h>

#include "app/Launcher.h"
#include "cache/ErrorReport.h"
#include "platform/Failure.h"
#include "support/World.h"

namespace {

const std::string System = std::string(World::Game) + "\\System";

// The main window's behaviour with launcher mode installed and Morvane started as UT2003.exe.
struct Installed : World {
    FakeProcesses processes{fs};
    Installed() : World({{KeyFor(1), "DM-A.ut2"}}) {
        processes.program = System + "\\UT2003.exe";
        fs.AddFile(System + "\\UT2003.exe", "Morvane");
        fs.AddFile(System + "\\UT2003_original.exe", "Game");
        view.deleteTicked = true;
        rip.LoadCache();
    }
    // Each file of the System folder, all executables, as "name=bytes".
    std::string Executables() const {
        std::string all;
        for (const auto& [path, bytes] : fs.Files())
            if (path.rfind(System + "\\", 0) == 0)
                all += path.substr(System.size() + 1) + "=" + bytes + " ";
        return all;
    }
};

}  // namespace

TEST(Launcher, StartsOnlyAsUT2003FromTheGamesSystemFolderWithTheBoxTicked) {
    const std::string in = "C:\\UT2003\\";
    // The program, the game folder, chkLaunch's state and the answer; letter case counts.
    const std::tuple<std::string, const char*, int, bool> cases[] = {
        {in + "System\\UT2003.exe", "C:\\UT2003", 1, true}, {in + "System\\UT2003", "C:\\UT2003", 1, true},
        {in + "System\\UT2003.exe", "C:\\UT2003", 0, false}, {in + "System\\UT2003.exe", "C:\\UT2003", 2, false},
        {in + "System\\Morvane.exe", "C:\\UT2003", 1, false}, {in + "UT2003.exe", "C:\\UT2003", 1, false},
        {in + "System\\ut2003.exe", "C:\\UT2003", 1, false}, {in + "system\\UT2003.exe", "C:\\UT2003", 1, false},
    };
    for (const auto& [program, folder, state, expected] : cases)
        EXPECT_EQ(IsLauncherStart(program, folder, state), expected) << program << " in " << folder << ", " << state;
}

TEST(Launcher, UncachesStartsTheGameUnderItsNameWaitsAndPutsTheNamesBackAfterAFailedStepToo) {
    const std::string launcher = System + "\\UT2003.exe", original = System + "\\UT2003_original.exe";
    // The failing rename (a path, and which of the renames naming it), the start, or nothing; and
    // the executables after it.
    const char* const installed = "UT2003.exe=Morvane UT2003_original.exe=Game ";
    const std::vector<std::string> report = {"frmRip->Form_Load: " +
                                             BuildErrorReport(ReportSite::FormLoad, "Disk trouble.").message};
    const std::tuple<std::string, int, const char*> cases[] = {
        {"", 0, installed}, {launcher, 1, installed}, {original, 1, installed}, {"start", 0, installed},
        {launcher, 3, installed},  // the game back aside: tried once more
        {System + "\\Morvane.exe", 2, "Morvane.exe=Morvane UT2003.exe=Game "},  // Morvane aside, the game startable
    };
    for (const auto& [failing, occurrence, executables] : cases) {
        SCOPED_TRACE(failing + " #" + std::to_string(occurrence));
        Installed w;
        w.processes.now = 0xFFFFF000u;  // the tick counter wraps during the wait
        std::string atStart;
        w.processes.onStart = [&, startFails = failing == "start"] {
            atStart = w.Executables();
            if (startFails) throw Failure("Disk trouble.");
        };
        if (occurrence > 0) w.fs.FailOn(FsOp::Rename, failing, "Disk trouble.", occurrence);
        EXPECT_EQ(RunLauncher(w.rip, w.processes, w.processes), failing.empty()) << "false: the window opens";
        EXPECT_EQ(w.Executables(), executables);
        EXPECT_EQ(w.Where(), "DM-A.ut2:Maps");
        EXPECT_EQ(w.Shown(), failing.empty() ? std::vector<std::string>{} : report);
        if (!failing.empty()) continue;
        EXPECT_EQ(w.processes.started, std::vector<std::string>{launcher});
        EXPECT_EQ(atStart, "Morvane.exe=Morvane UT2003.exe=Game ");
        EXPECT_EQ(w.processes.now - 0xFFFFF000u, LauncherWaitMs) << "20 seconds, across the wrap";
        EXPECT_EQ(w.processes.waits, 3);
    }
    // A file named Morvane.exe in System already (a run ended during its wait, a player's own copy):
    // Morvane stands aside under the next free name, and that file keeps its name and bytes.
    Installed w;
    w.fs.AddFile(System + "\\Morvane.exe", "Mine");
    std::string atStart;
    w.processes.onStart = [&] { atStart = w.Executables(); };
    EXPECT_TRUE(RunLauncher(w.rip, w.processes, w.processes));
    EXPECT_EQ(atStart, "Morvane (2).exe=Morvane Morvane.exe=Mine UT2003.exe=Game ");
    EXPECT_EQ(w.Executables(), "Morvane.exe=Mine UT2003.exe=Morvane UT2003_original.exe=Game ");
}
