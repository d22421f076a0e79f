// Launcher mode on disk: a copy of Morvane as the game's System\UT2003.exe, with the game's own
// executable kept beside it as UT2003_original.exe.
#pragma once
#include <string_view>

class FileSystem;
class Processes;
class Prompts;

// chkLaunch's click handler: ticked (1) installs, any other state removes; the folder is the
// path box's text as it stands. Nothing happens while the options window is hidden, so loading
// the options at start-up installs nothing. The game's executable is never lost: a Morvane found
// where the game should be is never copied over the game, removal without the game's own copy
// changes nothing, and a failed step is undone where that keeps the game under one of its names.
void chkLaunch_Click(bool optionsVisible, int state, std::string_view gameFolder, FileSystem& fs,
                     Processes& processes, Prompts& prompts);
