// frmOptions: the options window over the settings store.
#include "settings/frmOptions.h"

#include "platform/DialogLayout.h"
#include "platform/Win32Prompts.h"
#include "platform/WinUi.h"
#include "settings/LauncherInstall.h"
#include "resource.h"

frmOptions::~frmOptions() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void frmOptions::EnsureLoaded() {
    if (hwnd_ != nullptr) return;
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_OPTIONS), owner_, s_DlgProc,
                       reinterpret_cast<LPARAM>(this));
}

void frmOptions::Load() {
    EnsureLoaded();
    LoadOptions(registry_, *this);
}

void frmOptions::Show() {
    EnsureLoaded();
    CentreOnOwner(hwnd_, owner_);
    ShowModal(hwnd_, owner_);
}

void frmOptions::Unload() {
    if (hwnd_ == nullptr) return;
    SaveOptions(registry_, *this);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

HWND frmOptions::Box(Option option) const {
    switch (option) {
        case Option::DelFiles: return delFilesBox_;
        case Option::AutoEmpty: return GetDlgItem(hwnd_, IDC_CHKEMPTY);
        case Option::AutoLaunch: return GetDlgItem(hwnd_, IDC_CHKLAUNCH);
    }
    return nullptr;
}

int frmOptions::State(Option option) {
    EnsureLoaded();
    return static_cast<int>(SendMessageW(Box(option), BM_GETCHECK, 0, 0));
}

void frmOptions::SetState(Option option, int state) {
    EnsureLoaded();
    // The boxes are BS_3STATE: a stored 2 shows grey and is saved back as 2 until the player clicks.
    SendMessageW(Box(option), BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void frmOptions::cmdOK_Click() {
    SaveOptions(registry_, *this);
    ShowWindow(hwnd_, SW_HIDE);
}

void frmOptions::chkLaunch_Click() {
    Win32Prompts prompts;  // owned by this window, which they keep from being used meanwhile
    prompts.SetOwner(hwnd_);
    ::chkLaunch_Click(IsWindowVisible(hwnd_) != FALSE, State(Option::AutoLaunch), GetText(pathBox_), files_,
                      processes_, prompts);
}

INT_PTR CALLBACK frmOptions::s_DlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        if (message == WM_INITDIALOG) {
            auto* self = reinterpret_cast<frmOptions*>(lParam);
            SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
            self->hwnd_ = hwnd;
            LayOutToFit(hwnd);
            return TRUE;
        }
        auto* self = reinterpret_cast<frmOptions*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (self == nullptr) return FALSE;
        // OK, and Escape (the window has no other way to close): the boxes already hold the choices.
        if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            self->cmdOK_Click();
            return TRUE;
        }
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
            (LOWORD(wParam) == IDC_CHKEMPTY || LOWORD(wParam) == IDC_CHKLAUNCH)) {
            TickOrClear(GetDlgItem(hwnd, LOWORD(wParam)));
            if (LOWORD(wParam) == IDC_CHKLAUNCH) self->chkLaunch_Click();
            return TRUE;
        }
    } catch (...) {
        ShowWindow(hwnd, SW_HIDE);
    }
    return FALSE;
}
