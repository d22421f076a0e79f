// Puts text on the clipboard; a clipboard held by another program is left alone.
#include "platform/Win32Clipboard.h"

#include <windows.h>

#include <cstring>

void Win32Clipboard::SetText(std::string_view text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (memory == nullptr) return;
    if (char* p = static_cast<char*>(GlobalLock(memory))) {
        std::memcpy(p, text.data(), text.size());
        p[text.size()] = '\0';
        GlobalUnlock(memory);
    }
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    // On success the clipboard owns the memory.
    if (SetClipboardData(CF_TEXT, memory) == nullptr) GlobalFree(memory);
    CloseClipboard();
}
