// The unexpected-error report: its texts per site, its buttons, and the clipboard it fills first.
#include <gtest/gtest.h>

#include "cache/ErrorReport.h"
#include "support/Fakes.h"

TEST(ErrorReport, EverySiteShowsItsOwnTextsAndButtons) {
    const std::string d = "The system cannot find the file specified.";
    // The site, or a procedure without a report of its own; the title, the name in the text, what
    // Yes would continue (none: OK only) and the clipboard's prefix.
    struct Case { ReportSite site; const char* procedure; std::string title, named = title, yes = "", prefix = ""; };
    const Case cases[] = {
        {ReportSite::Uncache, nullptr, "frmRip->Uncache", "frmRip->Uncache",
         "Uncaching your files, ignoring the error (NOT recommended)."},
        // The fixer names another window in its text and prefixes the clipboard.
        {ReportSite::FixRefreshLists, nullptr, "frmFix->RefreshLists", "frmCache->RefreshLists",
         "loading your cache (NOT recommended)", "Error in frmFix->RefreshLists: "},
        {ReportSite::FormLoad, nullptr, "frmRip->Form_Load"}, {ReportSite::SelAll, nullptr, "frmRip->cmdSelAll_Click"},
        {ReportSite::Delete, nullptr, "frmRip->cmdDelete_Click"}, {ReportSite::Find, nullptr, "frmRip->cmdFind_Click"},
        {ReportSite::Find, "frmRip->mnuOptions_Click", "frmRip->mnuOptions_Click"},
    };
    for (const auto& c : cases) {
        const std::string message =
            "An unexpected error occurred in '" + c.named + "'!\r\n" + d + "\r\nPlease report this error to:   "
            "morvane-bugs@users.example   including the whole error message above. Thank you.\r\n(The error message "
            "has been copied to your clipboard)" + (c.yes.empty() ? "" : "\r\n\r\nPress [Yes] if you want Morvane to "
            "continue " + c.yes);
        // Answered Yes: only a report that asks goes on (No ending a run is the callers' test).
        SCOPED_TRACE(c.title);
        ScriptedPrompts prompts;
        FakeClipboard clipboard;
        std::string clipboardWhileShown = "no message";
        prompts.onMessage = [&] { clipboardWhileShown = clipboard.text; };
        prompts.answers = {MsgAnswer::Yes};
        bool goOn = false;
        if (c.procedure) ReportUnexpectedError(prompts, clipboard, c.procedure, d);
        else goOn = ReportUnexpectedError(prompts, clipboard, c.site, d);
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].title + "|" + prompts.shown[0].text, c.title + "|" + message);
        EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Critical);
        EXPECT_EQ(prompts.shown[0].buttons, c.yes.empty() ? MsgButtons::Ok : MsgButtons::YesNo);
        EXPECT_EQ(goOn, !c.yes.empty());
        EXPECT_EQ(clipboardWhileShown, c.prefix + d) << "the clipboard is filled before the box opens";
    }
}
