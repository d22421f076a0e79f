// frmOverwrite: "Overwrite file?" with Yes, Yes to All, No and No to All.
#include "dialogs/frmOverwrite.h"

#include "platform/WinUi.h"
#include "resource.h"

frmOverwrite::~frmOverwrite() { Unload(); }

void frmOverwrite::Unload() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

void frmOverwrite::EnsureLoaded() {
    if (hwnd_ != nullptr) return;
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_OVERWRITE), owner_, s_DlgProc,
                       reinterpret_cast<LPARAM>(this));
}

void frmOverwrite::ResetFrm() {
    EnsureLoaded();
    YAllValue = false;
    NAllValue = false;
    Response = ResponseNone;
    SetFile("");
}

int frmOverwrite::Ask(std::string_view destination, [[maybe_unused]] std::string_view details) {
    EnsureLoaded();
    SetFile(destination);
    CentreOnOwner(hwnd_, owner_);
    SendMessageW(hwnd_, DM_SETDEFID, IDC_CMDYES, 0);
    SetFocus(GetDlgItem(hwnd_, IDC_CMDYES));
    ShowModal(hwnd_, owner_);
    return Response;
}

void frmOverwrite::SetFile(std::string_view path) {
    HWND label = GetDlgItem(hwnd_, IDC_LBLFILE);
    SetText(label, path);
    // The label is as wide as its text.
    const int width = TextWidth(label, path);
    RECT r;
    GetWindowRect(label, &r);
    SetWindowPos(label, nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmOverwrite::Form_Load() {
    SetClientSizeInTwips(hwnd_, 5025, 1485);  // 335 x 99 pixels at 96 DPI
    HICON logo = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_LOGO), IMAGE_ICON, 32, 32, 0));
    SendDlgItemMessageW(hwnd_, IDC_IMGUT2003, STM_SETICON, reinterpret_cast<WPARAM>(logo), 0);
}

void frmOverwrite::Answer(int response, bool yesToAll, bool noToAll) {
    Response = response;
    if (yesToAll) YAllValue = true;
    if (noToAll) NAllValue = true;
    ShowWindow(hwnd_, SW_HIDE);
}

INT_PTR CALLBACK frmOverwrite::s_DlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        if (message == WM_INITDIALOG) {
            auto* self = reinterpret_cast<frmOverwrite*>(lParam);
            SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
            self->hwnd_ = hwnd;
            self->Form_Load();
            return TRUE;
        }
        auto* self = reinterpret_cast<frmOverwrite*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (self == nullptr) return FALSE;
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            switch (LOWORD(wParam)) {
                case IDC_CMDYES: self->Answer(ResponseOverwrite, false, false); return TRUE;
                case IDC_CMDYALL: self->Answer(ResponseOverwrite, true, false); return TRUE;
                case IDC_CMDNO: self->Answer(ResponseKeep, false, false); return TRUE;
                case IDC_CMDNALL: self->Answer(ResponseKeep, false, true); return TRUE;
                // Escape or the close shortcut: the file is not overwritten.
                case IDCANCEL: self->Answer(ResponseKeep, false, false); return TRUE;
            }
        }
        if (message == WM_CLOSE) {
            self->Answer(ResponseKeep, false, false);
            return TRUE;
        }
    } catch (...) {
        ShowWindow(hwnd, SW_HIDE);
    }
    return FALSE;
}
