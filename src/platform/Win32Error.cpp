// Win32 error descriptions (FormatMessageW), without the line end Windows puts after them.
#include "platform/Win32Error.h"

#include "platform/Failure.h"
#include "platform/WideText.h"

std::string Win32ErrorText(DWORD error) {
    wchar_t* buffer = nullptr;  // allocated by FormatMessageW, freed with LocalFree
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = n != 0 && buffer != nullptr ? Narrow(std::wstring_view(buffer, n))
                                                   : "Error " + std::to_string(error) + ".";
    if (buffer != nullptr) LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

void ThrowLastError() { throw Failure(Win32ErrorText(GetLastError())); }
