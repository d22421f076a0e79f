// The code page port over the system's ANSI code page.
#pragma once
#include "platform/CodePage.h"

class Win32CodePage final : public CodePage {
public:
    bool IsLeadByte(unsigned char byte) override;
    std::string FromUtf16(std::u16string_view text) override;
    std::u16string ToUtf16(std::string_view text) override;
};
