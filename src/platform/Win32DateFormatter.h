// File times in the user's default date and time format (GetDateFormatW, GetTimeFormatW).
#pragma once
#include "platform/DateFormatter.h"

class Win32DateFormatter final : public DateFormatter {
public:
    std::string FormatFileTime(std::uint64_t ticks) override;
    std::string FormatFileDate(std::uint64_t ticks) override;
};
