// Names compared as Windows compares them wherever a listing alone can tell: ASCII letters without
// their case, every other byte exactly (beyond ASCII the volume's own case table decides). A
// listing of a large cache compares and hashes every name, so both go eight bytes at a time.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// Eight bytes, each folded on its own: a byte from 'A' to 'Z' gains 0x20, every other stays.
inline std::uint64_t FoldedAscii8(std::uint64_t w) {
    constexpr std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    const std::uint64_t low = w & ~highs;  // each byte's low seven bits: no sum below carries
    const std::uint64_t atLeastA = low + ones * (0x80 - 'A'), pastZ = low + ones * (0x80 - 'Z' - 1);
    const std::uint64_t capital = atLeastA & ~pastZ & ~w & highs;
    return w | (capital >> 2);
}

// The bytes of `text` from `at`, up to eight, as one word (missing bytes 0).
inline std::uint64_t Word(std::string_view text, std::size_t at) {
    std::uint64_t w = 0;
    std::memcpy(&w, text.data() + at, text.size() - at < 8 ? text.size() - at : 8);
    return w;
}

inline bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); i += 8)
        if (FoldedAscii8(Word(a, i)) != FoldedAscii8(Word(b, i))) return false;
    return true;
}

// Equal for names that SameIgnoringAsciiCase finds the same.
inline std::size_t HashIgnoringAsciiCase(std::string_view name) {
    std::uint64_t h = name.size() * 0x9E3779B97F4A7C15u;
    for (std::size_t i = 0; i < name.size(); i += 8) {
        h = (h ^ FoldedAscii8(Word(name, i))) * 0xFF51AFD7ED558CCDu;
        h ^= h >> 32;
    }
    return static_cast<std::size_t>(h ^ (h >> 29));
}
