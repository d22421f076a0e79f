// Cache > Export selected as zip through the real main window under Wine: the sub-folder question,
// the standard Save dialog answered as a player would, and the zip on disk.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/WideText.h"
#include "resource.h"
#include "support/WinProgram.h"

namespace {

const std::string K1 = TempGame::KeyFor(61), K2 = TempGame::KeyFor(62);

}  // namespace

TEST(ShareWin, ExportSelectedAsZipWritesTheZipChosenInTheSaveDialog) {
    OpenedGame o({{K1, "DM-Share.ut2"}, {K2, "Notes.txt"}}, 300);
    const std::string zip = o.game.Path("\\Shared.zip");
    o.answers.Expect("Enter sub-directory", IDOK, [](HWND box) { SetDlgItemTextW(box, IDC_INPUTTEXT, L"Help"); })
        .Expect("Export selected as zip", IDOK, [&](HWND box) {
            // The file name box of the Save dialog (cmb13 on Windows, edt1 in Wine's dialog).
            for (const int id : {0x47C, 0x480}) SetDlgItemTextW(box, id, Wide(zip).c_str());
        });
    o.Click(IDC_CMDSELALL);
    o.Menu(IDM_EXPORTZIP);
    EXPECT_EQ(o.answers.Titles(), (std::vector<std::string>{"Enter sub-directory: ", "Export selected as zip: "}));
    const std::string bytes = TempGame::Read(zip);
    EXPECT_EQ(bytes.substr(0, 4), std::string("PK\x03\x04", 4));
    for (const char* name : {"Maps/DM-Share.ut2", "Help/Notes.txt"})
        EXPECT_NE(bytes.find(name), std::string::npos) << name;
    EXPECT_EQ(WindowText(o.Item(IDC_LBLSUMMARY)).rfind("Exported 2 packages to " + zip, 0), 0u)
        << WindowText(o.Item(IDC_LBLSUMMARY));
    EXPECT_FALSE(IsWindowVisible(o.Item(IDC_PRGRUN))) << "the progress bar goes when the export ends";
    EXPECT_TRUE(IsWindowVisible(o.Item(IDC_LBLMB)));
}
