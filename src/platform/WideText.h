// The Windows side of the program's text: UTF-8 inside, UTF-16 for every ...W call.
#pragma once
#include <string>
#include <string_view>

// UTF-8 to UTF-16 for a window, a message or the registry. Bytes that are not UTF-8 (which the
// program never makes) each show as U+FFFD rather than vanish.
std::wstring Wide(std::string_view text);
std::string Narrow(std::wstring_view text);
// A NUL-ended UTF-16 text of at most `capacity` units, as a buffer that Windows filled.
std::string Narrow(const wchar_t* text, std::size_t capacity);
