// Lays dialogs out so that every control lies inside its window and shows its whole caption, in
// whatever font and at whatever DPI the dialog is shown.
#pragma once
#include <windows.h>

// Places a dialog's controls as its template places them, in proportion, over a client area of
// `width` x `height` pixels grown just enough for every caption to fit its control, measured in the
// control's own font; a picture keeps its own size. The window keeps its centre. Call it once, when
// the captions, fonts and pictures are set and while the client area is still the template's.
void LayOut(HWND dialog, int width, int height);
// The same over the template's own size: the window only grows, where a caption needs it.
void LayOutToFit(HWND dialog);
// The same over a client area given in twips (1/1440 inch) at the screen's DPI: for the windows
// whose size is given in twips, whatever the dialog font's units would make of their template.
void LayOutInTwips(HWND dialog, int widthTwips, int heightTwips);
// Sizes a window so that its client area is `width` x `height` pixels; it keeps its centre.
void SetClientSize(HWND window, int width, int height);
