// File times in the user's default date and time format (GetDateFormatA, GetTimeFormatA).
#pragma once
#include "platform/DateFormatter.h"

class Win32DateFormatter final : public DateFormatter {
public:
    std::string FormatFileTime(std::uint64_t ticks) override;
};
