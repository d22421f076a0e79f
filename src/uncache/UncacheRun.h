// The un-cache run: moves or copies the selected cached files to the game's folders under their real names.
#pragma once

class UncacheHost;

void Uncache(UncacheHost& host);
