// The cache index: its encodings, line readings and atomic rewrites.
#include "cache/CacheIndex.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "cache/NameSet.h"
#include "platform/CodePage.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Utf.h"

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

char16_t UnitAt(const IndexBytes& index, std::size_t unit) {
    const auto lo = static_cast<unsigned char>(index.text[2 * unit]), hi = static_cast<unsigned char>(index.text[2 * unit + 1]);
    return index.encoding == Encoding::Utf16LE ? static_cast<char16_t>(lo | hi << 8) : static_cast<char16_t>(hi | lo << 8);
}

// Splits `count` code units (read by `at`) into lines; CR LF, LF and a lone CR each end a line,
// and a last line needs no end. Calls `each(start, end, next)` with each line's units and where
// the next line starts.
template <typename At, typename Each>
void SplitLines(std::size_t count, At at, Each each) {
    std::size_t start = 0;
    while (start < count) {
        std::size_t end = start;
        while (end < count && at(end) != '\r' && at(end) != '\n') ++end;
        const std::size_t next = end + (end + 1 < count && at(end) == '\r' && at(end + 1) == '\n' ? 2 : 1);
        each(start, end, std::min(next, count));
        start = next;
    }
}

bool IsAscii(std::string_view s) {
    unsigned char any = 0;  // no early exit: the loop stays one the compiler can vectorise
    for (const char c : s) any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

// Where the line of bytes that starts at `start` ends: at the first CR or LF from there, or at the
// end of the text; and whether every byte before that is ASCII. One pass, eight bytes at a time:
// the line end and the check for conversion cost less than a search of the C library each.
std::size_t LineEnd(std::string_view text, std::size_t start, bool& ascii) {
    constexpr std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    const auto hasZeroByte = [&](std::uint64_t w) { return ((w - ones) & ~w & highs) != 0; };
    std::uint64_t seen = 0;  // every byte passed, OR-ed together
    std::size_t i = start;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, text.data() + i, 8);
        if (hasZeroByte(w ^ (ones * '\r')) || hasZeroByte(w ^ (ones * '\n'))) break;
        seen |= w;
    }
    for (; i < text.size() && text[i] != '\r' && text[i] != '\n'; ++i) seen |= static_cast<unsigned char>(text[i]);
    ascii = (seen & highs) == 0;
    return i;
}

// A line of the index: its bytes as they stand in the file (line end excluded), the same bytes
// with the line end, and its UTF-8 text, which is `raw` itself unless the line had to be
// converted; converted text is valid until the next line. `ascii`: every byte of the line is
// ASCII, one character each.
struct Line {
    std::string_view raw, whole, text;
    bool converted, ascii;
};

// Calls `each(line)` for every line of the index.
template <typename Each>
void ForEachLine(const IndexBytes& index, CodePage& codePage, Each each) {
    const std::string_view text = index.text;
    std::string converted;
    if (index.encoding == Encoding::Utf16LE || index.encoding == Encoding::Utf16BE) {
        std::u16string units;
        SplitLines(text.size() / 2, [&](std::size_t i) { return UnitAt(index, i); },
                   [&](std::size_t s, std::size_t e, std::size_t next) {
                       units.clear();
                       for (std::size_t i = s; i < e; ++i) units += UnitAt(index, i);
                       converted.clear();
                       AppendUtf8FromUtf16(units, converted);
                       each(Line{text.substr(2 * s, 2 * (e - s)), text.substr(2 * s, 2 * (next - s)), converted, true,
                                 false});
                   });
        return;
    }
    // Code-page text and UTF-8, split on bytes: no character of either holds a CR or LF byte but
    // those. A line of ASCII is its own text in both, and the common case is kept free of copies.
    for (std::size_t start = 0; start < text.size();) {
        bool ascii = false;
        const std::size_t end = LineEnd(text, start, ascii);
        const bool crLf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
        const std::size_t next = std::min(end + (crLf ? 2 : 1), text.size());
        const std::string_view line = text.substr(start, end - start), whole = text.substr(start, next - start);
        if (ascii) {
            each(Line{line, whole, line, false, true});
        } else if (index.encoding == Encoding::Utf8) {
            if (!IsUtf8(line, true)) throw UnreadableIndex();
            each(Line{line, whole, line, false, false});
        } else {
            converted = codePage.ToUtf8(line);
            each(Line{line, whole, converted, true, false});
        }
        start = next;
    }
}

// UTF-8 text in the index's encoding; false when the encoding cannot hold it exactly.
bool Encode(std::string_view text, Encoding encoding, CodePage& codePage, std::string& out) {
    out.clear();
    if (encoding == Encoding::Ansi) return IsAscii(text) ? (out.assign(text), true) : codePage.FromUtf8(text, out);
    if (encoding == Encoding::Utf8) return IsUtf8(text, true) ? (out.assign(text), true) : false;
    std::u16string units;
    if (!Utf16FromUtf8(text, units)) return false;
    for (const char16_t unit : units) {
        const auto hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
        if (encoding == Encoding::Utf16LE) out += {lo, hi};
        else out += {hi, lo};
    }
    return true;
}

// For texts of the program's own (line ends, the header), which every encoding holds.
std::string Encoded(std::string_view text, Encoding encoding, CodePage& codePage) {
    std::string out;
    Encode(text, encoding, codePage, out);
    return out;
}

// The byte length of the first `chars` characters of UTF-8 text; npos when it has fewer.
std::size_t PrefixBytes(std::string_view text, std::size_t chars) {
    std::size_t i = 0;
    for (std::size_t n = 0; n < chars; ++n) {
        if (i >= text.size()) return std::string_view::npos;
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
    return i;
}

// The fixed-width reading of a trimmed line: a key of 32 characters, one character not examined,
// and a name of at least two. False for a shorter line. `ascii`: the line is known to be ASCII.
bool SplitFixed(std::string_view line, bool ascii, std::string_view& key, std::string_view& name) {
    if (line.size() < ShortestEntryLine) return false;  // fewer bytes, fewer characters
    if (ascii || IsAscii(line.substr(0, ShortestEntryLine))) {  // the common line: one byte a character
        key = line.substr(0, KeyLength);
        name = line.substr(KeyLength + 1);
        return true;
    }
    const std::size_t keyEnd = PrefixBytes(line, KeyLength);
    const std::size_t nameStart = keyEnd == std::string_view::npos ? keyEnd : keyEnd + PrefixBytes(line.substr(keyEnd), 1);
    if (nameStart == std::string_view::npos || PrefixBytes(line.substr(nameStart), 2) == std::string_view::npos)
        return false;
    key = line.substr(0, keyEnd);
    name = line.substr(nameStart);
    return true;
}

std::string_view TrimSpaces(std::string_view s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

// The split reading of a line: trimmed, the header skipped, the key up to the first "=".
bool SplitAtEquals(std::string_view line, IndexEntry& entry) {
    line = TrimSpaces(line);
    if (line == Header) return false;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    entry = {line.substr(0, eq), line.substr(eq + 1)};
    return true;
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

namespace {

constexpr std::size_t LargestText = UINT32_MAX;

[[noreturn]] void RefuseTooLarge() { throw Failure("cache.ini is too large to be read: 4 GB or more."); }

}  // namespace

IndexEntries::IndexEntries(std::string bytes) : bytes_(std::move(bytes)) {
    if (bytes_.size() > LargestText) RefuseTooLarge();
}

void IndexEntries::Add(std::string_view key, std::string_view name, bool converted) {
    const auto span = [](std::size_t at, std::size_t size) {
        return Span{static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(size)};
    };
    if (!converted) {  // within the bytes, whose size is checked
        const auto at = [&](std::string_view part) { return static_cast<std::size_t>(part.data() - bytes_.data()); };
        spans_.push_back({span(at(key), key.size()), span(at(name), name.size())});
        return;
    }
    const std::size_t keyAt = bytes_.size() + converted_.size(), nameAt = keyAt + key.size();
    if (nameAt + name.size() > LargestText) RefuseTooLarge();
    converted_.append(key).append(name);
    spans_.push_back({span(keyAt, key.size()), span(nameAt, name.size())});
}

IndexEntries ParseIndexFixed(std::string bytes, CodePage& codePage) {
    IndexEntries entries(std::move(bytes));
    // Every entry takes a line of at least 35 bytes: an index of blank lines reserves nothing.
    entries.spans_.reserve(entries.bytes_.size() / (ShortestEntryLine + 1) + 1);
    std::string_view key, name;
    ForEachLine(Recognise(entries.bytes_), codePage, [&](const Line& line) {
        if (SplitFixed(TrimSpaces(line.text), line.ascii, key, name)) entries.Add(key, name, line.converted);
    });
    return entries;
}

IndexEntries ParseIndexSplit(std::string bytes, CodePage& codePage) {
    IndexEntries entries(std::move(bytes));
    IndexEntry entry;
    ForEachLine(Recognise(entries.bytes_), codePage, [&](const Line& line) {
        if (SplitAtEquals(line.text, entry)) entries.Add(entry.Key, entry.RealName, line.converted);
    });
    return entries;
}

std::string FilterIndexText(std::string bytes, const std::unordered_set<std::string>& keys, CodePage& codePage) {
    const IndexBytes index = Recognise(bytes);
    const std::string lineEnd = Encoded(CrLf, index.encoding, codePage);
    const std::string head = std::string(index.mark) + Encoded(Header, index.encoding, codePage) + lineEnd;
    // Looked up by view, so that no line costs an allocation.
    NameSet drop(keys.size());
    for (const std::string& key : keys) drop.Insert(key);
    // The text goes over the bytes themselves where they begin as it does (as the game writes the
    // index): each kept line then moves only toward the start, over lines read already, and the
    // rewrite needs no second buffer of the index's size. A line given a longer end than it had may
    // reach a line not read yet; from there on the text goes to a buffer of its own.
    bool inPlace = bytes.compare(0, head.size(), head) == 0;
    std::size_t written = inPlace ? head.size() : 0;  // the text's length in the bytes, in place
    std::string own;  // the text where it is not in place
    if (!inPlace) {
        own.reserve(bytes.size() + head.size());
        own = head;
    }
    // Appends a piece of the text; `unread`: where the bytes not read yet begin.
    const auto put = [&](std::string_view piece, std::size_t unread) {
        if (piece.empty()) return;
        if (inPlace && written + piece.size() > unread) {
            own.reserve(bytes.size() + lineEnd.size());
            own.assign(bytes, 0, written);
            inPlace = false;
        }
        if (!inPlace) {
            own += piece;
            return;
        }
        std::memmove(bytes.data() + written, piece.data(), piece.size());
        written += piece.size();
    };
    // Kept lines that end as the rewrite ends every line go as they stand, each stretch of them
    // between two lines that go in one piece.
    std::string_view stretch;
    std::string_view key, name;
    ForEachLine(index, codePage, [&](const Line& line) {
        if (!SplitFixed(line.text, line.ascii, key, name)) return;
        if (!keys.empty() && drop.Contains(key)) return;
        const bool endsAsKept = line.whole.substr(line.raw.size()) == lineEnd;
        if (endsAsKept && stretch.data() + stretch.size() == line.whole.data()) {
            stretch = std::string_view(stretch.data(), stretch.size() + line.whole.size());
            return;
        }
        const std::size_t unread = static_cast<std::size_t>(line.whole.data() - bytes.data()) + line.whole.size();
        put(stretch, unread);
        stretch = endsAsKept ? line.whole : std::string_view();
        if (!endsAsKept) {
            put(line.raw, unread);
            put(lineEnd, unread);
        }
    });
    put(stretch, bytes.size());
    if (!inPlace) return own;
    bytes.resize(written);
    return bytes;
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

std::string EditIndexText(std::string_view bytes, const IndexEdit& edit, CodePage& codePage, std::size_t& dropped) {
    dropped = 0;
    const IndexBytes index = Recognise(bytes);
    std::string out(index.mark);
    out.reserve(bytes.size() + 64);
    IndexEntry entry;
    std::string_view lastEnd;  // the last kept line's end, empty when it has none
    ForEachLine(index, codePage, [&](const Line& line) {
        if (edit.drop && SplitAtEquals(line.text, entry) && edit.drop(entry)) {
            ++dropped;
            return;
        }
        out += line.whole;
        lastEnd = line.whole.substr(line.raw.size());
    });
    if (edit.append != nullptr) {
        std::string text;
        if (bytes.empty()) text.assign(Header).append(CrLf);  // a new index
        else if (out.size() > index.mark.size() && lastEnd.empty()) text.assign(CrLf);  // the last line ends first
        text += edit.append->Key;
        text += '=';
        text += edit.append->RealName;
        text += CrLf;
        std::string encoded;
        if (!Encode(text, index.encoding, codePage, encoded))
            throw Failure("\"" + edit.append->RealName + "\" cannot be written to cache.ini: its text encoding has no "
                          "place for some of its characters.");
        out += encoded;
    }
    return out;
}

IndexEntries ReadIndexFixed(FileSystem& fs, CodePage& codePage, std::string_view indexFile) {
    return ParseIndexFixed(fs.ReadAll(indexFile), codePage);
}

IndexEntries ReadIndexSplit(FileSystem& fs, CodePage& codePage, std::string_view indexFile) {
    return ParseIndexSplit(fs.ReadAll(indexFile), codePage);
}

void RewriteIndexFiltered(FileSystem& fs, CodePage& codePage, std::string_view gameFolder,
                          const std::unordered_set<std::string>& keys) {
    WriteAtomically(fs, gameFolder, FilterIndexText(fs.ReadAll(IndexPath(gameFolder)), keys, codePage));
}

std::size_t RewriteIndexEdited(FileSystem& fs, CodePage& codePage, std::string_view gameFolder, const IndexEdit& edit) {
    const std::string old = fs.Exists(IndexPath(gameFolder)) ? fs.ReadAll(IndexPath(gameFolder)) : std::string();
    if (old.empty() && edit.append == nullptr) return 0;
    std::size_t dropped = 0;
    const std::string text = EditIndexText(old, edit, codePage, dropped);
    if (dropped != 0 || edit.append != nullptr) WriteAtomically(fs, gameFolder, text);
    return dropped;
}
