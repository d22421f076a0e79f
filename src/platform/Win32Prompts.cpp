// Standard #32770 message boxes and our input box.
#include "platform/Win32Prompts.h"

#include <string>

#include "dialogs/InputBox.h"
#include "platform/WideText.h"

MsgAnswer Win32Prompts::Message(std::string_view text, std::string_view title, MsgIcon icon, MsgButtons buttons) {
    UINT style = buttons == MsgButtons::YesNo ? MB_YESNO | MB_DEFBUTTON1
                 : buttons == MsgButtons::YesNoDefaultNo ? MB_YESNO | MB_DEFBUTTON2 : MB_OK;
    switch (icon) {
        case MsgIcon::Exclamation: style |= MB_ICONEXCLAMATION; break;
        case MsgIcon::Critical: style |= MB_ICONERROR; break;
        case MsgIcon::Question: style |= MB_ICONQUESTION; break;
        case MsgIcon::Information: style |= MB_ICONINFORMATION; break;
        case MsgIcon::None: break;
    }
    const std::wstring t = Wide(text), caption = Wide(title.empty() ? std::string_view(ProgramTitle) : title);
    HWND owner = owner_ != nullptr && IsWindowVisible(owner_) ? owner_ : nullptr;
    switch (MessageBoxW(owner, t.c_str(), caption.c_str(), style | (owner ? 0 : MB_TASKMODAL))) {
        case IDYES: return MsgAnswer::Yes;
        case IDNO: return MsgAnswer::No;
        default: return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    }
}

std::string Win32Prompts::InputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) {
    return ShowInputBox(owner_, prompt, title, defaultText);
}
