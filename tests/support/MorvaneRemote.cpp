// morvane_remote: drives a running Morvane from another process, for the end-to-end tests and the
// demo. Each command waits (up to 15 s) for a visible top-level window with the given title.
//   wait TITLE                 prints nothing; exit 0 once the window is there
//   gone TITLE                 exit 0 once no such window is left
//   click TITLE ID             presses a button (posted, so that a box it opens does not block us)
//   settext TITLE ID TEXT      replaces an edit's text
//   close TITLE                asks the window to close
//   cursor X Y                 moves the mouse pointer (away from tooltips before a screenshot)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HWND Find(const char* title) {
    // A message box of the same title (told by its text control, id 65535) is never the window meant.
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, nullptr, title)) != nullptr;)
        if (IsWindowVisible(w) && GetDlgItem(w, 0xFFFF) == nullptr) return w;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cmd = argc > 1 ? argv[1] : "";
    if (cmd == "cursor" && argc == 4) return SetCursorPos(std::atoi(argv[2]), std::atoi(argv[3])) ? 0 : 3;
    if (argc < 3) return 1;
    HWND top = nullptr;
    for (const DWORD start = GetTickCount();; Sleep(20)) {
        top = Find(argv[2]);
        if ((top == nullptr) == (cmd == "gone")) break;
        if (GetTickCount() - start > 15000) {
            std::fprintf(stderr, "window \"%s\" %s\n", argv[2], cmd == "gone" ? "still there" : "not found");
            return 2;
        }
    }
    if (cmd == "wait" || cmd == "gone") return 0;
    if (cmd == "close") return PostMessageA(top, WM_CLOSE, 0, 0) ? 0 : 3;
    HWND control = argc > 3 ? GetDlgItem(top, std::atoi(argv[3])) : nullptr;
    if (control == nullptr) return 4;  // no such control
    if (cmd == "click") return PostMessageA(control, BM_CLICK, 0, 0) ? 0 : 3;
    if (cmd == "settext" && argc == 5)
        return SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4])) ? 0 : 3;
    return 1;
}
