// frmRip: the window procedure, its handlers, and RipView over the dialog's controls.
#include "app/frmRip.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>

#include "app/Startup.h"
#include "cache/ErrorReport.h"
#include "platform/DialogLayout.h"
#include "platform/Failure.h"
#include "platform/WideText.h"
#include "platform/Win32Error.h"
#include "platform/WinUi.h"
#include "platform/Win32Prompts.h"
#include "resource.h"

namespace {

constexpr UINT_PTR PathTimer = 1;
constexpr UINT PathTimerMs = 100;

int LabelId(RipLabel label) {
    switch (label) {
        case RipLabel::Sys: return IDC_LBLSYS;
        case RipLabel::Maps: return IDC_LBLMAPS;
        case RipLabel::Anim: return IDC_LBLANIM;
        case RipLabel::StatM: return IDC_LBLSTATM;
        case RipLabel::Textures: return IDC_LBLTEXTURES;
        case RipLabel::Sounds: return IDC_LBLSOUNDS;
        case RipLabel::Music: return IDC_LBLMUSIC;
        case RipLabel::Save: return IDC_LBLSAVE;
        case RipLabel::Unknown: return IDC_LBLUNKNOWN;
        case RipLabel::MB: return IDC_LBLMB;
        case RipLabel::Summary: return IDC_LBLSUMMARY;
        case RipLabel::Legend: return IDC_LBLLEGEND;
    }
    return IDC_LBLUNKNOWN;
}

struct Tip {
    int id;
    const wchar_t* text;
};

constexpr Tip Tips[] = {
    {IDC_TXTPATH, L"Manually enter UT2003 path - press [Escape] to reset"},
    {IDC_CMDFIND, L"Clicking here will find your UT2003 path for you"},
    {IDC_LSTCACHE, L"All the files in your UT2003\\Cache folder"},
    {IDC_LBLMB, L"This is the total size of all the files listed above"},
    {IDC_CMDREFRESH, L"Click here to refresh the file list above"},
    {IDC_CMDSELALL, L"Click here to select all of the files above"},
    {IDC_CMDUNCACHE, L"Click here to uncache all the selected files on the left"},
    {IDC_CHKDEL, L"Checking this box will delete the cached copy of the files when you uncache them"},
    {IDC_CMDDELETE, L"Click here to permanently delete the selected files on your left from your computer"},
};

}  // namespace

frmRip::frmRip(FileSystem& files, Registry& registry, Win32Prompts& prompts, Clipboard& clipboard,
               SizeFormatter& sizes)
    : prompts_(prompts), options_(registry, files, processes_), rip_(*this, RipPorts{files, registry, prompts, clipboard, sizes, overwrite_, codePage_, dates_}) {}

frmRip::~frmRip() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool frmRip::Create(int showCommand) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    accelerators_ = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCEL));
    if (CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_RIP), nullptr, DialogThunk<frmRip>,
                           reinterpret_cast<LPARAM>(this)) == nullptr)
        return false;
    if (endAtOnce_) DestroyWindow(hwnd_);
    else ShowWindow(hwnd_, showCommand);
    return true;
}

int frmRip::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (hwnd_ != nullptr && TranslateAcceleratorW(hwnd_, accelerators_, &msg)) continue;
        if (hwnd_ != nullptr && IsDialogMessageW(hwnd_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

// Runs one handler; a failure that it does not report itself is reported here, titled with the
// window and the handler, and goes no further.
template <typename Handler>
void frmRip::Guarded(const char* handler, Handler run) {
    try {
        run();
    } catch (const std::exception& e) {
        RipPorts& p = rip_.Ports();
        ReportUnexpectedError(p.prompts, p.clipboard, std::string("frmRip->") + handler, e.what());
    }
}

INT_PTR frmRip::DlgProc(UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (message) {
        case WM_INITDIALOG:
            Guarded("Form_Load", [&] { Form_Load(); });
            // The list starts with the focus, so that the un-cache button is the default one.
            SetFocus(Item(IDC_LSTCACHE));
            return FALSE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            // A close asked for during a run is carried out once the run has ended.
            if (closeRequested_ && !rip_.Busy()) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
            return TRUE;
        case WM_TIMER:
            if (wParam == PathTimer) Guarded("tmrPath_Timer", [&] { tmrPath_Timer(); });
            return TRUE;
        case WM_DRAWITEM:
            if (wParam != IDC_LSTCACHE) return FALSE;
            DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CLOSE:
            if (rip_.Busy()) {
                // From the task bar or End task while a run asks something: the run ends as if
                // answered No, and the window closes when it has.
                closeRequested_ = true;
                AnswerOpenQuestionsNo();
                return TRUE;
            }
            Guarded("Form_QueryUnload", [&] { Form_QueryUnload(); });
            DestroyWindow(hwnd_);
            return TRUE;
        case WM_DESTROY:
            hwnd_ = nullptr;
            PostQuitMessage(0);
            return TRUE;
    }
    return FALSE;
}

void frmRip::OnCommand(int id, int code) {
    switch (id) {
        case IDC_TXTPATH:
            if (code == EN_SETFOCUS) Guarded("txtPath_GotFocus", [&] { txtPath_GotFocus(); });
            if (code == EN_KILLFOCUS) Guarded("txtPath_LostFocus", [&] { txtPath_LostFocus(); });
            break;
        case IDC_LSTCACHE:
            if (code == LBN_SELCHANGE) lstCache_SelChange();
            break;
        case IDC_CMDFIND: Guarded("cmdFind_Click", [&] { rip_.cmdFind_Click(); }); break;
        case IDC_CMDREFRESH: Guarded("cmdRefresh_Click", [&] { rip_.cmdRefresh_Click(); }); break;
        case IDC_CMDSELALL: Guarded("cmdSelAll_Click", [&] { rip_.cmdSelAll_Click(); }); break;
        case IDC_CMDUNCACHE: Guarded("cmdUncache_Click", [&] { rip_.cmdUncache_Click(); }); break;
        case IDC_CMDDELETE: Guarded("cmdDelete_Click", [&] { rip_.cmdDelete_Click(); }); break;
        case IDC_CHKDEL:
            if (code == BN_CLICKED) TickOrClear(Item(IDC_CHKDEL));
            break;
        case IDM_SELNEW: Guarded("mnuSelNew_Click", [&] { rip_.mnuSelNew_Click(); }); break;
        case IDM_EXPORTZIP: Guarded("mnuExportZip_Click", [&] { rip_.mnuExportZip_Click(); }); break;
        case IDM_COMPRESSUZ2: Guarded("mnuCompressUz2_Click", [&] { rip_.mnuCompressUz2_Click(); }); break;
        case IDC_CMDCANCEL: cancelRequested_ = true; break;
        case IDM_OPTIONS: Guarded("mnuOptions_Click", [&] { options_.Show(); }); break;
        case IDM_FIX: Guarded("mnuFix_Click", [&] { fix_.Show(hwnd_); }); break;
        case IDM_ABOUT: Guarded("mnuAbout_Click", [&] { about_.Show(hwnd_); }); break;
        case IDCANCEL:
            // Escape: in the path box it resets the folder, as Find does; elsewhere it does nothing
            // (the main window is closed with its close button or Alt+F4).
            // While a long job runs, Escape is its Cancel.
            if (inProgress_) cancelRequested_ = true;
            else if (GetFocus() == Item(IDC_TXTPATH)) Guarded("cmdFind_Click", [&] { rip_.cmdFind_Click(); });
            break;
    }
}

void frmRip::AnswerOpenQuestionsNo() {
    struct Search {
        static BOOL CALLBACK Each(HWND window, LPARAM main) noexcept {
            wchar_t cls[16] = L"";
            GetClassNameW(window, cls, 16);
            if (window == reinterpret_cast<HWND>(main) || !IsWindowVisible(window) || lstrcmpW(cls, L"#32770") != 0)
                return TRUE;
            // A Yes / No box is answered No; the others (OK boxes, the input box, the overwrite
            // prompt, whose Cancel keeps the file) are cancelled.
            const WPARAM answer = GetDlgItem(window, IDNO) != nullptr ? IDNO : IDCANCEL;
            PostMessageW(window, WM_COMMAND, answer, 0);
            return TRUE;
        }
    };
    EnumThreadWindows(GetCurrentThreadId(), Search::Each, reinterpret_cast<LPARAM>(hwnd_));
}

void frmRip::Form_Load() {
    prompts_.SetOwner(hwnd_);
    overwrite_.SetOwner(hwnd_);
    // The window's icons in the sizes the system shows them at its DPI.
    HINSTANCE instance = GetModuleHandleW(nullptr);
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MORVANE), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MORVANE), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    SetButtonPicture(IDC_CMDUNCACHE, IDI_UNCACHE);
    SetButtonPicture(IDC_CMDDELETE, IDI_DELETE);
    LayOutToFit(hwnd_);  // with the buttons' pictures, before the total label is centred
    SetRowHeight();
    AddTooltips();
    SetDefaultButton(IDC_CMDUNCACHE);
    lblMB_Change();

    options_.SetOwner(hwnd_, Item(IDC_CHKDEL), Item(IDC_TXTPATH));
    // All of it before the window is first shown: the questions of an automatic run have no
    // visible owner, so the prompts show them on their own.
    endAtOnce_ = StartUp(rip_, options_, processes_, processes_);
}

// Unloading the options window saves the options, chkDel's state among them.
void frmRip::Form_QueryUnload() {
    options_.Unload();
    overwrite_.Unload();
    about_.Unload();
    fix_.Unload();
}

void frmRip::txtPath_GotFocus() { SetDefaultButton(IDC_CMDFIND); }

void frmRip::txtPath_LostFocus() {
    SetDefaultButton(IDC_CMDUNCACHE);
    // Validate: only when the focus moves to another control of this window.
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus)) txtPath_Validate();
}

void frmRip::txtPath_Validate() { SetTimer(hwnd_, PathTimer, PathTimerMs, nullptr); }

void frmRip::tmrPath_Timer() { rip_.CheckPath(); }

void frmRip::lstCache_SelChange() {
    currentRow_ = static_cast<int>(SendMessageW(Item(IDC_LSTCACHE), LB_GETCARETINDEX, 0, 0));
}

void frmRip::SetRowHeight() {
    HWND list = Item(IDC_LSTCACHE);
    const TEXTMETRICW metrics = FontMetrics(list);
    SendMessageW(list, LB_SETITEMHEIGHT, 0, metrics.tmHeight + metrics.tmExternalLeading + 2);
}

void frmRip::DrawRow(const DRAWITEMSTRUCT& item) {
    RECT row = item.rcItem;
    HDC dc = item.hDC;
    if (item.itemID != static_cast<UINT>(-1)) {
        const bool selected = (item.itemState & ODS_SELECTED) != 0;
        FillRect(dc, &row, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetBkMode(dc, TRANSPARENT);
        const auto slot = static_cast<std::size_t>(item.itemData);
        const InstallMark mark = slot < rip_.Marks.size() ? rip_.Marks[slot] : InstallMark::Unmarked;
        // The sign's colour tells the kinds apart at a glance; the sign itself without colour.
        const COLORREF signColour = mark == InstallMark::NotInstalled ? RGB(0, 128, 0)
                                    : mark == InstallMark::Different ? RGB(192, 80, 0)
                                                                     : GetSysColor(COLOR_GRAYTEXT);
        RECT sign = row;
        sign.right = sign.left + (row.bottom - row.top);
        SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : signColour);
        const std::wstring symbol = Wide(MarkSymbol(mark));
        DrawTextW(dc, symbol.c_str(), static_cast<int>(symbol.size()), &sign,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        const LRESULT length = SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
        std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
        RECT name = row;
        name.left = sign.right;
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &name,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
}

void frmRip::lblMB_Change() {
    HWND label = Item(IDC_LBLMB), frame = Item(IDC_FRACACHE);
    RECT f, l;
    GetWindowRect(frame, &f);
    GetWindowRect(label, &l);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&f), 2);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&l), 2);
    const int width = TextWidth(label, GetText(label)) + 2;
    const int left = f.left + (f.right - f.left) / 2 - width / 2;
    SetWindowPos(label, nullptr, left, l.top, width, l.bottom - l.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(frame, nullptr, TRUE);
}

void frmRip::AddTooltips() {
    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (tooltips_ == nullptr) return;
    SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, 400);
    toolRelays_.assign(std::size(Tips), ToolRelay{});  // never grows again: the controls point into it
    for (std::size_t i = 0; i < std::size(Tips); ++i) {
        HWND tool = Item(Tips[i].id);
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.uFlags = TTF_IDISHWND;
        info.hwnd = hwnd_;
        info.uId = reinterpret_cast<UINT_PTR>(tool);
        info.lpszText = const_cast<wchar_t*>(Tips[i].text);
        if (!SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) continue;
        toolRelays_[i].tooltips = tooltips_;
        SetWindowLongPtrW(tool, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&toolRelays_[i]));
        // The W call keeps the controls Unicode windows, as the dialog made them.
        toolRelays_[i].next = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(tool, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&frmRip::RelayToTooltips)));
    }
}

LRESULT CALLBACK frmRip::RelayToTooltips(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const ToolRelay relay = *reinterpret_cast<const ToolRelay*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_NCMOUSEMOVE) {
        const DWORD at = GetMessagePos();
        MSG msg{window, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()),
                POINT{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))}};
        SendMessageW(relay.tooltips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    if (message == WM_NCDESTROY) {  // the control's last message: it leaves as it came
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(relay.next));
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return CallWindowProcW(relay.next, window, message, wParam, lParam);
}

void frmRip::SetButtonPicture(int id, int icon) {
    const int size = ForScreenDpi(24);
    HANDLE picture = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(icon), IMAGE_ICON, size, size, 0);
    SendMessageW(Item(id), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(picture));
}

void frmRip::SetDefaultButton(int id) {
    const int old = LOWORD(SendMessageW(hwnd_, DM_GETDEFID, 0, 0));
    if (old != id && old != 0) SendMessageW(Item(old), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageW(hwnd_, DM_SETDEFID, static_cast<WPARAM>(id), 0);
    SendMessageW(Item(id), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

// RipView over the controls.

std::string frmRip::PathText() { return GetText(Item(IDC_TXTPATH)); }

void frmRip::SetPathText(std::string_view text) { SetText(Item(IDC_TXTPATH), text); }

void frmRip::SelectWholePathText() {
    HWND box = Item(IDC_TXTPATH);
    SendMessageW(box, EM_SETSEL, 0, GetWindowTextLengthW(box));
}

void frmRip::FocusPath() {
    if (IsWindowVisible(hwnd_)) SetFocus(Item(IDC_TXTPATH));
}

void frmRip::StopPathTimer() { KillTimer(hwnd_, PathTimer); }

int frmRip::RowCount() { return static_cast<int>(SendMessageW(Item(IDC_LSTCACHE), LB_GETCOUNT, 0, 0)); }

std::string frmRip::RowText(int row) {
    HWND list = Item(IDC_LSTCACHE);
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return Narrow(text);
}

int frmRip::RowData(int row) {
    return static_cast<int>(SendMessageW(Item(IDC_LSTCACHE), LB_GETITEMDATA, static_cast<WPARAM>(row), 0));
}

std::vector<int> frmRip::SelectedRows() {
    // One message for the whole selection: a question per row costs a server request each under Wine.
    HWND list = Item(IDC_LSTCACHE);
    const LRESULT count = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return {};
    std::vector<int> rows(static_cast<std::size_t>(count));
    const LRESULT got = SendMessageW(list, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(rows.data()));
    rows.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return rows;
}

HWND frmRip::Item(int id) const {
    HWND& item = items_[id];
    if (item == nullptr) item = GetDlgItem(hwnd_, id);
    return item;
}

int frmRip::CurrentRow() { return currentRow_; }

void frmRip::SelectRows(const std::vector<int>& rows) {
    if (rows.empty()) return;
    HWND list = Item(IDC_LSTCACHE);
    // Drawn once at the end: selecting row by row would scroll to each of thousands of rows.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    if (static_cast<LRESULT>(rows.size()) == SendMessageW(list, LB_GETCOUNT, 0, 0)) {
        SendMessageW(list, LB_SETSEL, TRUE, -1);
    } else {
        for (const int row : rows) SendMessageW(list, LB_SETSEL, TRUE, static_cast<LPARAM>(row));
    }
    currentRow_ = rows.back();
    SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(currentRow_), FALSE);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void frmRip::BeginRows() {
    HWND list = Item(IDC_LSTCACHE);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    currentRow_ = -1;
}

void frmRip::ClearSelection() { SendMessageW(Item(IDC_LSTCACHE), LB_SETSEL, FALSE, -1); }

void frmRip::AddRow(std::string_view text, int data, [[maybe_unused]] InstallMark mark) {
    HWND list = Item(IDC_LSTCACHE);
    const LRESULT row = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    if (row < 0) throw Failure(Win32ErrorText(ERROR_NOT_ENOUGH_MEMORY));
    // A row without its key would act on another file: it goes again if its datum cannot be set.
    if (SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(row), static_cast<LPARAM>(data)) == LB_ERR) {
        SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
        throw Failure(Win32ErrorText(ERROR_NOT_ENOUGH_MEMORY));
    }
}

void frmRip::EndRows() {
    HWND list = Item(IDC_LSTCACHE);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void frmRip::SetLabel(RipLabel label, std::string_view caption) {
    // A listing read again mostly gives the counts again: an unchanged caption is not set again,
    // which under Wine would cost a redraw each. The summary line is left out: progress writes it.
    if (label != RipLabel::Summary) {
        std::optional<std::string>& shown = captions_[static_cast<std::size_t>(label)];
        if (shown == caption) return;
        shown = std::string(caption);
    }
    SetText(Item(LabelId(label)), caption);
    if (label == RipLabel::MB) lblMB_Change();
}

// A grey box (a stored 2) is not ticked: only a tick deletes.
bool frmRip::DeleteTicked() { return IsDlgButtonChecked(hwnd_, IDC_CHKDEL) == BST_CHECKED; }

void frmRip::YieldOnce() { YieldToEvents(); }

void frmRip::BeginProgress() {
    cancelRequested_ = false;
    // The start-up's and the launcher's runs have no window to show it in: they run as they did.
    inProgress_ = IsWindowVisible(hwnd_) != FALSE;
    if (!inProgress_) return;
    for (const int id : {IDC_LBLLEGEND, IDC_LBLMB}) ShowWindow(Item(id), SW_HIDE);
    SendMessageW(Item(IDC_PRGRUN), PBM_SETRANGE32, 0, 1000);
    SendMessageW(Item(IDC_PRGRUN), PBM_SETPOS, 0, 0);
    for (const int id : {IDC_PRGRUN, IDC_CMDCANCEL}) ShowWindow(Item(id), SW_SHOW);
    taskbar_.Begin(hwnd_);
    progressDrawn_ = false;
}

void frmRip::ShowProgress(std::string_view text, std::uint64_t done, std::uint64_t total) {
    if (!inProgress_) return;
    // A copy reports every mebibyte and a removal every file: the window's messages are handled
    // every 20 ms and the progress drawn ten times a second, which keeps it alive and costs the
    // run next to nothing (under Wine, drawing the two controls once costs as much as copying two
    // mebibytes).
    const DWORD now = GetTickCount();
    if (!progressDrawn_ || now - shownAt_ >= 100) {
        const int permille = static_cast<int>(total == 0 ? 1000 : std::min<std::uint64_t>(1000, done * 1000 / total));
        SetText(Item(IDC_LBLSUMMARY), text);
        SendMessageW(Item(IDC_PRGRUN), PBM_SETPOS, static_cast<WPARAM>(permille), 0);
        taskbar_.Show(static_cast<std::uint64_t>(permille), 1000);
        progressDrawn_ = true;
        shownAt_ = now;
    }
    if (now - pumpedAt_ >= 20) {
        YieldToEvents();  // paints, moves, and takes Cancel
        pumpedAt_ = GetTickCount();
    }
}

void frmRip::EndProgress() {
    if (!inProgress_) return;
    inProgress_ = false;
    taskbar_.End();
    for (const int id : {IDC_PRGRUN, IDC_CMDCANCEL}) ShowWindow(Item(id), SW_HIDE);
    for (const int id : {IDC_LBLLEGEND, IDC_LBLMB}) ShowWindow(Item(id), SW_SHOW);
}
