// Running in the game's place: started as System\UT2003.exe with launcher mode ticked, Morvane
// un-caches everything, starts the game under its own name, waits and puts the names back.
#pragma once
#include <cstdint>
#include <string_view>

class Clock;
class Processes;
class Rip;

constexpr std::uint32_t LauncherWaitMs = 20000;

// Whether this start is the launcher's: the program's name without extension is "UT2003" and its
// folder is the game folder & "\System", both exactly as written, and chkLaunch is ticked (1).
bool IsLauncherStart(std::string_view programPath, std::string_view gameFolder, int launchState);
// The launcher sequence. True when it ran to its end and the program is to end at once, with no
// window, no close handler and nothing saved. A failure puts UT2003.exe and UT2003_original.exe
// back under their installed names, is reported as frmRip->Form_Load, and gives false: the main
// window then opens.
bool RunLauncher(Rip& rip, Processes& processes, Clock& clock);
