// Byte sizes as Windows formats them (StrFormatByteSizeW).
#pragma once
#include "platform/Prompts.h"

class Win32SizeFormatter final : public SizeFormatter {
public:
    std::string FormatByteSize(std::uint64_t bytes) override;
};
