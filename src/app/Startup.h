// The main window's start-up, before it is first shown.
#pragma once

class Clock;
class OptionsWindow;
class Processes;
class Rip;

// The game folder from its record, the options, the folder check, the listing and, with
// "Automatically un-cache ALL files at startup" ticked, an un-cache run of every listed file,
// exactly as the buttons do it; then, when started in the game's place, the launcher sequence.
// A failure (such as a stored option that is no box state) is reported as frmRip->Form_Load and
// skips the rest: the window opens with what there is. True when the program is to end at once.
bool StartUp(Rip& rip, OptionsWindow& options, Processes& processes, Clock& clock);
