// The unexpected-error report: its texts per site, its buttons, and the clipboard it fills first.
#include <gtest/gtest.h>

#include <tuple>

#include "cache/ErrorReport.h"
#include "support/Fakes.h"

TEST(ErrorReport, EverySiteShowsItsOwnTextsAndButtons) {
    const std::string d = "The system cannot find the file specified.";
    const auto simple = [&](const std::string& name) {
        return "An unexpected error occurred in '" + name + "'!\r\n" + d + "\r\nPlease report this error to:   "
               "morvane-bugs@users.example   including the whole error message above. Thank you.\r\n(The error "
               "message has been copied to your clipboard)";
    };
    // The site, or a procedure without a report of its own; the title, the text and the clipboard.
    const std::tuple<ReportSite, const char*, std::string, std::string, std::string> cases[] = {
        {ReportSite::Uncache, nullptr, "frmRip->Uncache", simple("frmRip->Uncache") + "\r\n\r\nPress [Yes] if you "
         "want Morvane to continue Uncaching your files, ignoring the error (NOT recommended).", d},
        // The fixer names another window in its text and prefixes the clipboard.
        {ReportSite::FixRefreshLists, nullptr, "frmFix->RefreshLists", simple("frmCache->RefreshLists") +
         "\r\n\r\nPress [Yes] if you want Morvane to continue loading your cache (NOT recommended)",
         "Error in frmFix->RefreshLists: " + d},
        {ReportSite::FormLoad, nullptr, "frmRip->Form_Load", simple("frmRip->Form_Load"), d},
        {ReportSite::SelAll, nullptr, "frmRip->cmdSelAll_Click", simple("frmRip->cmdSelAll_Click"), d},
        {ReportSite::Delete, nullptr, "frmRip->cmdDelete_Click", simple("frmRip->cmdDelete_Click"), d},
        {ReportSite::Find, nullptr, "frmRip->cmdFind_Click", simple("frmRip->cmdFind_Click"), d},
        {ReportSite::Find, "frmRip->mnuOptions_Click", "frmRip->mnuOptions_Click", simple("frmRip->mnuOptions_Click"),
         d},
    };
    for (const auto& [site, procedure, title, message, onClipboard] : cases) {
        const bool continuable = message.find("Press [Yes]") != std::string::npos;
        for (MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::No}) {
            SCOPED_TRACE(title + (answer == MsgAnswer::Yes ? ", answered Yes" : ", answered No"));
            ScriptedPrompts prompts;
            FakeClipboard clipboard;
            std::string clipboardWhileShown = "no message";
            prompts.onMessage = [&] { clipboardWhileShown = clipboard.text; };
            prompts.answers = {answer};
            bool goOn = false;
            if (procedure) ReportUnexpectedError(prompts, clipboard, procedure, d);
            else goOn = ReportUnexpectedError(prompts, clipboard, site, d);
            ASSERT_EQ(prompts.shown.size(), 1u);
            EXPECT_EQ(prompts.shown[0].title + "|" + prompts.shown[0].text, title + "|" + message);
            EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Critical);
            EXPECT_EQ(prompts.shown[0].buttons, continuable ? MsgButtons::YesNo : MsgButtons::Ok);
            EXPECT_EQ(goOn, continuable && answer == MsgAnswer::Yes);
            EXPECT_EQ(clipboardWhileShown, onClipboard) << "the clipboard is filled before the box opens";
        }
    }
}
