// The un-cache run: copies the selected cached files to the game's folders under their real names.
#pragma once

class Rip;

void Uncache(Rip& rip);
