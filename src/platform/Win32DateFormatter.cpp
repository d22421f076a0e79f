// https://learn.microsoft.com/windows/win32/api/datetimeapi/nf-datetimeapi-getdateformata
#include "platform/Win32DateFormatter.h"

#include <windows.h>

std::string Win32DateFormatter::FormatFileTime(std::uint64_t ticks) {
    const FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME universal, local;
    // The local time of that day, with the daylight saving rule that held then.
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return "???";
    char date[80] = "", time[80] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &local, nullptr, time, sizeof time);
    return std::string(date) + " " + time;
}
