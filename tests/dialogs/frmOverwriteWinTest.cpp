// The real overwrite prompt under Wine: its look, its keyboard, and the answers it keeps.
#include <gtest/gtest.h>
#include <windows.h>

#include "dialogs/frmOverwrite.h"
#include "resource.h"
#include "support/DialogAnswerer.h"
#include "support/WinProgram.h"

TEST(frmOverwriteWin, AsksKeepsItsAnswersAndHides) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 700, 500, nullptr,
                                 nullptr, nullptr, nullptr);
    frmOverwrite prompt(owner);
    prompt.ResetFrm();
    HWND box = prompt.Window();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(IsWindowVisible(box));
    EXPECT_EQ(WinProgram::TextOf(box), "Overwrite file?");
    EXPECT_EQ(WinProgram::TextOf(GetDlgItem(box, IDC_LBLOW)), "Are you sure you want to overwrite");
    EXPECT_EQ(GetWindowLongA(box, GWL_STYLE) & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX), 0);
    RECT client;
    GetClientRect(box, &client);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(client.right, MulDiv(5025, GetDeviceCaps(screen, LOGPIXELSX), 1440));
    EXPECT_EQ(client.bottom, MulDiv(1485, GetDeviceCaps(screen, LOGPIXELSY), 1440));
    ReleaseDC(nullptr, screen);
    // The buttons, left to right and in keyboard order.
    std::vector<std::string> order;
    HWND b = GetDlgItem(box, IDC_CMDYES);
    for (int i = 0; i < 4; ++i, b = GetNextDlgTabItem(box, b, FALSE)) order.push_back(WinProgram::TextOf(b));
    EXPECT_EQ(order, (std::vector<std::string>{"&Yes", "Yes to &All", "&No", "No &to All"}));

    DialogAnswerer answers;
    RECT shown{}, ownerRect;
    std::string file;
    auto key = [](WPARAM k) {
        return [k](HWND dialog) { PostMessageA(dialog, WM_KEYDOWN, k, 1); };
    };
    answers.Expect("Overwrite file?", 0, [&](HWND d) {
        GetWindowRect(d, &shown);
        file = WinProgram::TextOf(GetDlgItem(d, IDC_LBLFILE));
        key(VK_RETURN)(d);  // Enter answers Yes
    });
    EXPECT_EQ(prompt.Ask("C:\\UT2003\\Maps\\DM-Long-Name-Of-A-Map.ut2"), ResponseOverwrite);
    EXPECT_EQ(file, "C:\\UT2003\\Maps\\DM-Long-Name-Of-A-Map.ut2");
    GetWindowRect(owner, &ownerRect);
    EXPECT_NEAR((shown.left + shown.right) / 2, (ownerRect.left + ownerRect.right) / 2, 2);
    EXPECT_NEAR((shown.top + shown.bottom) / 2, (ownerRect.top + ownerRect.bottom) / 2, 2);
    EXPECT_FALSE(IsWindowVisible(box));
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(prompt.YAll() || prompt.NAll());

    // The label is as wide as its text.
    RECT longLabel, shortLabel;
    GetWindowRect(GetDlgItem(box, IDC_LBLFILE), &longLabel);
    answers.Expect("Overwrite file?", 0, [&](HWND d) {
        GetWindowRect(GetDlgItem(d, IDC_LBLFILE), &shortLabel);
        key(VK_ESCAPE)(d);  // closing it without a button keeps the file
    });
    EXPECT_EQ(prompt.Ask("C:\\a"), ResponseKeep);
    EXPECT_LT(shortLabel.right - shortLabel.left, longLabel.right - longLabel.left);

    answers.Expect("Overwrite file?", IDC_CMDYALL).Expect("Overwrite file?", IDC_CMDNALL);
    EXPECT_EQ(prompt.Ask("C:\\b"), ResponseOverwrite);
    EXPECT_TRUE(prompt.YAll());
    EXPECT_EQ(prompt.Ask("C:\\c"), ResponseKeep);
    EXPECT_TRUE(prompt.YAll() && prompt.NAll());
    EXPECT_TRUE(answers.AllAnswered());
    prompt.ResetFrm();
    EXPECT_FALSE(prompt.YAll() || prompt.NAll());
    EXPECT_EQ(prompt.Response, ResponseNone);
    EXPECT_EQ(WinProgram::TextOf(GetDlgItem(box, IDC_LBLFILE)), "");
    DestroyWindow(owner);
}
