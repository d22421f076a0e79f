// Texts and display of the unexpected-error report.
#include "cache/ErrorReport.h"

#include "platform/Prompts.h"

namespace {

constexpr const char* Contact = "morvane-bugs@users.example";

struct Site {
    const char* title;
    const char* nameInText;
    const char* question;  // null for the simple variant
    const char* clipboardPrefix;
};

Site Describe(ReportSite site) {
    switch (site) {
        case ReportSite::Uncache:
            return {"frmRip->Uncache", "frmRip->Uncache",
                    "Press [Yes] if you want Morvane to continue Uncaching your files, ignoring the error "
                    "(NOT recommended).",
                    ""};
        case ReportSite::FixRefreshLists:
            return {"frmFix->RefreshLists", "frmCache->RefreshLists",
                    "Press [Yes] if you want Morvane to continue loading your cache (NOT recommended)",
                    "Error in frmFix->RefreshLists: "};
        case ReportSite::FormLoad: return {"frmRip->Form_Load", "frmRip->Form_Load", nullptr, ""};
        case ReportSite::SelAll: return {"frmRip->cmdSelAll_Click", "frmRip->cmdSelAll_Click", nullptr, ""};
        case ReportSite::Delete: return {"frmRip->cmdDelete_Click", "frmRip->cmdDelete_Click", nullptr, ""};
        case ReportSite::Find: return {"frmRip->cmdFind_Click", "frmRip->cmdFind_Click", nullptr, ""};
    }
    return {"Morvane", "Morvane", nullptr, ""};
}

ErrorReportText Build(const Site& s, std::string_view description) {
    ErrorReportText r;
    r.title = s.title;
    r.message = std::string("An unexpected error occurred in '") + s.nameInText + "'!\r\n";
    r.message += description;
    r.message += "\r\nPlease report this error to:   ";
    r.message += Contact;
    r.message += "   including the whole error message above. Thank you.\r\n";
    r.message += "(The error message has been copied to your clipboard)";
    r.continuable = s.question != nullptr;
    if (r.continuable) {
        r.message += "\r\n\r\n";
        r.message += s.question;
    }
    r.clipboard = std::string(s.clipboardPrefix) + std::string(description);
    return r;
}

}  // namespace

ErrorReportText BuildErrorReport(ReportSite site, std::string_view description) {
    return Build(Describe(site), description);
}

ErrorReportText BuildErrorReport(std::string_view procedure, std::string_view description) {
    const std::string name(procedure);
    return Build({name.c_str(), name.c_str(), nullptr, ""}, description);
}

namespace {

MsgAnswer Show(Prompts& prompts, Clipboard& clipboard, const ErrorReportText& r) {
    clipboard.SetText(r.clipboard);
    return prompts.Message(r.message, r.title, MsgIcon::Critical, r.continuable ? MsgButtons::YesNo : MsgButtons::Ok);
}

}  // namespace

bool ReportUnexpectedError(Prompts& prompts, Clipboard& clipboard, ReportSite site,
                           std::string_view description) {
    const ErrorReportText r = BuildErrorReport(site, description);
    const MsgAnswer answer = Show(prompts, clipboard, r);
    return r.continuable && answer == MsgAnswer::Yes;
}

void ReportUnexpectedError(Prompts& prompts, Clipboard& clipboard, std::string_view procedure,
                           std::string_view description) {
    Show(prompts, clipboard, BuildErrorReport(procedure, description));
}
