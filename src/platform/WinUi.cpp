// Win32 window helpers: texts, the one-turn yield, the modal loop of kept-alive dialogs, picture sizes.
#include "platform/WinUi.h"

#include "platform/WideText.h"

namespace {

// Dialog messages (Tab, Enter, Escape) go to the active dialog of this thread, if any.
void Dispatch(MSG& msg) {
    HWND active = GetActiveWindow();
    if (active != nullptr && IsDialogMessageW(active, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

}  // namespace

std::string GetText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return Narrow(text);
}

void SetText(HWND window, std::string_view text) { SetWindowTextW(window, Wide(text).c_str()); }

void TickOrClear(HWND box) {
    const bool clear = SendMessageW(box, BM_GETCHECK, 0, 0) == BST_UNCHECKED;
    SendMessageW(box, BM_SETCHECK, clear ? BST_CHECKED : BST_UNCHECKED, 0);
}

int TextWidth(HWND control, std::string_view text) {
    const std::wstring wide = Wide(text);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

TEXTMETRICW FontMetrics(HWND control) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return metrics;
}

void YieldToEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

void ShowModal(HWND dialog, HWND owner) {
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    // The keyboard starts on the default button, so that Enter answers it.
    HWND focus = GetFocus();
    if (focus != dialog && !IsChild(dialog, focus)) {
        const LRESULT id = SendMessageW(dialog, DM_GETDEFID, 0, 0);
        if (HIWORD(id) == DC_HASDEFID) SetFocus(GetDlgItem(dialog, LOWORD(id)));
    }
    MSG msg;
    while (IsWindowVisible(dialog)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            ShowWindow(dialog, SW_HIDE);
            break;
        }
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
}

int ForScreenDpi(int pixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(pixels, dpi, 96);
}

void CentreOnOwner(HWND window, HWND owner) {
    RECT o, w;
    if (owner == nullptr || !GetWindowRect(owner, &o)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &o, 0);
    GetWindowRect(window, &w);
    const int x = o.left + ((o.right - o.left) - (w.right - w.left)) / 2;
    const int y = o.top + ((o.bottom - o.top) - (w.bottom - w.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
