// The system's ANSI code page (CP_ACP).
#include "platform/Win32CodePage.h"

#include <windows.h>

#include "platform/Utf.h"

std::string Win32CodePage::ToUtf8(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::u16string units(static_cast<std::size_t>(n > 0 ? n : 0), u'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(units.data()), n);
    return Utf8FromUtf16(units);
}

bool Win32CodePage::FromUtf8(std::string_view text, std::string& bytes) {
    bytes.clear();
    std::u16string units;
    if (!Utf16FromUtf8(text, units)) return false;
    if (units.empty()) return true;
    // No best fit: a character without an exact equivalent must not turn into a look-alike.
    // https://learn.microsoft.com/windows/win32/api/stringapiset/nf-stringapiset-widechartomultibyte
    const auto* wide = reinterpret_cast<const wchar_t*>(units.data());
    const int count = static_cast<int>(units.size());
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, count, nullptr, 0, nullptr, &lossy);
    if (n <= 0 || lossy) return false;
    bytes.resize(static_cast<std::size_t>(n));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, count, bytes.data(), n, nullptr, &lossy);
    // What reads back otherwise (a character the code page maps one way only) is not exact either.
    return !lossy && ToUtf8(bytes) == text;
}
