// The system's ANSI code page (CP_ACP), as the ANSI file functions use it.
#include "platform/Win32CodePage.h"

#include <windows.h>

bool Win32CodePage::IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

std::string Win32CodePage::FromUtf16(std::u16string_view text) {
    if (text.empty()) return {};
    // No best fit: a character without an exact equivalent must not turn into a lookalike, which
    // would name another file. https://learn.microsoft.com/windows/win32/api/stringapiset/nf-stringapiset-widechartomultibyte
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int units = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, units, nullptr, 0, "?", nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, units, out.data(), n, "?", nullptr);
    return out;
}

std::u16string Win32CodePage::ToUtf16(std::string_view text) {
    if (text.empty()) return {};
    const int bytes = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, nullptr, 0);
    std::u16string out(static_cast<std::size_t>(n > 0 ? n : 0), u'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}
