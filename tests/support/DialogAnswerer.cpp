// The dialog-answering helper of the window tests.
#include "support/DialogAnswerer.h"

#include "platform/WideText.h"

namespace {

DialogAnswerer* current = nullptr;

}  // namespace

DialogAnswerer::DialogAnswerer() : timer_(SetTimer(nullptr, 0, 10, Tick)) { current = this; }

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
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32770", nullptr)) != nullptr;)
        if (w != current->ignored && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() &&
            IsWindowVisible(w) && IsWindowEnabled(w))
            return current->Answer(w);
}

void DialogAnswerer::Answer(HWND dialog) {
    Seen s{WindowText(dialog), {}, 0};
    if (HWND text = GetDlgItem(dialog, 0xFFFF)) s.text = WindowText(text);
    // The default button is the one drawn as default (message boxes answer DM_GETDEFID differently).
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) s.defaultButton = GetDlgCtrlID(child);
    seen.push_back(s);
    // An unexpected box is closed as harmlessly as it can be: Cancel, No or OK, or for a dialog
    // without them (the overwrite prompt) the Cancel command that Escape would send.
    Step step{{}, IDCANCEL, {}};
    if (!GetDlgItem(dialog, IDCANCEL))
        step.button = GetDlgItem(dialog, IDNO) ? IDNO : GetDlgItem(dialog, IDOK) ? IDOK : IDCANCEL;
    if (next_ < steps_.size() && steps_[next_].title == s.title) step = steps_[next_++];
    if (step.before) step.before(dialog);
    if (step.button == 0) return;  // `before` answers it, by keyboard for instance
    if (HWND button = GetDlgItem(dialog, step.button)) SendMessageW(button, BM_CLICK, 0, 0);
    else SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(step.button, BN_CLICKED), 0);
}

std::string WindowText(HWND window) {
    wchar_t buffer[4096] = {};
    GetWindowTextW(window, buffer, 4096);
    return Narrow(buffer, 4096);
}

void PumpFor(DWORD ms, HWND dialog) {
    MSG msg;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(5)) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (dialog != nullptr && IsDialogMessageW(dialog, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}
