// UTF-8 and UTF-16 conversions.
#include "platform/Utf.h"

std::string Utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendUtf8FromUtf16(text, out);
    return out;
}

void AppendUtf8FromUtf16(std::u16string_view text, std::string& out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A run of ASCII, most of a listing's names, goes in at once.
        std::size_t ascii = i;
        while (ascii < text.size() && text[ascii] < 0x80) ++ascii;
        if (ascii > i) {
            const std::size_t at = out.size();
            out.resize(at + (ascii - i));
            for (std::size_t k = i; k < ascii; ++k) out[at + (k - i)] = static_cast<char>(text[k]);
            i = ascii - 1;
            continue;
        }
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x800) {
            out += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        } else if (c < 0x10000) {
            out += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (c & 0x3F))};
        } else {
            out += {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                    static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        }
    }
}

namespace {

// Decodes `text`, calling `unit` with each UTF-16 unit; false at the first fault.
template <typename Unit>
bool Decode(std::string_view text, bool strict, Unit unit) {
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            unit(static_cast<char16_t>(b));
            ++i;
            continue;
        }
        const int extra = (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra)) return false;
        char32_t c = b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((t & 0xC0) != 0x80) return false;
            c = (c << 6) | (t & 0x3F);
        }
        constexpr char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (c < least[extra] || c > 0x10FFFF) return false;
        const bool half = c >= 0xD800 && c <= 0xDFFF;
        if (half && strict) return false;
        if (c >= 0x10000) {
            unit(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            unit(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            unit(static_cast<char16_t>(c));
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

}  // namespace

bool Utf16FromUtf8(std::string_view text, std::u16string& out, bool strict) {
    out.clear();
    out.reserve(text.size());
    return Decode(text, strict, [&](char16_t u) { out += u; });
}

bool IsUtf8(std::string_view text, bool strict) {
    return Decode(text, strict, [](char16_t) {});
}
