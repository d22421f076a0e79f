// The share commands as the main window runs them: the player's choices, the files written, the
// progress in the window, Cancel, and what the summary line and the message say.
#include <gtest/gtest.h>

#include "support/Archives.h"
#include "support/World.h"

namespace {

const std::string Out = "C:\\Out";

// A cache of a map, a texture and a text file, all selected, a folder to write to, and the
// player's answers to the sub-folder question and to the Save dialog or the folder picker.
struct Sharing : World {
    Sharing(std::deque<std::string> inputs, std::deque<std::string> files)
        : World(World::Keyed({"DM-A.ut2", "Rock.utx", "Readme.txt"})) {
        fs.AddFolder(Out);
        Select({0, 1, 2});
        prompts.inputs = std::move(inputs);
        prompts.files = std::move(files);
    }
};

}  // namespace

TEST(ShareSelected, TheZipHoldsEachSelectedPackageInItsGameFolderWithItsProgressShown) {
    Sharing w({"Help"}, {Out + "\\mine.zip"});
    const std::string index = w.Index();
    w.rip.mnuExportZip_Click();
    EXPECT_EQ(w.prompts.dialogs, std::vector<std::string>{"Export selected as zip|Morvane-export.zip"});
    const ZipRead zip = ReadZip(w.fs.Bytes(Out + "\\mine.zip").value_or(""));
    ASSERT_EQ(zip.error, "");
    std::string names;
    for (const auto& item : zip.items) names += item.name + "=" + item.bytes + " ";
    EXPECT_EQ(names, "Maps/DM-A.ut2=" + World::Content(0) + " Textures/Rock.utx=" + World::Content(1) +
                         " Help/Readme.txt=" + World::Content(2) + " ");
    EXPECT_EQ(w.view.progress.back(), "Exporting: 3 of 3 files 30/30");
    EXPECT_FALSE(w.view.progressShown) << "the bar goes when the export ends";
    EXPECT_EQ(w.view.labels[RipLabel::Summary].rfind("Exported 3 packages to " + Out + "\\mine.zip", 0), 0u)
        << w.view.labels[RipLabel::Summary];
    EXPECT_EQ(w.Index(), index);
    EXPECT_EQ(w.Where(), "DM-A.ut2:cache,ini Rock.utx:cache,ini Readme.txt:cache,ini") << "the cache is only read";

    // Cancel during the export: nothing is left behind; the player's Cancel in a dialog: nothing at all.
    Sharing c({"Help"}, {Out + "\\mine.zip"});
    c.view.cancelAfter = 1;
    c.rip.mnuExportZip_Click();
    EXPECT_EQ(c.fs.Files().size(), w.fs.Files().size() - 1) << "no zip, no part of one";
    EXPECT_EQ(c.view.labels[RipLabel::Summary], "The export to " + Out + "\\mine.zip was cancelled; nothing was written.");
    const std::size_t calls = c.fs.Log().size();
    c.rip.mnuExportZip_Click();  // the sub-folder question cancelled
    c.prompts.inputs = {"Help"};
    c.rip.mnuExportZip_Click();  // the Save dialog cancelled
    EXPECT_EQ(c.fs.Log().size(), calls + 2) << "only the two folder checks";
}

TEST(ShareSelected, EachPackageBecomesAUz2FileAndOneThereIsReplacedOnlyOnYes) {
    Sharing w({}, {Out});
    w.fs.AddFile(Out + "\\Rock.utx.uz2", "mine");
    w.prompts.answers = {MsgAnswer::No};
    w.rip.mnuCompressUz2_Click();
    EXPECT_EQ(ReadUz2(w.fs.Bytes(Out + "\\DM-A.ut2.uz2").value_or("")).bytes, World::Content(0));
    EXPECT_EQ(w.fs.Bytes(Out + "\\Rock.utx.uz2"), "mine");
    ASSERT_FALSE(w.prompts.shown.empty());
    EXPECT_EQ(w.prompts.shown[0].text, "\"" + Out + "\\Rock.utx.uz2\" is there already. Do you want to replace it?");
    EXPECT_EQ(w.prompts.shown[0].buttons, MsgButtons::YesNoDefaultNo);
    // Nothing selected: said so, and nothing asked.
    World none(World::Keyed({"DM-A.ut2"}));
    none.Select({});
    none.rip.mnuCompressUz2_Click();
    EXPECT_EQ(none.Shown(), std::vector<std::string>{"Morvane: Please select the files to share first."});
    EXPECT_TRUE(none.prompts.dialogs.empty());
}
