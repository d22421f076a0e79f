// Every window of Morvane under Wine, at the screen resolution the run was started with: each
// visible control lies inside its window, each caption fits its control in the control's own font,
// and each picture has the size the resolution needs, drawn at that size by its icon file.
//
// CTest runs these tests at 96, 120 and 144 DPI, one process each (MORVANE_TEST_DPI). Wine takes a
// process's DPI from HKCU\Control Panel\Desktop\LogPixels in the prefix when the process starts;
// changing the value later changes nothing for that process, and the system metrics (icon sizes,
// check box size) and the dialog font's size follow it. WinTestMain.cpp stores the value, starts the
// tests in a child process and puts the value back. Each run saves a picture of every window in the
// "screenshots" folder beside the test program, named after the window and the DPI.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "platform/WideText.h"
#include "resource.h"
#include "support/Screenshot.h"
#include "support/WinProgram.h"

namespace {

using Faults = std::vector<std::string>;
const std::string K1 = TempGame::KeyFor(61), K2 = TempGame::KeyFor(62), K3 = TempGame::KeyFor(63),
                  K4 = TempGame::KeyFor(64);

std::string Box(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// The room `text` takes in the control's own font; wrapped at `width` when `format` breaks words.
SIZE Measure(HWND control, const std::wstring& text, UINT format, int width) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &r, format | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {r.right - r.left, r.bottom - r.top};
}

// The width and height of a picture.
SIZE PictureSize(HANDLE picture) {
    ICONINFO icon{};
    BITMAP bits{};
    if (picture == nullptr || !GetIconInfo(static_cast<HICON>(picture), &icon)) return {0, 0};
    GetObjectW(icon.hbmColor != nullptr ? icon.hbmColor : icon.hbmMask, sizeof bits, &bits);
    DeleteObject(icon.hbmColor);
    DeleteObject(icon.hbmMask);
    return {bits.bmWidth, bits.bmHeight};
}

// The room a caption needs in its control, as Wine's controls draw it (user32's static, comctl32's
// button): a static wraps where its style wraps; a push button draws its text inside a dark border
// (the default button's), a 2-pixel frame and a 1-pixel margin on each side, beside its picture; a
// check box draws its box (12 pixels at 96 DPI, and one), a gap of half a "0", then its text with a
// 1-pixel margin on each side; a group box indents its caption by 7 pixels and a 1-pixel margin.
// Nothing for controls without a caption, pictures, lines, lists and edits.
std::optional<SIZE> Needed(HWND control) {
    const std::wstring text = Wide(WindowText(control));
    if (text.empty()) return std::nullopt;
    wchar_t type[16] = {};
    GetClassNameW(control, type, 16);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    RECT own;
    GetClientRect(control, &own);
    if (lstrcmpiW(type, L"Static") == 0) {
        const LONG kind = style & SS_TYPEMASK;
        UINT format = DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        if (kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT) {
            if ((style & SS_ELLIPSISMASK) == 0) format |= DT_WORDBREAK;
        } else if (kind != SS_LEFTNOWORDWRAP && kind != SS_SIMPLE) {
            return std::nullopt;
        }
        return Measure(control, text, format, own.right);
    }
    if (lstrcmpiW(type, L"Button") != 0) return std::nullopt;
    SIZE need = Measure(control, text, DT_SINGLELINE, 0);
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON: {
            const SIZE picture = PictureSize(reinterpret_cast<HANDLE>(SendMessageW(control, BM_GETIMAGE, IMAGE_ICON, 0)));
            return SIZE{need.cx + picture.cx + 2 * (1 + 2 + 1), std::max(need.cy, picture.cy) + 2 * (1 + 2 + 1)};
        }
        case BS_3STATE: {  // the option boxes
            const int box = 12 * ScreenDpi() / 96 + 1;
            const LONG zero = Measure(control, L"0", DT_SINGLELINE, 0).cx;
            return SIZE{box + zero / 2 + 1 + need.cx + 1, std::max<LONG>(need.cy, box)};
        }
        case BS_GROUPBOX:
            return SIZE{need.cx + 2 * (7 + 1), need.cy};
    }
    return std::nullopt;
}

// What a user of `window` would miss, one line each: a visible control that lies (partly) outside
// the window's client area, a caption that its control cuts off.
Faults Cut(HWND window) {
    Faults faults;
    RECT client;
    GetClientRect(window, &client);
    for (HWND control = GetWindow(window, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        if ((GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) == 0) continue;
        const std::string name = std::to_string(GetDlgCtrlID(control)) + " \"" + WindowText(control) + "\"";
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom)
            faults.push_back(name + " at " + Box(r) + " outside " + Box(client));
        RECT own;
        GetClientRect(control, &own);
        if (const std::optional<SIZE> need = Needed(control); need && (need->cx > own.right || need->cy > own.bottom))
            faults.push_back(name + " needs " + std::to_string(need->cx) + " x " + std::to_string(need->cy) +
                             ", has " + std::to_string(own.right) + " x " + std::to_string(own.bottom));
    }
    return faults;
}

// Checks `window` and saves its picture as `name`-DPI.
void ExpectWhole(HWND window, const std::string& name) {
    EXPECT_EQ(Cut(window), Faults{}) << name << " at " << ScreenDpi() << " DPI";
    EXPECT_TRUE(SaveScreenshot(window, name + "-" + std::to_string(ScreenDpi()))) << name;
}

// Whether the icon resource `id` holds a picture drawn at `size` pixels, which is then shown
// unscaled.
bool Drawn(int id, int size) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    if (found == nullptr) return false;
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(self, found)));
    const WORD count = *reinterpret_cast<const WORD*>(directory + 4);
    for (WORD i = 0; i < count; ++i)  // 14-byte entries after the 6-byte header; width first, 0 for 256
        if (directory[6 + 14 * i] == size) return true;
    return false;
}

// "width x height, drawn" of a picture of icon `id`, "drawn" when the icon holds that size.
std::string Picture(HANDLE picture, int id) {
    const SIZE size = PictureSize(picture);
    return std::to_string(size.cx) + " x " + std::to_string(size.cy) + (Drawn(id, size.cx) ? ", drawn" : ", scaled");
}

}  // namespace

// Each window of Morvane met once. Every control lies inside its window and shows its whole caption;
// window icons take the system's sizes, the pictures in windows and on buttons their 96-DPI sizes
// scaled by the screen's DPI, and every one of them is drawn at that size in its icon file.
TEST(LayoutWin, EveryControlShowsItsWholeCaptionAndEveryPictureItsSizeAtTheScreensDpi) {
    if (const char* wanted = std::getenv("MORVANE_TEST_DPI")) {
        ASSERT_EQ(ScreenDpi(), std::atoi(wanted)) << "the run's DPI is the one CTest asked for";
    }
    struct Sizes { int dpi; const char *windowIcon, *smallIcon, *picture, *buttonPicture; };
    const Sizes table[] = {
        {96, "32 x 32, drawn", "16 x 16, drawn", "32 x 32, drawn", "24 x 24, drawn"},
        {120, "40 x 40, drawn", "20 x 20, drawn", "40 x 40, drawn", "30 x 30, drawn"},
        {144, "48 x 48, drawn", "24 x 24, drawn", "48 x 48, drawn", "36 x 36, drawn"},
    };
    const Sizes* expected =
        std::find_if(std::begin(table), std::end(table), [](const Sizes& row) { return row.dpi == ScreenDpi(); });
    ASSERT_NE(expected, std::end(table)) << "no sizes for " << ScreenDpi() << " DPI";
    const std::string picture = expected->picture;
    const auto shown = [](HWND window, int control, int icon) {
        return Picture(reinterpret_cast<HANDLE>(SendDlgItemMessageW(window, control, STM_GETICON, 0, 0)), icon);
    };

    // A map whose destination holds other bytes (the overwrite question), a text file (the sub-folder
    // question), and for the fixer a stray cached file and a line whose file is gone.
    OpenedGame o({{K1, "DM-Overwritten-Map.ut2"}, {K2, "ReadMe-Of-A-Mod.txt"}, {K3, "Gone.utx"}}, 1536,
                 [](TempGame& g) {
                     TempGame::Write(g.Path("\\Maps\\DM-Overwritten-Map.ut2"), "older bytes");
                     DeleteFileA(g.Cached(K3).c_str());
                     TempGame::Write(g.Cached(K4), std::string(1536, 's'));
                 });
    const HWND main = o.form.Window();
    o.answers
        .Expect("Overwrite file?", IDC_CMDNO, [&](HWND d) {
            ExpectWhole(d, "overwrite");
            EXPECT_EQ(shown(d, IDC_IMGUT2003, IDI_LOGO), picture);
        })
        .Expect("Enter sub-directory", IDCANCEL, [](HWND d) { ExpectWhole(d, "inputbox"); });
    for (int row : {0, 1}) SendMessageW(o.Item(IDC_LSTCACHE), LB_SETSEL, TRUE, row);
    o.Click(IDC_CMDUNCACHE);
    // The longest summary a run writes, which takes the label's two lines.
    o.form.SetLabel(RipLabel::Summary, "Un-cached 1234 files (1234 moved), 1234 already in place, 1234 skipped, "
                                       "1234 refused, 1234 failed. The run was ended after a failure.");
    ExpectWhole(main, "main");
    EXPECT_EQ(Picture(reinterpret_cast<HANDLE>(SendMessageW(main, WM_GETICON, ICON_BIG, 0)), IDI_MORVANE),
              expected->windowIcon);
    EXPECT_EQ(Picture(reinterpret_cast<HANDLE>(SendMessageW(main, WM_GETICON, ICON_SMALL, 0)), IDI_MORVANE),
              expected->smallIcon);
    for (const auto& [button, icon] : {std::pair{IDC_CMDUNCACHE, IDI_UNCACHE}, {IDC_CMDDELETE, IDI_DELETE}})
        EXPECT_EQ(Picture(reinterpret_cast<HANDLE>(SendMessageW(o.Item(button), BM_GETIMAGE, IMAGE_ICON, 0)), icon),
                  expected->buttonPicture) << button;

    o.answers.Expect("Morvane options", IDOK, [](HWND d) { ExpectWhole(d, "options"); })
        .Expect("Morvane file fixer", IDCANCEL, [&](HWND d) {
            // A file chosen, so that its size and date show.
            HWND files = GetDlgItem(d, IDC_FIX_LSTFILES);
            SendMessageW(files, LB_SETCURSEL, 0, 0);
            SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_FIX_LSTFILES, LBN_SELCHANGE), reinterpret_cast<LPARAM>(files));
            ExpectWhole(d, "fixer");
            EXPECT_EQ(shown(d, IDC_FIX_IMGUT, IDI_FIXUT) + " | " + shown(d, IDC_FIX_IMAGE2, IDI_FIXIMAGE2),
                      picture + " | " + picture);
        })
        .Expect("About Morvane", IDC_ABOUT_CMDOK, [&](HWND d) {
            ExpectWhole(d, "about");
            EXPECT_EQ(shown(d, IDC_ABOUT_IMGUT, IDI_ABOUTUT), picture);
        });
    o.Menu(IDM_OPTIONS);
    o.Menu(IDM_FIX);
    o.Menu(IDM_ABOUT);
    EXPECT_EQ(o.answers.Titles(), (Faults{"Overwrite file?: ", "Enter sub-directory: ", "Morvane options: ",
                                          "Morvane file fixer: ", "About Morvane: "}))
        << "each window met once";
}
