// The start-up sequence.
#include "app/Startup.h"

#include <exception>

#include "app/Rip.h"
#include "cache/ErrorReport.h"
#include "settings/SettingsStore.h"

void StartUp(Rip& rip, OptionsWindow& options) {
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
    } catch (const std::exception& e) {
        ReportUnexpectedError(rip.Ports().prompts, rip.Ports().clipboard, ReportSite::FormLoad, e.what());
    }
}
