// The code page port over the system's ANSI code page.
#pragma once
#include "platform/CodePage.h"

class Win32CodePage final : public CodePage {
public:
    std::string ToUtf8(std::string_view bytes) override;
    bool FromUtf8(std::string_view text, std::string& bytes) override;
};
