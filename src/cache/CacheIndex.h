// The cache index cache.ini: where it and the cached files lie, its two readings and its two rewrites.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/Failure.h"

class CodePage;
class FileSystem;

struct CacheEntry {
    std::string Key;
    std::string RealName;
    bool operator==(const CacheEntry& o) const { return Key == o.Key && RealName == o.RealName; }
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

// Readings of the index's bytes. The index is text in the system code page, or UTF-16 or UTF-8
// after a byte-order mark (UTF-16 also without one); entries come out as UTF-8 text, every name
// exactly as the index holds it. Lines end in CR LF, LF or CR alone; a last line needs no end.
// Unreadable encodings throw UnreadableIndex. Widths count characters (code points).
std::vector<CacheEntry> ParseIndexFixed(std::string_view bytes, CodePage& codePage);
std::vector<CacheEntry> ParseIndexSplit(std::string_view bytes, CodePage& codePage);
// "[Cache]", then every line of 35 characters or more whose first 32 are not one of `keys`, its
// bytes as they were, each after CR LF; a final CR LF. All of it in the encoding the index came
// in, with its byte-order mark.
std::string FilterIndexText(std::string_view bytes, const std::unordered_set<std::string>& keys,
                            CodePage& codePage);
// "[Cache]" CR LF, then key "=" name CR LF for each entry, as UTF-8 text.
std::string BuildIndexText(const std::vector<CacheEntry>& entries);

// A change to the index as it stands: every line that reads as an entry for which `drop` is true
// goes (with its line end), and `append`, when given, becomes one new last line. Every other byte
// stays as it is, the mark and the line ends included.
struct IndexEdit {
    std::function<bool(const CacheEntry&)> drop;
    const CacheEntry* append = nullptr;
};
// The edited text and how many lines went. A line to append whose text the index's encoding
// cannot hold throws Failure naming it. `bytes` empty: a new index of code-page text.
std::string EditIndexText(std::string_view bytes, const IndexEdit& edit, CodePage& codePage, std::size_t& dropped);

std::vector<CacheEntry> ReadIndexFixed(FileSystem& fs, CodePage& codePage, std::string_view indexFile);
std::vector<CacheEntry> ReadIndexSplit(FileSystem& fs, CodePage& codePage, std::string_view indexFile);
// Both rewrites replace the index atomically: the new text goes to a new temporary file beside it,
// which then takes the index's place in one step, so a failure at any point leaves the old index
// byte for byte as it was. A failed read writes nothing. Failures throw.
void RewriteIndexFiltered(FileSystem& fs, CodePage& codePage, std::string_view gameFolder,
                          const std::unordered_set<std::string>& keys);
// Edits the index as it is at this moment (a line the game added a moment ago stays); an index
// that is not there is created for a line to append. Nothing is written when nothing changes.
// Returns how many lines went.
std::size_t RewriteIndexEdited(FileSystem& fs, CodePage& codePage, std::string_view gameFolder, const IndexEdit& edit);
