// The main window of the benchmarks that time what a player waits for in front of it.
#include "BenchWindow.h"

#include <commctrl.h>

#include "cache/GameFolder.h"
#include "platform/WideText.h"
#include "platform/WinUi.h"
#include "resource.h"
#include "settings/SettingsStore.h"

namespace {

BoxAnswerer* current = nullptr;

// Dialogs and message boxes alike; read without allocating, as the hook may not throw.
bool IsDialog(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return lstrcmpW(name, L"#32770") == 0;
}

}  // namespace

BoxAnswerer::BoxAnswerer() : hook_(SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId())) {
    current = this;
}

BoxAnswerer::~BoxAnswerer() {
    UnhookWindowsHookEx(hook_);
    if (timer_ != 0) KillTimer(nullptr, timer_);
    current = nullptr;
}

LRESULT CALLBACK BoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) noexcept {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && current != nullptr && current->timer_ == 0 && window != current->ignored &&
        IsDialog(window))
        current->timer_ = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Tick);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK BoxAnswerer::Tick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    if (current == nullptr) return;
    KillTimer(nullptr, current->timer_);
    current->timer_ = 0;
    EnumThreadWindows(GetCurrentThreadId(), Each, 0);
}

BOOL CALLBACK BoxAnswerer::Each(HWND window, LPARAM) noexcept {
    if (window == current->ignored || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
        !IsDialog(window))
        return TRUE;
    try {
        current->Answer(window);
    } catch (...) {
        // No memory left for the record: the box is still closed, as Escape would.
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    }
    return TRUE;
}

// The answer is posted, as a click would be, and taken by the box's modal loop when this tick ends.
void BoxAnswerer::Answer(HWND box) {
    Box seen{GetText(box), GetText(GetDlgItem(box, 0xFFFF)), GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO), 0};
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen.defaultButton = GetDlgCtrlID(child);
    boxes.push_back(seen);
    int button = IDCANCEL;
    if (yes && GetDlgItem(box, IDYES)) button = IDYES;
    else if (GetDlgItem(box, IDNO)) button = IDNO;
    else if (!GetDlgItem(box, IDCANCEL) && GetDlgItem(box, IDOK)) button = IDOK;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

BenchWindow::BenchWindow(const std::string& gameFolder) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // A closed main window stores its options in both keys; the next one would start with them.
    RegDeleteKeyW(HKEY_CURRENT_USER, Wide(OptionsKeyPath).c_str());
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Wide(OptionsKeyPath).c_str(), KEY_WOW64_32KEY, 0);
    registry_.WriteRegValue(HKeyLocalMachine, GameKeyPath, GameFolderValue, gameFolder);
    form_.Create(SW_SHOW);
    answers.ignored = form_.Window();
    // Its first paint and whatever the start-up left, before anything is timed.
    for (int i = 0; i < 20; ++i) {
        YieldToEvents();
        Sleep(5);
    }
}

void BenchWindow::Click(int id) {
    SendMessageW(Item(id), BM_CLICK, 0, 0);
    YieldToEvents();
}

void BenchWindow::RefreshAndSelectAll() {
    Click(IDC_CMDREFRESH);
    Click(IDC_CMDSELALL);
}

void BenchWindow::Show(bool shown) {
    ShowWindow(form_.Window(), shown ? SW_SHOW : SW_HIDE);
    YieldToEvents();
}

int BenchWindow::SelectedRows() const {
    return static_cast<int>(SendMessageW(Item(IDC_LSTCACHE), LB_GETSELCOUNT, 0, 0));
}
