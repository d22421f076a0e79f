// "Remove selected": deletes the selected rows' cached files and their index lines.
#pragma once

class Rip;

void DeleteSelectedCachedFiles(Rip& rip);
