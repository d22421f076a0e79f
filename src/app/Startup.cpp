// The start-up sequence.
#include "app/Startup.h"

#include <exception>

#include "app/Launcher.h"
#include "app/Rip.h"
#include "cache/ErrorReport.h"
#include "platform/Processes.h"
#include "settings/SettingsStore.h"

bool StartUp(Rip& rip, OptionsWindow& options, Processes& processes, Clock& clock) {
    try {
        rip.LocateFolder();
        options.Load();
        rip.CheckPath();
        rip.LoadCache();
        if (options.State(Option::AutoEmpty) == 1) {
            rip.cmdSelAll_Click();
            rip.View().YieldOnce();
            rip.cmdUncache_Click();
            rip.View().YieldOnce();
        }
        if (IsLauncherStart(processes.ProgramPath(), rip.GameFolder(), options.State(Option::AutoLaunch)))
            return RunLauncher(rip, processes, clock);
    } catch (const std::exception& e) {
        ReportUnexpectedError(rip.Ports().prompts, rip.Ports().clipboard, ReportSite::FormLoad, e.what());
    }
    return false;
}
