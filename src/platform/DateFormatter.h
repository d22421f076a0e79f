// Port: file times as the user's system writes dates and times.
#pragma once
#include <cstdint>
#include <string>

class DateFormatter {
public:
    DateFormatter() = default;
    DateFormatter(const DateFormatter&) = delete;
    DateFormatter& operator=(const DateFormatter&) = delete;
    virtual ~DateFormatter() = default;
    // A FILETIME (100-nanosecond ticks since 1601, UTC) as local date and time in the system's
    // default short format, such as "3/5/2024 2:07:09 PM".
    virtual std::string FormatFileTime(std::uint64_t ticks) = 0;
    // The same, the date only, such as "3/5/2024".
    virtual std::string FormatFileDate(std::uint64_t ticks) = 0;
};
