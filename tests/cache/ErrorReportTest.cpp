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
        SCOPED_TRACE(c.title);
        ScriptedPrompts prompts;
        FakeClipboard clipboard;
        std::string onClipboard = "no message";  // while the box is shown
        prompts.onMessage = [&] { onClipboard = clipboard.text; };
        prompts.answers = {MsgAnswer::Yes};  // only a report that asks goes on; No ending a run is the callers' test
        const bool goOn = c.procedure ? (ReportUnexpectedError(prompts, clipboard, c.procedure, d), false)
                                      : ReportUnexpectedError(prompts, clipboard, c.site, d);
        const ScriptedPrompts::Shown& box = prompts.shown.at(0);
        EXPECT_EQ(box.title + "|" + box.text, c.title + "|An unexpected error occurred in '" + c.named + "'!\r\n" + d +
            "\r\nPlease report this error to:   morvane-bugs@users.example   including the whole error message above. "
            "Thank you.\r\n(The error message has been copied to your clipboard)" + (c.yes.empty() ? "" :
            "\r\n\r\nPress [Yes] if you want Morvane to continue " + c.yes));
        EXPECT_TRUE(box.icon == MsgIcon::Critical && box.buttons == (goOn ? MsgButtons::YesNo : MsgButtons::Ok));
        EXPECT_EQ(goOn, !c.yes.empty());
        EXPECT_EQ(onClipboard, c.prefix + d);
    }
}
