// The unexpected-error report: its texts per site, its buttons, and the clipboard it fills first.
#include <gtest/gtest.h>

#include "cache/ErrorReport.h"
#include "support/Fakes.h"

namespace {

const char* const Body =
    "\r\nPlease report this error to:   morvane-bugs@users.example   including the whole error message "
    "above. Thank you.\r\n(The error message has been copied to your clipboard)";

std::string Message(const std::string& name, const std::string& description, const std::string& question = "") {
    return "An unexpected error occurred in '" + name + "'!\r\n" + description + Body +
           (question.empty() ? "" : "\r\n\r\n" + question);
}

}  // namespace

TEST(ErrorReport, EverySiteShowsItsOwnTextsAndButtons) {
    struct Case {
        ReportSite site;
        const char* title;
        std::string message;
        const char* clipboard;
    };
    const char* d = "The system cannot find the file specified.";
    const Case cases[] = {
        {ReportSite::Uncache, "frmRip->Uncache",  // in full, once
         "An unexpected error occurred in 'frmRip->Uncache'!\r\nThe system cannot find the file specified.\r\n"
         "Please report this error to:   morvane-bugs@users.example   including the whole error message above. "
         "Thank you.\r\n(The error message has been copied to your clipboard)\r\n\r\nPress [Yes] if you want "
         "Morvane to continue Uncaching your files, ignoring the error (NOT recommended).",
         d},
        // The fixer names another window in its text and prefixes the clipboard.
        {ReportSite::FixRefreshLists, "frmFix->RefreshLists",
         Message("frmCache->RefreshLists", d, "Press [Yes] if you want Morvane to continue loading your cache (NOT recommended)"),
         "Error in frmFix->RefreshLists: The system cannot find the file specified."},
        {ReportSite::FormLoad, "frmRip->Form_Load", Message("frmRip->Form_Load", d), d},
        {ReportSite::SelAll, "frmRip->cmdSelAll_Click", Message("frmRip->cmdSelAll_Click", d), d},
        {ReportSite::Delete, "frmRip->cmdDelete_Click", Message("frmRip->cmdDelete_Click", d), d},
        {ReportSite::Find, "frmRip->cmdFind_Click", Message("frmRip->cmdFind_Click", d), d},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const bool continuable = c.site == ReportSite::Uncache || c.site == ReportSite::FixRefreshLists;
        for (MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::No}) {
            ScriptedPrompts prompts;
            FakeClipboard clipboard;
            clipboard.text = "previous";
            std::string onClipboardWhileShown;
            prompts.onMessage = [&] { onClipboardWhileShown = clipboard.text; };
            prompts.answers = {answer};
            const bool goOn = ReportUnexpectedError(prompts, clipboard, c.site, d);
            ASSERT_EQ(prompts.shown.size(), 1u);
            EXPECT_EQ(prompts.shown[0].text, c.message);
            EXPECT_EQ(prompts.shown[0].title, c.title);
            EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Critical);
            EXPECT_EQ(prompts.shown[0].buttons, continuable ? MsgButtons::YesNo : MsgButtons::Ok);
            EXPECT_EQ(goOn, continuable && answer == MsgAnswer::Yes) << "answer Yes? " << (answer == MsgAnswer::Yes);
            EXPECT_EQ(onClipboardWhileShown, c.clipboard) << "clipboard not set before the box";
            EXPECT_EQ(clipboard.sets, 1);
        }
    }
}

TEST(ErrorReport, ProcedureWithoutItsOwnReportGetsTheSimpleOne) {
    ScriptedPrompts prompts;
    FakeClipboard clipboard;
    ReportUnexpectedError(prompts, clipboard, "frmRip->mnuOptions_Click", "Not enough memory.");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, Message("frmRip->mnuOptions_Click", "Not enough memory."));
    EXPECT_EQ(prompts.shown[0].title, "frmRip->mnuOptions_Click");
    EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(prompts.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(clipboard.text, "Not enough memory.");
}
