// morvane_remote: drives a running Morvane from another process, for the end-to-end tests and the
// demo. Each command waits (up to a timeout) for a visible top-level window with the given title.
//   wait TITLE                 prints nothing; exit 0 once the window is there
//   gone TITLE                 exit 0 once no such window is left
//   text TITLE ID              prints the control's text
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

HWND FindTop(const char* title) {
    Search s{title, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitTop(const char* title, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND h = FindTop(title)) return h;
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
    return 1;
}
