// frmOverwrite: "Overwrite file?" with the path and what the two files are, and Yes, Yes to All, No
// and No to All.
#include "dialogs/frmOverwrite.h"

#include <algorithm>

#include "platform/DialogLayout.h"
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
    SetText(GetDlgItem(hwnd_, IDC_LBLDETAILS), "");
}

int frmOverwrite::Ask(std::string_view destination, std::string_view details) {
    EnsureLoaded();
    SetFile(destination);
    SetText(GetDlgItem(hwnd_, IDC_LBLDETAILS), details);
    CentreOnOwner(hwnd_, owner_);
    SendMessageW(hwnd_, DM_SETDEFID, IDC_CMDYES, 0);
    SetFocus(GetDlgItem(hwnd_, IDC_CMDYES));
    ShowModal(hwnd_, owner_);
    return Response;
}

void frmOverwrite::SetFile(std::string_view path) {
    HWND label = GetDlgItem(hwnd_, IDC_LBLFILE);
    SetText(label, path);
    // The label is as wide as its text, and the window widens for a long path, keeping the label's
    // margin, up to the width of the screen; beyond that the label shows the path's ends and drops
    // a part of its middle (SS_PATHELLIPSIS).
    RECT r, window, client, screen;
    GetWindowRect(label, &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    GetWindowRect(hwnd_, &window);
    GetClientRect(hwnd_, &client);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    const int widest = (screen.right - screen.left) - ((window.right - window.left) - client.right);
    const int text = TextWidth(label, path);
    const int width = std::min(std::max<int>(width_, r.left + text + margin_), widest);
    SetClientSize(hwnd_, width, client.bottom);
    SetWindowPos(label, nullptr, 0, 0, std::min<int>(text, width - margin_ - r.left), r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmOverwrite::Form_Load() {
    const int size = ForScreenDpi(32);
    HICON logo = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_LOGO), IMAGE_ICON,
                                               size, size, 0));
    SendDlgItemMessageW(hwnd_, IDC_IMGUT2003, STM_SETICON, reinterpret_cast<WPARAM>(logo), 0);
    // 335 x 144 pixels at 96 DPI: the question, its path, three lines for what the two files are, and
    // the buttons; larger where a caption needs it.
    LayOutInTwips(hwnd_, 5025, 2160);
    // The file label's room as laid out, without a file: the window's width, and the label's
    // margin to the window's right edge.
    RECT label, client;
    GetWindowRect(GetDlgItem(hwnd_, IDC_LBLFILE), &label);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&label), 2);
    GetClientRect(hwnd_, &client);
    width_ = client.right;
    margin_ = client.right - label.right;
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
