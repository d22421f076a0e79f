// https://learn.microsoft.com/windows/win32/api/shlwapi/nf-shlwapi-strformatbytesizew
#include "platform/Win32SizeFormatter.h"

#include <windows.h>
#include <shlwapi.h>

#include "platform/WideText.h"

// StrFormatByteSizeW takes the whole 64-bit size.
std::string Win32SizeFormatter::FormatByteSize(std::uint64_t bytes) {
    wchar_t buffer[64] = {};
    if (StrFormatByteSizeW(static_cast<LONGLONG>(bytes), buffer, 63) == nullptr) return std::to_string(bytes) + " bytes";
    return Narrow(buffer, 64);
}
