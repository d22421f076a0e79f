// frmFix: the window procedure, its handlers, and FixView over the dialog's controls.
#include "fixer/frmFix.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "cache/ErrorReport.h"
#include "platform/DialogLayout.h"
#include "platform/Failure.h"
#include "platform/WideText.h"
#include "platform/Win32Error.h"
#include "platform/WinUi.h"
#include "resource.h"

namespace {

// Posted as the window is shown, so that its scan runs once it is on screen, from the modal loop.
// Only the opening scans: the window is also activated again whenever one of its message boxes
// closes, and a scan then would wipe the state that the box asked about.
constexpr UINT ActivateMessage = WM_APP + 1;

const COLORREF OkText = RGB(3, 158, 62), OkGround = RGB(243, 255, 243);
const COLORREF ProblemText = RGB(255, 0, 0), ProblemGround = RGB(255, 243, 243);

}  // namespace

void frmFix::Show(HWND owner) {
    if (hwnd_ == nullptr && CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_FIX), owner,
                                               DialogThunk<frmFix>, reinterpret_cast<LPARAM>(this)) == nullptr)
        ThrowLastError();
    CentreOnOwner(hwnd_, owner);
    PostMessageW(hwnd_, ActivateMessage, 0, 0);
    ShowModal(hwnd_, owner);
    if (hwnd_ == nullptr) return;  // unloaded with the main window meanwhile
    // Closed, and the main window enabled again: its listing's messages have their owner.
    Unload();
    fix_.Form_QueryUnload();
}

void frmFix::Unload() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

// Runs one handler; a failure that it does not report itself is reported here, titled with the
// window and the handler.
template <typename Handler>
void frmFix::Guarded(const char* handler, Handler run) {
    try {
        run();
    } catch (const std::exception& e) {
        ReportUnexpectedError(prompts_, clipboard_, std::string("frmFix->") + handler, e.what());
    }
}

INT_PTR frmFix::DlgProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            Guarded("Form_Load", [&] { Form_Load(); });
            LayOutToFit(hwnd_);  // once its title font and pictures are set
            return TRUE;
        case ActivateMessage:
            Guarded("Form_Activate", [&] { Form_Activate(); });
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CTLCOLORLISTBOX:
            return ListColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CLOSE:
            ShowWindow(hwnd_, SW_HIDE);  // ends the modal loop; Show unloads the window
            return TRUE;
        case WM_DESTROY:
            DeleteObject(titleFont_);
            DeleteObject(okGround_);
            DeleteObject(problemGround_);
            titleFont_ = nullptr;
            okGround_ = problemGround_ = nullptr;
            hwnd_ = nullptr;
            return TRUE;
    }
    return FALSE;
}

void frmFix::OnCommand(int id, int code) {
    const bool clicked = code == BN_CLICKED;
    switch (id) {
        case IDC_FIX_LSTOK:
            if (code == LBN_SELCHANGE) Guarded("lstOK_Click", [&] { fix_.lstOK_Click(); });
            break;
        case IDC_FIX_LSTFILES:
            if (code == LBN_SELCHANGE) Guarded("lstFiles_Click", [&] { fix_.lstFiles_Click(); });
            break;
        case IDC_FIX_LSTCACHE:
            if (code == LBN_SELCHANGE) Guarded("lstCache_Click", [&] { fix_.lstCache_Click(); });
            break;
        case IDC_FIX_CMBHEX:
            if (code == CBN_SELCHANGE) Guarded("cmbHex_Click", [&] { fix_.cmbHex_Change(); });
            break;
        case IDC_FIX_CMDSAVE:
            if (clicked) Guarded("cmdSave_Click", [&] { fix_.cmdSave_Click(); });
            break;
        case IDC_FIX_CMDDELCACHE:
            if (clicked) Guarded("cmdDelCache_Click", [&] { fix_.cmdDelCache_Click(); });
            break;
        case IDC_FIX_CMDDELHEX:
            if (clicked) Guarded("cmdDelHex_Click", [&] { fix_.cmdDelHex_Click(); });
            break;
        case IDC_FIX_CMDREFRESH:
            if (clicked) Guarded("cmdRefresh_Click", [&] { fix_.cmdRefresh_Click(); });
            break;
        case IDCANCEL:  // Escape closes the window, as its close button does
            ShowWindow(hwnd_, SW_HIDE);
            break;
    }
}

void frmFix::Form_Load() {
    prompts_.SetOwner(hwnd_);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const int size = ForScreenDpi(32);
    for (const auto& [control, icon] : {std::pair{IDC_FIX_IMGUT, IDI_FIXUT}, {IDC_FIX_IMAGE2, IDI_FIXIMAGE2}}) {
        // Shared: loaded once, however often the window is loaded again (the DPI stays as it was).
        HANDLE picture = LoadImageW(instance, MAKEINTRESOURCEW(icon), IMAGE_ICON, size, size, LR_SHARED);
        SendDlgItemMessageW(hwnd_, control, STM_SETICON, reinterpret_cast<WPARAM>(picture), 0);
    }
    // The title in the dialog's face, twice its size and bold.
    LOGFONTW face{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)), sizeof face, &face);
    face.lfHeight *= 2;
    face.lfWeight = FW_BOLD;
    titleFont_ = CreateFontIndirectW(&face);
    SendDlgItemMessageW(hwnd_, IDC_FIX_LBLTITLE, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_), FALSE);
    okGround_ = CreateSolidBrush(OkGround);
    problemGround_ = CreateSolidBrush(ProblemGround);
}

void frmFix::Form_Activate() {
    fix_.RefreshLists();
    if (!IsChild(hwnd_, GetFocus()))
        SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_FIX_LSTOK)), TRUE);
}

INT_PTR frmFix::ListColours(HDC dc, HWND list) const {
    const int id = GetDlgCtrlID(list);
    if (id != IDC_FIX_LSTOK && id != IDC_FIX_LSTFILES && id != IDC_FIX_LSTCACHE) return FALSE;
    const bool ok = id == IDC_FIX_LSTOK;
    SetTextColor(dc, ok ? OkText : ProblemText);
    SetBkColor(dc, ok ? OkGround : ProblemGround);
    return reinterpret_cast<INT_PTR>(ok ? okGround_ : problemGround_);
}

// FixView over the controls. cmbHex is a drop-down list: the same requests, in CB_ messages.

HWND frmFix::Control(FixList list) const {
    switch (list) {
        case FixList::OK: return Item(IDC_FIX_LSTOK);
        case FixList::Files: return Item(IDC_FIX_LSTFILES);
        case FixList::Cache: return Item(IDC_FIX_LSTCACHE);
        case FixList::Hex: return Item(IDC_FIX_CMBHEX);
    }
    return nullptr;
}

void frmFix::BeginRows() {
    for (FixList list : {FixList::OK, FixList::Files, FixList::Cache, FixList::Hex}) {
        SendMessageW(Control(list), WM_SETREDRAW, FALSE, 0);
        SendMessageW(Control(list), list == FixList::Hex ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    }
    // The lists scroll sideways as far as their widest row, measured as the rows go in.
    measure_ = GetDC(hwnd_);
    measureFont_ = SelectObject(measure_, reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
    widest_.fill(0);
}

void frmFix::AddRow(FixList list, std::string_view text) {
    const std::wstring row = Wide(text);
    const LRESULT added = SendMessageW(Control(list), list == FixList::Hex ? CB_ADDSTRING : LB_ADDSTRING, 0,
                                       reinterpret_cast<LPARAM>(row.c_str()));
    if (added < 0) throw Failure(Win32ErrorText(ERROR_NOT_ENOUGH_MEMORY));
    SIZE size{0, 0};
    if (list != FixList::Hex && GetTextExtentPoint32W(measure_, row.c_str(), static_cast<int>(row.size()), &size))
        widest_[static_cast<std::size_t>(list)] = std::max(widest_[static_cast<std::size_t>(list)], size.cx);
}

void frmFix::EndRows() {
    SelectObject(measure_, measureFont_);
    ReleaseDC(hwnd_, measure_);
    measure_ = nullptr;
    for (FixList list : {FixList::OK, FixList::Files, FixList::Cache, FixList::Hex}) {
        const auto widest = static_cast<WPARAM>(widest_[static_cast<std::size_t>(list)]);
        if (list != FixList::Hex) SendMessageW(Control(list), LB_SETHORIZONTALEXTENT, widest + 4, 0);
        SendMessageW(Control(list), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(Control(list), nullptr, TRUE);
    }
}

int frmFix::SelectedRow(FixList list) {
    return static_cast<int>(SendMessageW(Control(list), list == FixList::Hex ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

void frmFix::SelectRow(FixList list, int row) {
    SendMessageW(Control(list), list == FixList::Hex ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

std::string frmFix::FilenameText() { return GetText(Item(IDC_FIX_TXTFILENAME)); }

void frmFix::SetFilenameText(std::string_view text) { SetText(Item(IDC_FIX_TXTFILENAME), text); }

void frmFix::SetLabel(FixLabel label, std::string_view caption) {
    const int id = label == FixLabel::Size    ? IDC_FIX_LBLSIZE
                   : label == FixLabel::Modif ? IDC_FIX_LBLMODIF
                                              : IDC_FIX_LBLINFO;
    SetText(Item(id), caption);
}

void frmFix::EnableDelHex(bool enabled) {
    HWND button = Item(IDC_FIX_CMDDELHEX);
    // A disabled button cannot keep the keyboard: it moves on first, so that it is not lost.
    if (!enabled && GetFocus() == button) SendMessageW(hwnd_, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(button, enabled ? TRUE : FALSE);
}
