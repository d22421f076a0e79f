// Message boxes (MessageBoxW) and the input box, owned by the window the program names as owner.
#pragma once
#include <windows.h>

#include "platform/Prompts.h"

class Win32Prompts final : public Prompts {
public:
    // The owner of every box; may change (null until the main window exists).
    void SetOwner(HWND owner) { owner_ = owner; }
    MsgAnswer Message(std::string_view text, std::string_view title, MsgIcon icon, MsgButtons buttons) override;
    std::string InputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) override;
    std::string SaveFileName(std::string_view title, std::string_view defaultName, std::string_view kind,
                             std::string_view extension) override;
    std::string PickFolder(std::string_view title) override;

private:
    HWND owner_ = nullptr;
};
