// Dialog layout: the template's proportions over the window's client area, which grows a pixel at
// a time until every caption fits. Templates are drawn in dialog units of one font; the font a
// dialog gets (Microsoft Sans Serif or Tahoma on Windows, a stand-in under Wine) and the DPI change
// how wide its text is against those units, so only measuring the text makes it fit.
#include "platform/DialogLayout.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/WinUi.h"

namespace {

bool IsClass(HWND window, const wchar_t* name) {
    wchar_t type[16] = {};
    GetClassNameW(window, type, 16);
    return lstrcmpiW(type, name) == 0;
}

bool IsPicture(HWND control) {
    const LONG kind = GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK;
    return IsClass(control, L"Static") && (kind == SS_ICON || kind == SS_BITMAP);
}

// `text` as DrawText lays it out in the control's own font: its width and height in pixels.
SIZE Extent(HWND control, const std::wstring& text, UINT format, int width) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {r.right, r.bottom};
}

int AverageCharWidth(HWND control) { return FontMetrics(control).tmAveCharWidth; }

// The size of a button's icon; {0, 0} when it has none.
SIZE IconSize(HWND button) {
    ICONINFO icon{};
    const auto picture = reinterpret_cast<HICON>(SendMessageW(button, BM_GETIMAGE, IMAGE_ICON, 0));
    if (picture == nullptr || !GetIconInfo(picture, &icon)) return {0, 0};
    BITMAP bits{};
    GetObjectW(icon.hbmColor, sizeof bits, &bits);  // our icons all have colour
    DeleteObject(icon.hbmColor);
    DeleteObject(icon.hbmMask);
    return {bits.bmWidth, bits.bmHeight};
}

// The room the caption of `control` needs when the control is `width` pixels wide ({0, 0} for a
// control that shows no caption). A static wraps where its style wraps, so at width 1 its widest
// word is what it needs across. A push button draws its picture and text inside its frame, its
// focus rectangle and, for the default one, a dark border; a check box draws its text after the
// box and a gap; a group box indents its caption on both sides.
SIZE CaptionRoom(HWND control, int width) {
    const int length = GetWindowTextLengthW(control);
    if (length == 0) return {0, 0};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (IsClass(control, L"Static")) {
        const LONG kind = style & SS_TYPEMASK;
        UINT format = DT_EXPANDTABS | ((style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0);
        if (kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT) {
            if ((style & SS_ELLIPSISMASK) == 0) format |= DT_WORDBREAK;
        } else if (kind != SS_LEFTNOWORDWRAP && kind != SS_SIMPLE) {
            return {0, 0};
        }
        return Extent(control, text, format, width);
    }
    if (!IsClass(control, L"Button")) return {0, 0};
    SIZE room = Extent(control, text, DT_SINGLELINE, 0);
    const int frame = GetSystemMetrics(SM_CXEDGE) + 2 * GetSystemMetrics(SM_CXBORDER);
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON: {
            const SIZE picture = IconSize(control);
            return {room.cx + picture.cx + 2 * frame, std::max(room.cy, picture.cy) + 2 * frame};
        }
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return {room.cx + GetSystemMetrics(SM_CXMENUCHECK) + AverageCharWidth(control) + 2,
                    std::max<LONG>(room.cy, GetSystemMetrics(SM_CYMENUCHECK))};
        case BS_GROUPBOX:
            return {room.cx + 2 * (AverageCharWidth(control) + frame), room.cy};
    }
    return {0, 0};
}

// A control as the template placed it, in the dialog's client coordinates.
struct Placed {
    HWND window;
    RECT rect;
    bool picture;  // keeps its own size
    SIZE room;     // what its caption needs: across at any width, then down at the width it gets
    int dropDown;  // a combo box's height with its list dropped down, which sizing it sets
};

}  // namespace

void LayOut(HWND dialog, int width, int height) {
    RECT client;
    GetClientRect(dialog, &client);
    const int templateWidth = client.right, templateHeight = client.bottom;
    if (templateWidth <= 0 || templateHeight <= 0) return;
    std::vector<Placed> controls;
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        Placed p{control, {}, IsPicture(control), CaptionRoom(control, 1), 0};
        GetWindowRect(control, &p.rect);
        if (IsClass(control, L"ComboBox")) {
            // Windows reports the whole height, from the top of the closed box; Wine only the list's,
            // which then shortens the list by the closed box's height when the window is scaled.
            RECT dropped{};
            SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
            p.dropDown = std::max(dropped.bottom - dropped.top, p.rect.bottom - p.rect.top);
        }
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&p.rect), 2);
        controls.push_back(p);
    }

    int w = std::max(width, 1), h = std::max(height, 1);
    const auto x = [&](LONG at) { return MulDiv(at, w, templateWidth); };
    const auto y = [&](LONG at) { return MulDiv(at, h, templateHeight); };
    // A control the template made empty never fits: it is left out rather than grown for ever.
    const auto fitsAcross = [&](const Placed& p) {
        if (p.picture) return x(p.rect.left) + (p.rect.right - p.rect.left) <= w;
        return p.rect.right <= p.rect.left || x(p.rect.right) - x(p.rect.left) >= p.room.cx;
    };
    const auto fitsDown = [&](const Placed& p) {
        if (p.picture) return y(p.rect.top) + (p.rect.bottom - p.rect.top) <= h;
        return p.rect.bottom <= p.rect.top || y(p.rect.bottom) - y(p.rect.top) >= p.room.cy;
    };
    // A window never gets larger than Windows lets one be, whatever a caption asks.
    const int largest = 32767;
    while (w < largest && !std::all_of(controls.begin(), controls.end(), fitsAcross)) ++w;
    // Wrapped text needs as many lines as it takes at the width its control now has.
    for (Placed& p : controls)
        if (!p.picture) p.room.cy = CaptionRoom(p.window, x(p.rect.right) - x(p.rect.left)).cy;
    while (h < largest && !std::all_of(controls.begin(), controls.end(), fitsDown)) ++h;
    if (w == templateWidth && h == templateHeight) return;  // as the template has it: nothing moves

    for (const Placed& p : controls) {
        const int left = x(p.rect.left), top = y(p.rect.top);
        const int bottom = p.dropDown != 0 ? top + p.dropDown : y(p.rect.bottom);
        SetWindowPos(p.window, nullptr, left, top, x(p.rect.right) - left, bottom - top,
                     SWP_NOZORDER | SWP_NOACTIVATE | (p.picture ? SWP_NOSIZE : 0));
    }
    SetClientSize(dialog, w, h);
}

void SetClientSize(HWND window, int width, int height) {
    RECT box{0, 0, width, height}, was;
    AdjustWindowRectEx(&box, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), GetMenu(window) != nullptr,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    GetWindowRect(window, &was);
    const int boxWidth = box.right - box.left, boxHeight = box.bottom - box.top;
    // SWP_FRAMECHANGED: a style changed before (the about box's title bar taken off) takes effect.
    SetWindowPos(window, nullptr, (was.left + was.right - boxWidth) / 2, (was.top + was.bottom - boxHeight) / 2,
                 boxWidth, boxHeight, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void LayOutToFit(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    LayOut(dialog, client.right, client.bottom);
}

void LayOutInTwips(HWND dialog, int widthTwips, int heightTwips) {
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LayOut(dialog, MulDiv(widthTwips, dpiX, 1440), MulDiv(heightTwips, dpiY, 1440));
}
