// morvane_remote: drives a running Morvane from another process, for the end-to-end tests and the
// demo. Each command waits (up to 15 s) for a visible top-level window with the given title.
//   wait TITLE                 prints nothing; exit 0 once the window is there
//   gone TITLE                 exit 0 once no such window is left
//   click TITLE ID             presses a button (posted, so that a box it opens does not block us)
//   settext TITLE ID TEXT      replaces an edit's text
//   close TITLE                asks the window to close
//   cursor X Y                 moves the mouse pointer (away from tooltips before a screenshot)
// Its arguments arrive in UTF-16 (wmain), so that a title or a text may hold any character.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND Find(const wchar_t* title) {
    // A message box of the same title (told by its text control, id 65535) is never the window meant.
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, nullptr, title)) != nullptr;)
        if (IsWindowVisible(w) && GetDlgItem(w, 0xFFFF) == nullptr) return w;
    return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring cmd = argc > 1 ? argv[1] : L"";
    if (cmd == L"cursor" && argc == 4) return SetCursorPos(_wtoi(argv[2]), _wtoi(argv[3])) ? 0 : 3;
    if (argc < 3) return 1;
    HWND top = nullptr;
    for (const DWORD start = GetTickCount();; Sleep(20)) {
        top = Find(argv[2]);
        if ((top == nullptr) == (cmd == L"gone")) break;
        if (GetTickCount() - start > 15000) {
            std::fwprintf(stderr, L"window \"%ls\" %ls\n", argv[2], cmd == L"gone" ? L"still there" : L"not found");
            return 2;
        }
    }
    if (cmd == L"wait" || cmd == L"gone") return 0;
    if (cmd == L"close") return PostMessageW(top, WM_CLOSE, 0, 0) ? 0 : 3;
    HWND control = argc > 3 ? GetDlgItem(top, _wtoi(argv[3])) : nullptr;
    if (control == nullptr) return 4;  // no such control
    if (cmd == L"click") return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 3;
    if (cmd == L"settext" && argc == 5)
        return SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4])) ? 0 : 3;
    return 1;
}
