// Names compared as Windows compares them wherever a listing alone can tell: ASCII letters without
// their case, every other byte exactly (beyond ASCII the volume's own case table decides).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

inline char FoldedAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldedAscii(a[i]) != FoldedAscii(b[i])) return false;
    return true;
}

// Equal for names that SameIgnoringAsciiCase finds the same.
inline std::size_t HashIgnoringAsciiCase(std::string_view name) {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (const char c : name) h = (h ^ static_cast<unsigned char>(FoldedAscii(c))) * 1099511628211ull;
    return static_cast<std::size_t>(h ^ (h >> 32));
}
