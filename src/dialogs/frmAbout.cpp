// frmAbout: loading (picture, title font, version, layout), dragging, links and the buttons.
#include "dialogs/frmAbout.h"

#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

#include "cache/ErrorReport.h"
#include "dialogs/SysInfo.h"
#include "platform/DialogLayout.h"
#include "platform/WideText.h"
#include "platform/Win32Error.h"
#include "platform/Win32Processes.h"
#include "platform/WinUi.h"
#include "resource.h"

namespace {

constexpr const char* SiteLink = "https://morvane.users.example/";
constexpr const char* MailLink = "mailto:morvane-bugs@users.example";
constexpr COLORREF LinkText = RGB(0, 0, 255);
constexpr int Draggable[] = {IDC_ABOUT_IMGUT, IDC_ABOUT_LBLDESCRIPTION, IDC_ABOUT_LBLDISCLAIMER, IDC_ABOUT_LBLTITLE,
                             IDC_ABOUT_LBLVERSION};

// "Version major.minor" of this executable's own version resource.
std::string VersionCaption() {
    const std::vector<char> data = FileVersionInfo(RunningProgramPath());
    if (data.empty()) ThrowLastError();
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr)
        ThrowLastError();
    return "Version " + std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(fixed->dwFileVersionMS));
}

bool IsLink(int id) { return id == IDC_ABOUT_LBLSITE || id == IDC_ABOUT_LBLMAIL; }

}  // namespace

void frmAbout::Show(HWND owner) {
    if (hwnd_ == nullptr && CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner,
                                               DialogThunk<frmAbout>, reinterpret_cast<LPARAM>(this)) == nullptr)
        ThrowLastError();
    CentreOnOwner(hwnd_, owner);
    ShowModal(hwnd_, owner);
    Unload();
}

void frmAbout::Unload() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

// The draggable labels and picture: their mouse goes to the drag handlers, the rest to the label.
LRESULT CALLBACK frmAbout::s_DragProc(HWND element, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<frmAbout*>(GetWindowLongPtrW(GetParent(element), DWLP_USER));
    if (self == nullptr) return DefWindowProcW(element, message, wParam, lParam);
    try {
        // Labels are otherwise transparent to the mouse, which would then reach the window itself.
        if (message == WM_NCHITTEST) return HTCLIENT;
        const bool clickOnPicture = message == WM_LBUTTONUP && GetDlgCtrlID(element) == IDC_ABOUT_IMGUT &&
                                    self->dragging_ && !self->moved_;
        if (self->Drag(element, message, lParam)) {
            if (clickOnPicture) self->Guarded("imgUT_Click", [&] { self->OpenLink(SiteLink); });
            return 0;
        }
    } catch (...) {
        return 0;
    }
    return CallWindowProcW(self->staticProc_, element, message, wParam, lParam);
}

template <typename Handler>
void frmAbout::Guarded(const char* handler, Handler run) {
    try {
        run();
    } catch (const std::exception& e) {
        ReportUnexpectedError(prompts_, clipboard_, std::string("frmAbout->") + handler, e.what());
    }
}

INT_PTR frmAbout::DlgProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            Guarded("Form_Load", [&] { Form_Load(); });
            // Its size is given in twips; laid out once its captions, fonts and picture are set.
            LayOutInTwips(hwnd_, 5730, 3555);
            return TRUE;
        case WM_ACTIVATE:  // Form_Activate: a drag never survives a change of the active window
            dragging_ = false;
            if (GetCapture() != nullptr && IsChild(hwnd_, GetCapture())) ReleaseCapture();
            return FALSE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam), code = HIWORD(wParam);
            if (id == IDC_ABOUT_CMDOK || id == IDCANCEL) Guarded("cmdOK_Click", [&] { cmdOK_Click(); });
            if (id == IDC_ABOUT_CMDSYSINFO && code == BN_CLICKED)
                Guarded("cmdSysInfo_Click", [&] { StartSysInfo(prompts_); });
            if (id == IDC_ABOUT_LBLSITE && code == STN_CLICKED) Guarded("lblSite_Click", [&] { OpenLink(SiteLink); });
            if (id == IDC_ABOUT_LBLMAIL && code == STN_CLICKED) Guarded("lblMail_Click", [&] { OpenLink(MailLink); });
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
            if (!IsLink(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)))) return FALSE;
            SetTextColor(reinterpret_cast<HDC>(wParam), LinkText);
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        case WM_SETCURSOR:
            if (!IsLink(GetDlgCtrlID(reinterpret_cast<HWND>(wParam)))) return FALSE;
            SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND, typed for the W call
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_DESTROY:
            DeleteObject(titleFont_);
            titleFont_ = nullptr;
            dragging_ = false;
            hwnd_ = nullptr;
            return TRUE;
    }
    return Drag(hwnd_, message, lParam) ? TRUE : FALSE;
}

void frmAbout::Form_Load() {
    prompts_.SetOwner(hwnd_);
    SetText(hwnd_, "About Morvane");  // not shown (no title bar): its name for programs that list windows
    // The dialog manager gives a modal frame a title bar (Wine, and Windows for DS_MODALFRAME): take
    // it off again, keeping the fixed dialog border of WS_EX_DLGMODALFRAME (the layout applies it).
    SetWindowLongW(hwnd_, GWL_STYLE, GetWindowLongW(hwnd_, GWL_STYLE) & ~WS_CAPTION);

    const int size = ForScreenDpi(32);
    HANDLE picture = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ABOUTUT), IMAGE_ICON, size, size,
                                LR_SHARED);
    SendDlgItemMessageW(hwnd_, IDC_ABOUT_IMGUT, STM_SETICON, reinterpret_cast<WPARAM>(picture), 0);
    LOGFONTW face{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)), sizeof face, &face);
    face.lfHeight *= 2;
    face.lfWeight = FW_BOLD;
    titleFont_ = CreateFontIndirectW(&face);
    SendDlgItemMessageW(hwnd_, IDC_ABOUT_LBLTITLE, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_), FALSE);
    for (int id : Draggable) {
        // The W call keeps the labels Unicode windows, as the dialog made them.
        const LONG_PTR previous = SetWindowLongPtrW(Item(id), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_DragProc));
        staticProc_ = reinterpret_cast<WNDPROC>(previous);
    }
    SetText(Item(IDC_ABOUT_LBLVERSION), VersionCaption());
}

void frmAbout::cmdOK_Click() { ShowWindow(hwnd_, SW_HIDE); }  // ends the modal loop; Show unloads the window

// The result is not examined: a link the shell cannot open reports nothing.
void frmAbout::OpenLink(const char* link) {
    ShellExecuteW(hwnd_, nullptr, Wide(link).c_str(), nullptr, nullptr, 0);
}

bool frmAbout::Drag(HWND element, UINT message, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
            grabX_ = x;
            grabY_ = y;
            dragging_ = true;
            moved_ = false;
            SetCapture(element);  // the moves keep coming when the pointer outruns the element
            return true;
        case WM_MOUSEMOVE: {
            if (!dragging_) return false;
            RECT r;
            GetWindowRect(hwnd_, &r);
            if (x != grabX_ || y != grabY_) moved_ = true;
            SetWindowPos(hwnd_, nullptr, r.left + x - grabX_, r.top + y - grabY_, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return true;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP:
            dragging_ = false;
            if (GetCapture() == element) ReleaseCapture();
            return true;
    }
    return false;
}
