// The one report of unexpected failures: the description on the clipboard and a critical box that
// names the procedure where it happened.
#pragma once
#include <string>
#include <string_view>

class Clipboard;
class Prompts;

enum class ReportSite { Uncache, FixRefreshLists, FormLoad, SelAll, Delete, Find };

struct ErrorReportText {
    std::string title;
    std::string message;
    std::string clipboard;
    bool continuable;  // Yes / No (Yes to go on) rather than OK alone
};

ErrorReportText BuildErrorReport(ReportSite site, std::string_view description);
// The simple report for a procedure without a report of its own, titled with it ("frmRip->...").
ErrorReportText BuildErrorReport(std::string_view procedure, std::string_view description);
// Shows the report; true when the user chose to go on (only ever for a continuable site).
bool ReportUnexpectedError(Prompts& prompts, Clipboard& clipboard, ReportSite site,
                           std::string_view description);
void ReportUnexpectedError(Prompts& prompts, Clipboard& clipboard, std::string_view procedure,
                           std::string_view description);
