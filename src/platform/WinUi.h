// Small helpers for the repeated Win32 window chores.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

// A window's text in UTF-8, and back: the W calls keep every character a name can hold.
std::string GetText(HWND window);
void SetText(HWND window, std::string_view text);
// The click of a BS_3STATE option box, whose grey state only ever comes from the stored options:
// a ticked or grey box is cleared, a clear one ticked (Windows' own cycle goes from grey to clear
// too), so the player never clicks a box into grey.
void TickOrClear(HWND box);
// How wide `text` is, in pixels, in the control's own font.
int TextWidth(HWND control, std::string_view text);
// The metrics of the font a control draws its text in.
TEXTMETRICW FontMetrics(HWND control);
// Handles every pending message (dialog messages included), then returns.
void YieldToEvents();
// Shows a kept-alive dialog modally over `owner`: the owner is disabled and messages are pumped
// until the dialog hides itself; then the owner is enabled and activated again.
void ShowModal(HWND dialog, HWND owner);
void CentreOnOwner(HWND window, HWND owner);
// A size in pixels at 96 DPI at the screen's DPI: how large a picture drawn for 96 DPI is shown.
int ForScreenDpi(int pixels);

// The dialog procedure of a window class: the object comes with WM_INITDIALOG and is kept in
// DWLP_USER (its hwnd_ set), every message then goes to its DlgProc, and no exception crosses
// into Windows (the handlers report their own failures). The class befriends it.
template <typename Window>
INT_PTR CALLBACK DialogThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        reinterpret_cast<Window*>(lParam)->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) return FALSE;
    try {
        return self->DlgProc(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}
