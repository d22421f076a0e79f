// The cache index cache.ini: where it and the cached files lie, its two readings and its two rewrites.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/Failure.h"

class CodePage;
class FileSystem;

// An entry to write: a line of the program's own.
struct CacheEntry {
    std::string Key;
    std::string RealName;
    bool operator==(const CacheEntry& o) const { return Key == o.Key && RealName == o.RealName; }
};

// An entry as read: views of its text in the reading that holds it (IndexEntries), or in the line
// an edit is looking at.
struct IndexEntry {
    std::string_view Key;
    std::string_view RealName;
};

// The entries of one reading of the index, with the text they are read from in two buffers,
// whatever the index's size: the index's own bytes, where a line is UTF-8 as it stands (an index
// in UTF-8, or a code-page line of ASCII), and the UTF-8 text of the entries whose lines had to be
// converted. An entry's views are valid while the reading lives and is not moved.
class IndexEntries {
public:
    IndexEntries() = default;
    IndexEntries(IndexEntries&&) = default;
    IndexEntries& operator=(IndexEntries&&) = default;
    IndexEntries(const IndexEntries&) = delete;
    IndexEntries& operator=(const IndexEntries&) = delete;

    std::size_t size() const { return spans_.size(); }
    bool empty() const { return spans_.empty(); }
    // Entries with room reserved: a reading reserves room for as many as its bytes could hold.
    std::size_t capacity() const { return spans_.capacity(); }
    IndexEntry operator[](std::size_t i) const { return {Text(spans_[i].key), Text(spans_[i].name)}; }

    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = IndexEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = IndexEntry;
        Iterator(const IndexEntries& entries, std::size_t i) : entries_(&entries), i_(i) {}
        IndexEntry operator*() const { return (*entries_)[i_]; }
        Iterator& operator++() {
            ++i_;
            return *this;
        }
        bool operator==(const Iterator& o) const { return i_ == o.i_; }
        bool operator!=(const Iterator& o) const { return i_ != o.i_; }

    private:
        const IndexEntries* entries_;
        std::size_t i_;
    };
    Iterator begin() const { return {*this, 0}; }
    Iterator end() const { return {*this, size()}; }

private:
    friend IndexEntries ParseIndexFixed(std::string bytes, CodePage& codePage);
    friend IndexEntries ParseIndexSplit(std::string bytes, CodePage& codePage);
    explicit IndexEntries(std::string bytes);
    // An entry whose key and name are views of the bytes, or of a converted line's text, which is
    // then copied.
    void Add(std::string_view key, std::string_view name, bool converted);

    // Where a piece of text lies: `at` counts from the start of the bytes, then on into the
    // converted text. 32 bits keep an entry in 16 bytes: a reading of 4 GiB or more is refused.
    struct Span {
        std::uint32_t at, size;
    };
    struct Spans {
        Span key, name;
    };
    std::string_view Text(Span s) const {
        return s.at < bytes_.size() ? std::string_view(bytes_).substr(s.at, s.size)
                                    : std::string_view(converted_).substr(s.at - bytes_.size(), s.size);
    }

    std::string bytes_, converted_;
    std::vector<Spans> spans_;
};

constexpr std::size_t KeyLength = 32;
constexpr std::size_t ShortestEntryLine = 35;  // key, "=", at least two characters of name

// An index in a text encoding the program cannot read (UTF-32, broken UTF-16 or UTF-8). It is
// never rewritten: what was not understood cannot be written back faithfully.
class UnreadableIndex : public Failure {
public:
    UnreadableIndex() : Failure("The text encoding of cache.ini cannot be read.") {}
};

// What the user is told when the index is left alone because its encoding cannot be read.
std::string UnreadableIndexMessage(std::string_view gameFolder);

// G & "\Cache\cache.ini", and the cached file of a key, G & "\Cache\" & key & "-1.uxx".
std::string IndexPath(std::string_view gameFolder);
std::string CachedFilePath(std::string_view gameFolder, std::string_view key);

// Readings of the index's bytes, which they keep as the text of the entries they give. The index
// is text in the system code page, or UTF-16 or UTF-8 after a byte-order mark (UTF-16 also
// without one); entries come out as UTF-8 text, every name exactly as the index holds it. Lines
// end in CR LF, LF or CR alone; a last line needs no end. Unreadable encodings throw
// UnreadableIndex, a text of 4 GiB or more Failure. Widths count characters (code points).
IndexEntries ParseIndexFixed(std::string bytes, CodePage& codePage);
IndexEntries ParseIndexSplit(std::string bytes, CodePage& codePage);
// "[Cache]", then every line of 35 characters or more whose first 32 are not one of `keys`, its
// bytes as they were, each after CR LF; a final CR LF. All of it in the encoding the index came
// in, with its byte-order mark. The text is made in the bytes' own buffer where it can be.
std::string FilterIndexText(std::string bytes, const std::unordered_set<std::string>& keys, CodePage& codePage);
// "[Cache]" CR LF, then key "=" name CR LF for each entry, as UTF-8 text.
std::string BuildIndexText(const std::vector<CacheEntry>& entries);

// A change to the index as it stands: every line that reads as an entry for which `drop` is true
// goes (with its line end), and `append`, when given, becomes one new last line. Every other byte
// stays as it is, the mark and the line ends included.
struct IndexEdit {
    std::function<bool(const IndexEntry&)> drop;
    const CacheEntry* append = nullptr;
};
// The edited text and how many lines went. A line to append whose text the index's encoding
// cannot hold throws Failure naming it. `bytes` empty: a new index of code-page text.
std::string EditIndexText(std::string_view bytes, const IndexEdit& edit, CodePage& codePage, std::size_t& dropped);

IndexEntries ReadIndexFixed(FileSystem& fs, CodePage& codePage, std::string_view indexFile);
IndexEntries ReadIndexSplit(FileSystem& fs, CodePage& codePage, std::string_view indexFile);
// Both rewrites replace the index atomically: the new text goes to a new temporary file beside it,
// which then takes the index's place in one step, so a failure at any point leaves the old index
// byte for byte as it was. A failed read writes nothing. Failures throw.
void RewriteIndexFiltered(FileSystem& fs, CodePage& codePage, std::string_view gameFolder,
                          const std::unordered_set<std::string>& keys);
// Edits the index as it is at this moment (a line the game added a moment ago stays); an index
// that is not there is created for a line to append. Nothing is written when nothing changes.
// Returns how many lines went.
std::size_t RewriteIndexEdited(FileSystem& fs, CodePage& codePage, std::string_view gameFolder, const IndexEdit& edit);
