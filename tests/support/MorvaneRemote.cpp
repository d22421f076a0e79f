// morvane_remote: drives a running Morvane from another process, for the end-to-end tests and the
// demo. Each command waits (up to 15 s) for a visible top-level window with the given title.
//   wait TITLE                 prints nothing; exit 0 once the window is there
//   gone TITLE                 exit 0 once no such window is left
//   rows TITLE ID              prints the list box's rows, one a line
//   click TITLE ID             presses a button (posted, so that a box it opens does not block us)
//   settext TITLE ID TEXT      replaces an edit's text
//   close TITLE                asks the window to close
//   cursor X Y                 moves the mouse pointer (away from tooltips before a screenshot)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Search {
    const char* title;
    HWND found;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM lParam) {
    auto* s = reinterpret_cast<Search*>(lParam);
    char title[512] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    // A message box of the same title (told by its text control, id 65535) is never the window meant.
    if (!IsWindowVisible(hwnd) || std::string(title) != s->title || GetDlgItem(hwnd, 0xFFFF) != nullptr) return TRUE;
    s->found = hwnd;
    return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cmd = argc > 1 ? argv[1] : "";
    if (cmd == "cursor" && argc == 4) return SetCursorPos(std::atoi(argv[2]), std::atoi(argv[3])) ? 0 : 3;
    if (argc < 3) return 1;
    Search top{argv[2], nullptr};
    for (const DWORD start = GetTickCount();; Sleep(20)) {
        top.found = nullptr;
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&top));
        if ((top.found == nullptr) == (cmd == "gone")) break;
        if (GetTickCount() - start > 15000) {
            std::fprintf(stderr, "window \"%s\" %s\n", argv[2], cmd == "gone" ? "still there" : "not found");
            return 2;
        }
    }
    if (cmd == "wait" || cmd == "gone") return 0;
    if (cmd == "close") return PostMessageA(top.found, WM_CLOSE, 0, 0) ? 0 : 3;
    HWND control = argc > 3 ? GetDlgItem(top.found, std::atoi(argv[3])) : nullptr;
    if (control == nullptr) {
        std::fprintf(stderr, "no control %s in \"%s\"\n", argc > 3 ? argv[3] : "", argv[2]);
        return 4;
    }
    if (cmd == "click") return PostMessageA(control, BM_CLICK, 0, 0) ? 0 : 3;
    if (cmd == "settext" && argc == 5)
        return SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4])) ? 0 : 3;
    if (cmd != "rows") return 1;
    const LRESULT n = SendMessageW(control, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        // LB_GETTEXT must be the W call across processes.
        wchar_t row[1024] = {};
        SendMessageW(control, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
        char out[2048] = {};
        WideCharToMultiByte(CP_ACP, 0, row, -1, out, sizeof out, nullptr, nullptr);
        std::printf("%s\n", out);
    }
    return 0;
}
