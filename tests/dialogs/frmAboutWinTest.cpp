// The real about box under Wine: opened from the main window's menu, its look and version, Enter and
// Escape, and dragging by its body and labels.
#include <gtest/gtest.h>
#include <windows.h>

#include "resource.h"
#include "support/WinProgram.h"

namespace {

POINT Corner(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.left, r.top};
}

}  // namespace

TEST(frmAboutWin, OpensFromTheMenuWithoutTitleBarShowsItsTextsDragsAndClosesWithEscapeOrEnter) {
    OpenedGame o({{TempGame::KeyFor(1), "DM-A.ut2"}}, 10);
    HWND shown[2] = {};
    o.answers.Expect("About Morvane", 0, [&](HWND d) {
        shown[0] = d;
        PostMessageA(GetDlgItem(d, IDC_ABOUT_CMDOK), WM_KEYDOWN, VK_ESCAPE, 1);
    });
    o.Menu(IDM_ABOUT);
    o.answers.Expect("About Morvane", 0, [&](HWND d) {
        shown[1] = d;
        EXPECT_EQ(Look(d), "About Morvane [fixed] [tool]|Morvane|Version " + std::to_string(MORVANE_VERSION_MAJOR) + "." +
                               std::to_string(MORVANE_VERSION_MINOR) + "|Cleans up the Cache folder of UT2003 so that "
                               "you can use the files that you downloaded when connecting to a server in your own "
                               "games.|https://morvane.users.example/|morvane-bugs@users.example|Morvane comes with "
                               "no warranty of any kind. Keep a copy of your UT2003 Cache folder before you un-cache "
                               "or delete its files.|OK|&System Info...");
        EXPECT_EQ(LOWORD(SendMessageA(d, DM_GETDEFID, 0, 0)), IDC_ABOUT_CMDOK);
        EXPECT_EQ(GetWindow(d, GW_OWNER), o.form.Window());
        RECT client, box, owner;
        GetClientRect(d, &client);
        GetWindowRect(d, &box);
        GetWindowRect(o.form.Window(), &owner);
        EXPECT_EQ((box.bottom - box.top) - client.bottom, (box.right - box.left) - client.right) << "no title bar";
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(client.right, MulDiv(5730, GetDeviceCaps(screen, LOGPIXELSX), 1440));
        EXPECT_EQ(client.bottom, MulDiv(3555, GetDeviceCaps(screen, LOGPIXELSY), 1440));
        ReleaseDC(nullptr, screen);
        EXPECT_NEAR(box.left + box.right, owner.left + owner.right, 1) << "centred on its owner";
        EXPECT_NEAR(box.top + box.bottom, owner.top + owner.bottom, 1);
        // The version resource is built from the same numbers; the patch number is not shown.
        EXPECT_EQ(WindowText(GetDlgItem(d, IDC_ABOUT_LBLVERSION)), "Version " + std::to_string(MORVANE_VERSION_MAJOR) +
                                                                        "." + std::to_string(MORVANE_VERSION_MINOR));

        // Dragged by its body and its text labels with any mouse button, only while pressed.
        const struct { int element; UINT press, release; bool drags; } rows[] = {
            {IDC_ABOUT_LBLDESCRIPTION, WM_LBUTTONDOWN, WM_LBUTTONUP, true},
            {0, WM_LBUTTONDOWN, WM_LBUTTONUP, true},  // the window's own body
            {IDC_ABOUT_LBLTITLE, WM_RBUTTONDOWN, WM_RBUTTONUP, true},
            {IDC_ABOUT_LBLVERSION, WM_MBUTTONDOWN, WM_MBUTTONUP, true},
            {IDC_ABOUT_LBLDISCLAIMER, WM_LBUTTONDOWN, WM_LBUTTONUP, true},
            {IDC_ABOUT_IMGUT, WM_RBUTTONDOWN, WM_RBUTTONUP, true},  // a left click would open the site
            {IDC_ABOUT_LBLSITE, WM_RBUTTONDOWN, WM_RBUTTONUP, false},  // a link does not drag
        };
        for (const auto& row : rows) {
            SCOPED_TRACE("element " + std::to_string(row.element));
            HWND element = row.element == 0 ? d : GetDlgItem(d, row.element);
            const POINT start = Corner(d);
            SendMessageA(element, WM_MOUSEMOVE, 0, MAKELPARAM(30, 9));
            EXPECT_EQ(Corner(d).x, start.x) << "a move without a press never moves it";
            SendMessageA(element, row.press, 0, MAKELPARAM(4, 3));
            SendMessageA(element, WM_MOUSEMOVE, 0, MAKELPARAM(24, 10));
            const POINT moved = Corner(d);
            EXPECT_EQ(std::to_string(moved.x - start.x) + "," + std::to_string(moved.y - start.y),
                      row.drags ? "20,7" : "0,0");
            SendMessageA(element, row.release, 0, MAKELPARAM(24, 10));
            SendMessageA(element, WM_MOUSEMOVE, 0, MAKELPARAM(40, 20));
            EXPECT_EQ(Corner(d).x, moved.x) << "released: it stays";
        }
        // Activation clears the dragging flag.
        const POINT before = Corner(d);
        SendDlgItemMessageA(d, IDC_ABOUT_LBLDESCRIPTION, WM_LBUTTONDOWN, 0, MAKELPARAM(4, 3));
        SendMessageA(d, WM_ACTIVATE, WA_ACTIVE, 0);
        SendDlgItemMessageA(d, IDC_ABOUT_LBLDESCRIPTION, WM_MOUSEMOVE, 0, MAKELPARAM(24, 10));
        EXPECT_EQ(Corner(d).x, before.x);
        PostMessageA(GetDlgItem(d, IDC_ABOUT_CMDOK), WM_KEYDOWN, VK_RETURN, 1);
    });
    o.Menu(IDM_ABOUT);
    EXPECT_EQ(o.answers.Titles(), std::vector<std::string>(2, "About Morvane: ")) << "each closed by its key";
    EXPECT_FALSE(IsWindow(shown[0]) || IsWindow(shown[1])) << "unloaded when closed";
    EXPECT_TRUE(IsWindowEnabled(o.form.Window()));
}
