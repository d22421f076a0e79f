// The cache index: its encodings, line readings and atomic rewrites.
#include "cache/CacheIndex.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace {

const std::string_view CrLf = "\r\n";
const std::string_view Header = "[Cache]";

enum class Encoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct IndexBytes {
    Encoding encoding;
    std::string_view mark;  // the byte-order mark, empty when there is none
    std::string_view text;  // the bytes after it
};

IndexBytes Recognise(std::string_view bytes) {
    const auto starts = [&](std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; };
    IndexBytes index{Encoding::Ansi, {}, bytes};
    using namespace std::string_view_literals;
    if (starts("\xFF\xFE\0\0"sv) || starts("\0\0\xFE\xFF"sv)) throw UnreadableIndex();  // UTF-32
    if (starts("\xEF\xBB\xBF"sv)) index = {Encoding::Utf8, bytes.substr(0, 3), bytes.substr(3)};
    else if (starts("\xFF\xFE"sv)) index = {Encoding::Utf16LE, bytes.substr(0, 2), bytes.substr(2)};
    else if (starts("\xFE\xFF"sv)) index = {Encoding::Utf16BE, bytes.substr(0, 2), bytes.substr(2)};
    // Without a mark: an index always begins with "[Cache]", whose UTF-16 shows as "[", NUL.
    else if (starts("[\0"sv)) index.encoding = Encoding::Utf16LE;
    else if (starts("\0["sv)) index.encoding = Encoding::Utf16BE;
    const bool utf16 = index.encoding == Encoding::Utf16LE || index.encoding == Encoding::Utf16BE;
    if (utf16 && index.text.size() % 2 != 0) throw UnreadableIndex();
    return index;
}

// UTF-8 to UTF-16; anything that is not well-formed UTF-8 makes the index unreadable.
std::u16string FromUtf8(std::string_view s) {
    std::u16string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || s.size() - i <= static_cast<std::size_t>(extra)) throw UnreadableIndex();
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((t & 0xC0) != 0x80) throw UnreadableIndex();
            c = (c << 6) | (t & 0x3F);
        }
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (c < least[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) throw UnreadableIndex();
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

char16_t UnitAt(const IndexBytes& index, std::size_t unit) {
    const auto lo = static_cast<unsigned char>(index.text[2 * unit]), hi = static_cast<unsigned char>(index.text[2 * unit + 1]);
    return index.encoding == Encoding::Utf16LE ? static_cast<char16_t>(lo | hi << 8) : static_cast<char16_t>(hi | lo << 8);
}

// Splits `count` code units (read by `at`) into lines; CR LF, LF and a lone CR each end a line,
// and a last line needs no end. Calls `each(start, end)` with each line's units.
template <typename At, typename Each>
void SplitLines(std::size_t count, At at, Each each) {
    std::size_t start = 0;
    while (start < count) {
        std::size_t end = start;
        while (end < count && at(end) != '\r' && at(end) != '\n') ++end;
        each(start, end);
        start = end + (end + 1 < count && at(end) == '\r' && at(end + 1) == '\n' ? 2 : 1);
    }
}

// Calls `each(raw, text)` for every line of the index: its bytes as they stand in the file (line
// end excluded) and the same line as code-page text.
template <typename Each>
void ForEachLine(std::string_view bytes, CodePage& codePage, Each each) {
    const IndexBytes index = Recognise(bytes);
    const std::string_view text = index.text;
    if (index.encoding == Encoding::Ansi) {
        // The common case, kept free of copies: the line ends are found with two cached searches,
        // so that an index of many short lines or of lone CRs is still read in one pass.
        const std::size_t n = text.size();
        std::size_t start = 0, nl = std::min(text.find('\n'), n), cr = std::min(text.find('\r'), n);
        while (start < n) {
            if (nl < start) nl = std::min(text.find('\n', start), n);
            if (cr < start) cr = std::min(text.find('\r', start), n);
            const std::size_t end = std::min(nl, cr);
            const std::string_view line = text.substr(start, end - start);
            each(line, line);
            start = end + (end == cr && cr + 1 == nl ? 2 : 1);
        }
    } else if (index.encoding == Encoding::Utf8) {
        SplitLines(text.size(), [&](std::size_t i) { return static_cast<char16_t>(text[i]); },
                   [&](std::size_t s, std::size_t e) {
                       const std::string_view raw = text.substr(s, e - s);
                       each(raw, std::string_view(codePage.FromUtf16(FromUtf8(raw))));
                   });
    } else {
        SplitLines(text.size() / 2, [&](std::size_t i) { return UnitAt(index, i); },
                   [&](std::size_t s, std::size_t e) {
                       std::u16string units;
                       for (std::size_t i = s; i < e; ++i) units += UnitAt(index, i);
                       each(text.substr(2 * s, 2 * (e - s)), std::string_view(codePage.FromUtf16(units)));
                   });
    }
}

// Code-page text in the index's encoding.
std::string Encode(std::string_view text, Encoding encoding, CodePage& codePage) {
    if (encoding == Encoding::Ansi) return std::string(text);
    std::string out;
    for (const char16_t unit : codePage.ToUtf16(text)) {
        const auto hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
        if (encoding == Encoding::Utf16LE) out += {lo, hi};
        else if (encoding == Encoding::Utf16BE) out += {hi, lo};
        else if (unit < 0x80) out += static_cast<char>(unit);
        else if (unit < 0x800) out += {static_cast<char>(0xC0 | unit >> 6), static_cast<char>(0x80 | (unit & 0x3F))};
        else  // a code page character is never a surrogate half: three bytes at most
            out += {static_cast<char>(0xE0 | unit >> 12), static_cast<char>(0x80 | ((unit >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (unit & 0x3F))};
    }
    return out;
}

std::string_view TrimSpaces(std::string_view s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

// The temporary index: "cache-new.ini", or a fresh name when a leftover of that name cannot be
// cleared (read-only, or a folder). Its ".ini" ending keeps it from ever being taken for a cached file.
std::string TemporaryIndexPath(std::string_view gameFolder, int attempt) {
    return std::string(gameFolder) + "\\Cache\\cache-new" + (attempt == 0 ? "" : std::to_string(attempt + 1)) + ".ini";
}
constexpr int TemporaryNames = 3;

void RemoveQuietly(FileSystem& fs, const std::string& path) {
    try {
        fs.Remove(path);
    } catch (const Failure&) {
        // Not there, or not ours to remove: the caller goes on without it.
    }
}

void WriteAtomically(FileSystem& fs, std::string_view gameFolder, const std::string& text) {
    std::string temporary, firstFailure;
    for (int attempt = 0; attempt < TemporaryNames && temporary.empty(); ++attempt) {
        const std::string candidate = TemporaryIndexPath(gameFolder, attempt);
        RemoveQuietly(fs, candidate);  // a leftover of a run that was cut short
        try {
            fs.WriteNew(candidate, text);
            temporary = candidate;
        } catch (const Failure& f) {
            RemoveQuietly(fs, candidate);  // what a failed write left of it
            if (firstFailure.empty()) firstFailure = std::string(f.what()) + " (" + candidate + ")";
        }
    }
    if (temporary.empty()) throw Failure(firstFailure);
    try {
        fs.Replace(temporary, IndexPath(gameFolder));
    } catch (const Failure&) {
        RemoveQuietly(fs, temporary);
        throw;
    }
}

}  // namespace

std::string IndexPath(std::string_view gameFolder) {
    return std::string(gameFolder) + "\\Cache\\cache.ini";
}

std::string UnreadableIndexMessage(std::string_view gameFolder) {
    return "\"" + IndexPath(gameFolder) + "\" is saved in a text encoding that Morvane cannot read, so Morvane "
           "leaves it as it is and removes no line from it.";
}

std::string CachedFilePath(std::string_view gameFolder, std::string_view key) {
    std::string path(gameFolder);
    path += "\\Cache\\";
    path += key;
    path += "-1.uxx";
    return path;
}

std::vector<CacheEntry> ParseIndexFixed(std::string_view bytes, CodePage& codePage) {
    std::vector<CacheEntry> entries;
    // Every entry takes a line of at least 35 bytes: an index of blank lines reserves nothing.
    entries.reserve(bytes.size() / (ShortestEntryLine + 1) + 1);
    ForEachLine(bytes, codePage, [&](std::string_view, std::string_view line) {
        line = TrimSpaces(line);
        if (line.size() < ShortestEntryLine) return;
        entries.push_back({std::string(line.substr(0, KeyLength)), std::string(line.substr(KeyLength + 1))});
    });
    return entries;
}

std::vector<CacheEntry> ParseIndexSplit(std::string_view bytes, CodePage& codePage) {
    std::vector<CacheEntry> entries;
    ForEachLine(bytes, codePage, [&](std::string_view, std::string_view line) {
        line = TrimSpaces(line);
        if (line == Header) return;
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) return;
        entries.push_back({std::string(line.substr(0, eq)), std::string(line.substr(eq + 1))});
    });
    return entries;
}

std::string FilterIndexText(std::string_view bytes, const std::unordered_set<std::string>& keys,
                            CodePage& codePage) {
    const IndexBytes index = Recognise(bytes);
    const std::string lineEnd = Encode(CrLf, index.encoding, codePage);
    // Looked up by view, so that no line costs an allocation.
    std::unordered_set<std::string_view> drop(keys.begin(), keys.end());
    std::string out(index.mark);
    out += Encode(Header, index.encoding, codePage);
    out.reserve(bytes.size() + out.size() + lineEnd.size());
    ForEachLine(bytes, codePage, [&](std::string_view raw, std::string_view line) {
        if (line.size() < ShortestEntryLine) return;
        if (!drop.empty() && drop.count(line.substr(0, KeyLength)) != 0) return;
        out += lineEnd;
        out += raw;
    });
    out += lineEnd;
    return out;
}

std::string BuildIndexText(const std::vector<CacheEntry>& entries) {
    std::string out(Header);
    out += CrLf;
    for (const CacheEntry& e : entries) {
        out += e.Key;
        out += '=';
        out += e.RealName;
        out += CrLf;
    }
    return out;
}

std::vector<CacheEntry> ReadIndexFixed(FileSystem& fs, CodePage& codePage, std::string_view indexFile) {
    return ParseIndexFixed(fs.ReadAll(indexFile), codePage);
}

std::vector<CacheEntry> ReadIndexSplit(FileSystem& fs, CodePage& codePage, std::string_view indexFile) {
    return ParseIndexSplit(fs.ReadAll(indexFile), codePage);
}

void RewriteIndexFiltered(FileSystem& fs, CodePage& codePage, std::string_view gameFolder,
                          const std::unordered_set<std::string>& keys) {
    const std::string old = fs.ReadAll(IndexPath(gameFolder));
    WriteAtomically(fs, gameFolder, FilterIndexText(old, keys, codePage));
}

void RewriteIndexRebuilt(FileSystem& fs, CodePage& codePage, std::string_view gameFolder,
                         const std::vector<CacheEntry>& entries) {
    // Written in the encoding the index has, with its mark; an index that is not there yet is
    // code-page text. One whose encoding cannot be read is not replaced.
    std::string old;
    IndexBytes form{Encoding::Ansi, {}, {}};
    if (fs.Exists(IndexPath(gameFolder))) {
        old = fs.ReadAll(IndexPath(gameFolder));
        form = Recognise(old);
    }
    WriteAtomically(fs, gameFolder, std::string(form.mark) + Encode(BuildIndexText(entries), form.encoding, codePage));
}
