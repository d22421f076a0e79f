// The clipboard port: CF_UNICODETEXT through OpenClipboard / SetClipboardData.
#pragma once
#include "platform/Prompts.h"

class Win32Clipboard final : public Clipboard {
public:
    void SetText(std::string_view text) override;
};
