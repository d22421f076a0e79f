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
    std::string file, placement;
    answers.Expect("Overwrite file?", 0, [&](HWND d) {
        placement = Placement(d, owner);
        file = WindowText(GetDlgItem(d, IDC_LBLFILE));
        PostMessageA(d, WM_KEYDOWN, VK_RETURN, 1);  // Enter answers Yes
    });
    // A folder and a name outside the code page show as they are.
    EXPECT_EQ(prompt.Ask("C:\\Игры\\UT2003\\Maps\\DM-Жar-Long-Name-Of-A-Map.ut2", ""), ResponseOverwrite);
    EXPECT_EQ(file, "C:\\Игры\\UT2003\\Maps\\DM-Жar-Long-Name-Of-A-Map.ut2");
    EXPECT_EQ(placement, "5025 x 1485 twips, centred");
    EXPECT_FALSE(prompt.YAll() || prompt.NAll());

    // Closing the prompt without a button keeps the file.
    answers.Expect("Overwrite file?", 0, [](HWND d) { PostMessageA(d, WM_KEYDOWN, VK_ESCAPE, 1); });
    EXPECT_EQ(prompt.Ask("C:\\a", ""), ResponseKeep);

    answers.Expect("Overwrite file?", IDC_CMDYALL).Expect("Overwrite file?", IDC_CMDNALL);
    EXPECT_EQ(prompt.Ask("C:\\b", ""), ResponseOverwrite);
    EXPECT_EQ(prompt.Ask("C:\\c", ""), ResponseKeep);
    EXPECT_TRUE(prompt.YAll() && prompt.NAll());
    EXPECT_EQ(answers.Titles(), std::vector<std::string>(4, "Overwrite file?: ")) << "each closed as expected";
    prompt.ResetFrm();
    EXPECT_EQ(std::make_tuple(prompt.YAll(), prompt.NAll(), prompt.Response, WindowText(GetDlgItem(box, IDC_LBLFILE))),
              std::make_tuple(false, false, ResponseNone, std::string()));
    DestroyWindow(owner);
}
