// morvane_remote: drives a running Morvane from another process, for the end-to-end tests and the
// demo. Each command waits (up to a timeout) for a visible top-level window with the given title.
//   wait TITLE                 prints nothing; exit 0 once the window is there
//   gone TITLE                 exit 0 once no such window is left
//   text TITLE ID              prints the control's text (ID 65535: a message box's text)
//   rows TITLE ID              prints the list box's rows, one a line
//   click TITLE ID             presses a button (posted, so that a box it opens does not block us)
//   settext TITLE ID TEXT      replaces an edit's text
//   select TITLE ID ROW        selects one more row of an extended-selection list
//   close TITLE                asks the window to close
//   boxtext TITLE              prints the text of a message box with that title
//   answer TITLE ID            presses button ID (1 OK, 2 Cancel, 6 Yes, 7 No) of such a box
// A message box is told from a window of the same title by its text control (id 65535).
//   cursor X Y                 moves the mouse pointer (away from tooltips before a screenshot)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int BoxText = 0xFFFF;

struct Search {
    const char* title;
    bool box;
    HWND found;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM lParam) {
    auto* s = reinterpret_cast<Search*>(lParam);
    char title[512] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    const bool isBox = GetDlgItem(hwnd, BoxText) != nullptr;
    if (IsWindowVisible(hwnd) && std::string(title) == s->title && isBox == s->box) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindTop(const char* title, bool box = false) {
    Search s{title, box, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitTop(const char* title, DWORD timeoutMs, bool box = false) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND h = FindTop(title, box)) return h;
        if (GetTickCount() - start > timeoutMs) {
            std::fprintf(stderr, "no window \"%s\"\n", title);
            std::exit(2);
        }
        Sleep(20);
    }
}

std::string TextOf(HWND control) {
    // WM_GETTEXT works across processes where GetWindowTextA does not for edits.
    wchar_t buffer[4096] = {};
    SendMessageW(control, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer));
    char out[8192] = {};
    WideCharToMultiByte(CP_ACP, 0, buffer, -1, out, sizeof out, nullptr, nullptr);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    const std::string cmd = argv[1];
    const DWORD timeout = 15000;
    if (cmd == "cursor" && argc == 4) {
        SetCursorPos(std::atoi(argv[2]), std::atoi(argv[3]));
        return 0;
    }
    if (argc < 3) return 1;
    if (cmd == "gone") {
        const DWORD start = GetTickCount();
        while (FindTop(argv[2]) != nullptr) {
            if (GetTickCount() - start > timeout) return 2;
            Sleep(20);
        }
        return 0;
    }
    if (cmd == "boxtext" || cmd == "answer") {
        HWND box = WaitTop(argv[2], timeout, true);
        if (cmd == "boxtext") {
            std::printf("%s\n", TextOf(GetDlgItem(box, BoxText)).c_str());
            return 0;
        }
        if (argc < 4) return 1;
        HWND button = GetDlgItem(box, std::atoi(argv[3]));
        if (button == nullptr) return 4;
        return PostMessageA(button, BM_CLICK, 0, 0) ? 0 : 3;
    }
    HWND top = WaitTop(argv[2], timeout);
    if (cmd == "wait") return 0;
    if (cmd == "close") return PostMessageA(top, WM_CLOSE, 0, 0) ? 0 : 3;
    if (argc < 4) return 1;
    HWND control = GetDlgItem(top, std::atoi(argv[3]));
    if (control == nullptr) {
        std::fprintf(stderr, "no control %s in \"%s\"\n", argv[3], argv[2]);
        return 4;
    }
    if (cmd == "text") {
        std::printf("%s\n", TextOf(control).c_str());
        return 0;
    }
    if (cmd == "rows") {
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
    if (cmd == "click") return PostMessageA(control, BM_CLICK, 0, 0) ? 0 : 3;
    if (cmd == "settext" && argc == 5) {
        SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
        return 0;
    }
    if (cmd == "select" && argc == 5) {
        SendMessageA(control, LB_SETSEL, TRUE, std::atoi(argv[4]));
        return 0;
    }
    return 1;
}
