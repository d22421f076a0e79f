// The real about box under Wine: opened from the main window's menu, its look, size and place,
// Escape, and dragging by its body and labels.
#include <gtest/gtest.h>
#include <windows.h>

#include "resource.h"
#include "support/WinProgram.h"

namespace {

// How far pressing `press` on the control `id` (0: the box itself), moving the mouse by (20, 7) and
// releasing drags `box`: "x,y", then " and on" if it still follows the mouse after the release.
std::string Drag(HWND box, int id, UINT press) {
    HWND element = id == 0 ? box : GetDlgItem(box, id);
    RECT start, moved, after;
    GetWindowRect(box, &start);
    SendMessageA(element, press, 0, MAKELPARAM(4, 3));
    SendMessageA(element, WM_MOUSEMOVE, 0, MAKELPARAM(24, 10));
    GetWindowRect(box, &moved);
    SendMessageA(element, press + 1, 0, MAKELPARAM(24, 10));  // the same button's release
    SendMessageA(element, WM_MOUSEMOVE, 0, MAKELPARAM(40, 20));
    GetWindowRect(box, &after);
    return std::to_string(moved.left - start.left) + "," + std::to_string(moved.top - start.top) +
           (after.left != moved.left ? " and on" : "");
}

}  // namespace

TEST(frmAboutWin, OpensFromTheMenuWithoutTitleBarShowsItsTextsDragsAndClosesWithEscape) {
    OpenedGame o({{TempGame::KeyFor(1), "DM-A.ut2"}}, 10);
    o.answers.Expect("About Morvane", 0, [&](HWND d) {
        // The version comes from the version resource, built from the same numbers; no patch number.
        EXPECT_EQ(Look(d), "About Morvane [fixed] [tool]|Morvane|Version " + std::to_string(MORVANE_VERSION_MAJOR) + "." +
                               std::to_string(MORVANE_VERSION_MINOR) + "|Cleans up the Cache folder of UT2003 so that "
                               "you can use the files that you downloaded when connecting to a server in your own "
                               "games.|https://morvane.users.example/|morvane-bugs@users.example|Morvane comes with "
                               "no warranty of any kind. Keep a copy of your UT2003 Cache folder before you un-cache "
                               "or delete its files.|OK|&System Info...");
        EXPECT_EQ(LOWORD(SendMessageA(d, DM_GETDEFID, 0, 0)), IDC_ABOUT_CMDOK);  // Enter presses it, as Escape does
        EXPECT_EQ(GetWindowLongA(d, GWL_STYLE) & WS_CAPTION, 0) << "no title bar";
        EXPECT_EQ(Placement(d, o.form.Window()), "5730 x 3555 twips, centred");

        // Dragged by its body, its labels and its picture with any mouse button (a left click on the
        // picture would open the site), only while pressed; not by a link.
        EXPECT_EQ(Drag(d, 0, WM_LBUTTONDOWN) + " " + Drag(d, IDC_ABOUT_LBLVERSION, WM_MBUTTONDOWN) + " " +
                      Drag(d, IDC_ABOUT_IMGUT, WM_RBUTTONDOWN) + " " + Drag(d, IDC_ABOUT_LBLSITE, WM_RBUTTONDOWN),
                  "20,7 20,7 20,7 0,0");
        PostMessageA(GetDlgItem(d, IDC_ABOUT_CMDOK), WM_KEYDOWN, VK_ESCAPE, 1);
    });
    o.Menu(IDM_ABOUT);
    EXPECT_EQ(o.answers.Titles(), std::vector<std::string>{"About Morvane: "}) << "closed by its key";
    EXPECT_EQ(FindWindowA(nullptr, "About Morvane"), nullptr) << "unloaded when closed";
}
