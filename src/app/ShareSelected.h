// Sharing the selected cached packages: as one zip that unpacks into a UT2003 folder, or each as a
// .uz2 file for a redirect server. The cache, its index and the game folder are only read.
#pragma once

class Rip;

void ExportSelectedAsZip(Rip& rip);
void CompressSelectedForRedirect(Rip& rip);
