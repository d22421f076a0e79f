// https://learn.microsoft.com/windows/win32/api/datetimeapi/nf-datetimeapi-getdateformatw
#include "platform/Win32DateFormatter.h"

#include <windows.h>

#include "platform/WideText.h"

namespace {

// The local time of that day, with the daylight saving rule that held then; false for a time
// Windows cannot convert.
bool LocalTimeOf(std::uint64_t ticks, SYSTEMTIME& local) {
    const FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME universal;
    return FileTimeToSystemTime(&utc, &universal) && SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
}

}  // namespace

std::string Win32DateFormatter::FormatFileDate(std::uint64_t ticks) {
    SYSTEMTIME local;
    if (!LocalTimeOf(ticks, local)) return "???";
    wchar_t date[80] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 80);
    return Narrow(date, 80);
}

std::string Win32DateFormatter::FormatFileTime(std::uint64_t ticks) {
    const FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME universal, local;
    // The local time of that day, with the daylight saving rule that held then.
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return "???";
    // The user's format may hold characters of any script (a month name, an era).
    wchar_t date[80] = L"", time[80] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 80);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &local, nullptr, time, 80);
    return Narrow(date, 80) + " " + Narrow(time, 80);
}
