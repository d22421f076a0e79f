// UTF-8 inside, UTF-16 at the Windows boundary.
#include "platform/WideText.h"

#include "platform/Utf.h"

std::wstring Wide(std::string_view text) {
    std::u16string units;
    if (!Utf16FromUtf8(text, units)) {
        units.clear();
        std::u16string one;
        for (std::size_t i = 0; i < text.size(); ++i) {
            // Re-decode character by character, so that only the faulty bytes are replaced.
            std::size_t n = 1;
            while (n <= 4 && i + n <= text.size() && !Utf16FromUtf8(text.substr(i, n), one)) ++n;
            if (n <= 4 && i + n <= text.size()) {
                units += one;
                i += n - 1;
            } else {
                units += u'\xFFFD';
            }
        }
    }
    return std::wstring(units.begin(), units.end());
}

std::string Narrow(std::wstring_view text) {
    return Utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

std::string Narrow(const wchar_t* text, std::size_t capacity) {
    std::size_t n = 0;
    while (n < capacity && text[n] != L'\0') ++n;
    return Narrow(std::wstring_view(text, n));
}
