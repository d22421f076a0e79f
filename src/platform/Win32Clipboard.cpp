// Puts text on the clipboard; a clipboard held by another program is left alone.
#include "platform/Win32Clipboard.h"

#include <windows.h>

#include <cstring>

#include "platform/WideText.h"

void Win32Clipboard::SetText(std::string_view text) {
    // Unicode text: Windows makes the code page's CF_TEXT from it for programs that ask for that.
    const std::wstring wide = Wide(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) return;
    if (void* p = GlobalLock(memory)) {
        std::memcpy(p, wide.c_str(), bytes);
        GlobalUnlock(memory);
    }
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    // On success the clipboard owns the memory.
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
    CloseClipboard();
}
