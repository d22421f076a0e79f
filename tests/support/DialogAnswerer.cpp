// The dialog-answering helper of the window tests.
#include "support/DialogAnswerer.h"

namespace {

DialogAnswerer* current = nullptr;

bool IsDialog(HWND window) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == "#32770";
}

}  // namespace

DialogAnswerer::DialogAnswerer() {
    current = this;
    timer_ = SetTimer(nullptr, 0, 10, Tick);
}

DialogAnswerer::~DialogAnswerer() {
    KillTimer(nullptr, timer_);
    current = nullptr;
}

DialogAnswerer& DialogAnswerer::Expect(std::string title, int button, std::function<void(HWND)> before) {
    steps_.push_back({std::move(title), button, std::move(before)});
    return *this;
}

std::vector<std::string> DialogAnswerer::Titles() const {
    std::vector<std::string> out;
    for (const Seen& s : seen) out.push_back(s.title + ": " + s.text.substr(0, s.text.find('\r')));
    return out;
}

void CALLBACK DialogAnswerer::Tick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    if (current == nullptr) return;
    // A dialog answered by keyboard is left alone until it hides, or for 200 ms at most (a kept-
    // alive dialog may be shown again at once for the next question).
    if (current->pressed_ != nullptr) {
        if (IsWindow(current->pressed_) && IsWindowVisible(current->pressed_) && ++current->waited_ < 20) return;
        current->pressed_ = nullptr;
    }
    EnumThreadWindows(GetCurrentThreadId(), Visit, reinterpret_cast<LPARAM>(current));
}

BOOL CALLBACK DialogAnswerer::Visit(HWND window, LPARAM self) noexcept {
    auto* me = reinterpret_cast<DialogAnswerer*>(self);
    if (!IsWindowVisible(window) || !IsDialog(window) || !IsWindowEnabled(window)) return TRUE;
    for (HWND ignored : me->ignored_) {
        if (ignored == window) return TRUE;
    }
    me->Answer(window);
    return FALSE;
}

void DialogAnswerer::Answer(HWND dialog) {
    Seen s{WindowText(dialog), {}, 0, false};
    if (HWND text = GetDlgItem(dialog, 0xFFFF)) s.text = WindowText(text);
    // The default button is the one drawn as default (message boxes answer DM_GETDEFID differently).
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) s.defaultButton = GetDlgCtrlID(child);
    }
    int button = IDCANCEL;
    std::function<void(HWND)> before;
    if (next_ < steps_.size() && steps_[next_].title == s.title) {
        s.expected = true;
        button = steps_[next_].button;
        before = steps_[next_].before;
        ++next_;
    } else if (GetDlgItem(dialog, IDCANCEL) == nullptr) {
        // An unexpected box is closed as harmlessly as it can be; one without a No, OK or Cancel
        // button (the overwrite prompt) gets the Cancel command that Escape would send.
        button = GetDlgItem(dialog, IDNO) ? IDNO : GetDlgItem(dialog, IDOK) ? IDOK : IDCANCEL;
    }
    seen.push_back(s);
    if (before) before(dialog);
    if (button == 0) {  // `before` answers it, by keyboard for instance
        pressed_ = dialog;
        waited_ = 0;
        return;
    }
    HWND control = GetDlgItem(dialog, button);
    if (control != nullptr) SendMessageA(control, BM_CLICK, 0, 0);
    else SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

std::string WindowText(HWND window) {
    char buffer[4096] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

void PumpFor(DWORD ms, HWND dialog) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (dialog != nullptr && IsDialogMessageA(dialog, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
}
