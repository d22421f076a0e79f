// The real overwrite prompt under Wine: its look, its keyboard, and the answers it keeps.
#include <gtest/gtest.h>
#include <windows.h>

#include "dialogs/frmOverwrite.h"
#include "resource.h"
#include "support/WinProgram.h"

TEST(frmOverwriteWin, AsksKeepsItsAnswersAndHides) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 700, 500, nullptr,
                                 nullptr, nullptr, nullptr);
    frmOverwrite prompt(owner);
    prompt.ResetFrm();
    HWND box = prompt.Window();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(IsWindowVisible(box));
    EXPECT_EQ(Look(box), "Overwrite file? [fixed]|Are you sure you want to overwrite|&Yes|Yes to &All|&No|No &to All");
    RECT client;
    GetClientRect(box, &client);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(client.right, MulDiv(5025, GetDeviceCaps(screen, LOGPIXELSX), 1440));
    EXPECT_EQ(client.bottom, MulDiv(1485, GetDeviceCaps(screen, LOGPIXELSY), 1440));
    ReleaseDC(nullptr, screen);

    DialogAnswerer answers;
    RECT shown{}, ownerRect, longLabel, shortLabel;
    std::string file;
    answers.Expect("Overwrite file?", 0, [&](HWND d) {
        GetWindowRect(d, &shown);
        file = WindowText(GetDlgItem(d, IDC_LBLFILE));
        PostMessageA(d, WM_KEYDOWN, VK_RETURN, 1);  // Enter answers Yes
    });
    EXPECT_EQ(prompt.Ask("C:\\UT2003\\Maps\\DM-Long-Name-Of-A-Map.ut2"), ResponseOverwrite);
    EXPECT_EQ(file, "C:\\UT2003\\Maps\\DM-Long-Name-Of-A-Map.ut2");
    GetWindowRect(owner, &ownerRect);
    EXPECT_NEAR((shown.left + shown.right) / 2, (ownerRect.left + ownerRect.right) / 2, 2);
    EXPECT_NEAR((shown.top + shown.bottom) / 2, (ownerRect.top + ownerRect.bottom) / 2, 2);
    EXPECT_FALSE(IsWindowVisible(box));
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(prompt.YAll() || prompt.NAll());

    // The label is as wide as its text; closing the prompt without a button keeps the file.
    GetWindowRect(GetDlgItem(box, IDC_LBLFILE), &longLabel);
    answers.Expect("Overwrite file?", 0, [&](HWND d) {
        GetWindowRect(GetDlgItem(d, IDC_LBLFILE), &shortLabel);
        PostMessageA(d, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    EXPECT_EQ(prompt.Ask("C:\\a"), ResponseKeep);
    EXPECT_LT(shortLabel.right - shortLabel.left, longLabel.right - longLabel.left);

    answers.Expect("Overwrite file?", IDC_CMDYALL).Expect("Overwrite file?", IDC_CMDNALL);
    EXPECT_EQ(prompt.Ask("C:\\b"), ResponseOverwrite);
    EXPECT_TRUE(prompt.YAll());
    EXPECT_EQ(prompt.Ask("C:\\c"), ResponseKeep);
    EXPECT_TRUE(prompt.YAll() && prompt.NAll());
    EXPECT_EQ(answers.Titles(), std::vector<std::string>(4, "Overwrite file?: ")) << "each closed as expected";
    prompt.ResetFrm();
    EXPECT_FALSE(prompt.YAll() || prompt.NAll());
    EXPECT_EQ(prompt.Response, ResponseNone);
    EXPECT_EQ(WindowText(GetDlgItem(box, IDC_LBLFILE)), "");
    DestroyWindow(owner);
}
