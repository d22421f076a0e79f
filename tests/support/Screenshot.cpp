// Window pictures as PNG files, through GDI+ (Windows' and Wine's own image encoders).
#include "support/Screenshot.h"

// WIN32_LEAN_AND_MEAN leaves out the COM types that GDI+ uses.
#include <objidl.h>
#include <gdiplus.h>

#include "platform/WideText.h"

bool SaveScreenshot(HWND window, const std::string& name) {
    // Everything painted first: the window's own surface is what is copied.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT box;
    GetWindowRect(window, &box);
    HDC source = GetWindowDC(window), copy = CreateCompatibleDC(source);
    HBITMAP picture = CreateCompatibleBitmap(source, box.right - box.left, box.bottom - box.top);
    HGDIOBJ old = SelectObject(copy, picture);
    BitBlt(copy, 0, 0, box.right - box.left, box.bottom - box.top, source, 0, 0, SRCCOPY);
    SelectObject(copy, old);
    DeleteDC(copy);
    ReleaseDC(window, source);

    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path = path.substr(0, path.find_last_of(L'\\')) + L"\\screenshots";
    CreateDirectoryW(path.c_str(), nullptr);
    path += L"\\" + Wide(name) + L".png";

    ULONG_PTR session = 0;
    Gdiplus::GdiplusStartupInput start;
    bool saved = false;
    if (Gdiplus::GdiplusStartup(&session, &start, nullptr) == Gdiplus::Ok) {
        const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
        saved = Gdiplus::Bitmap(picture, nullptr).Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
        Gdiplus::GdiplusShutdown(session);
    }
    DeleteObject(picture);
    return saved;
}
