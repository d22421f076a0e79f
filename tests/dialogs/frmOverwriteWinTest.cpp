// The real overwrite prompt under Wine: its look, size and place, its keyboard, and the answers it keeps.
#include <gtest/gtest.h>
#include <windows.h>

#include <tuple>

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
    EXPECT_EQ(Look(box), "Overwrite file? [fixed]|Are you sure you want to overwrite|&Yes|Yes to &All|&No|No &to All");

    DialogAnswerer answers;
    std::string file, placement, details;
    answers.Expect("Overwrite file?", 0, [&](HWND d) {
        placement = Placement(d, owner);
        file = WindowText(GetDlgItem(d, IDC_LBLFILE));
        details = WindowText(GetDlgItem(d, IDC_LBLDETAILS));
        PostMessageA(d, WM_KEYDOWN, VK_RETURN, 1);  // Enter answers Yes
    });
    // A folder and a name outside the code page show as they are; the prompt widens for a path
    // longer than it (in Wine's dialog font).
    const std::string what = "Another version of this package.\r\nCached: 1.50 KB, 3/5/2024; there now: 1.20 KB, 1/2/2023";
    EXPECT_EQ(prompt.Ask("C:\\Игры\\UT2003\\Maps\\DM-Жar-Long-Name-Of-A-Map.ut2", what), ResponseOverwrite);
    EXPECT_EQ(details, what);
    EXPECT_EQ(file, "C:\\Игры\\UT2003\\Maps\\DM-Жar-Long-Name-Of-A-Map.ut2");
    EXPECT_EQ(placement, "5790 x 2160 twips, centred");
    EXPECT_FALSE(prompt.YAll() || prompt.NAll());

    // Closing the prompt without a button keeps the file. A short path has it at its own size again.
    answers.Expect("Overwrite file?", 0, [&](HWND d) {
        placement = Placement(d, owner);
        PostMessageA(d, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    EXPECT_EQ(prompt.Ask("C:\\a", ""), ResponseKeep);
    EXPECT_EQ(placement, "5025 x 2160 twips, centred");

    // A path wider than the screen: the prompt is as wide as the screen's work area, and the label
    // stays inside it (it leaves out a part of the path's middle).
    RECT shown, client, label, screen;
    answers
        .Expect("Overwrite file?", IDC_CMDYALL, [&](HWND d) {
            GetWindowRect(d, &shown);
            GetClientRect(d, &client);
            GetWindowRect(GetDlgItem(d, IDC_LBLFILE), &label);
            MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&label), 2);
        })
        .Expect("Overwrite file?", IDC_CMDNALL);
    EXPECT_EQ(prompt.Ask("C:\\" + std::string(300, 'b') + ".ut2", ""), ResponseOverwrite);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    EXPECT_EQ(shown.right - shown.left, screen.right - screen.left);
    EXPECT_LT(label.right, client.right);
    EXPECT_EQ(prompt.Ask("C:\\c", ""), ResponseKeep);
    EXPECT_TRUE(prompt.YAll() && prompt.NAll());
    EXPECT_EQ(answers.Titles(), std::vector<std::string>(4, "Overwrite file?: ")) << "each closed as expected";
    prompt.ResetFrm();
    EXPECT_EQ(std::make_tuple(prompt.YAll(), prompt.NAll(), prompt.Response, WindowText(GetDlgItem(box, IDC_LBLFILE))),
              std::make_tuple(false, false, ResponseNone, std::string()));
    DestroyWindow(owner);
}
