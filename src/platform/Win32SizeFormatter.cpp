// https://learn.microsoft.com/windows/win32/api/shlwapi/nf-shlwapi-strformatbytesize64a
#include "platform/Win32SizeFormatter.h"

#include <windows.h>
#include <shlwapi.h>

std::string Win32SizeFormatter::FormatByteSize(std::uint64_t bytes) {
    char buffer[64] = {};
    if (StrFormatByteSize64A(static_cast<LONGLONG>(bytes), buffer, 63) == nullptr) return std::to_string(bytes) + " bytes";
    return buffer;
}
