// The main window's start-up, before it is first shown.
#pragma once

class OptionsWindow;
class Rip;

// The game folder from its record, the options, the folder check, the listing and, with
// "Automatically un-cache ALL files at startup" ticked, an un-cache run of every listed file,
// exactly as the buttons do it. A failure (such as a stored option that is no box state) is
// reported as frmRip->Form_Load and skips the rest: the window opens with what there is.
void StartUp(Rip& rip, OptionsWindow& options);
