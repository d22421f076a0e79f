// The cache index cache.ini: where it and the cached files lie, its two readings and its two rewrites.
#pragma once
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class FileSystem;

struct CacheEntry {
    std::string Key;
    std::string RealName;
    bool operator==(const CacheEntry& o) const { return Key == o.Key && RealName == o.RealName; }
};

constexpr std::size_t KeyLength = 32;
constexpr std::size_t ShortestEntryLine = 35;  // key, "=", at least two characters of name

// G & "\Cache\cache.ini", and the cached file of a key, G & "\Cache\" & key & "-1.uxx".
std::string IndexPath(std::string_view gameFolder);
std::string CachedFilePath(std::string_view gameFolder, std::string_view key);

// Readings of the index text. Lines end in CR LF; LF alone and a last line without an end are
// read the same way.
std::vector<CacheEntry> ParseIndexFixed(std::string_view text);
std::vector<CacheEntry> ParseIndexSplit(std::string_view text);
// "[Cache]", then every line of 35 characters or more whose first 32 are not one of `keys`,
// byte for byte, each after CR LF; a final CR LF.
std::string FilterIndexText(std::string_view text, const std::unordered_set<std::string>& keys);
// "[Cache]" CR LF, then key "=" name CR LF for each entry.
std::string BuildIndexText(const std::vector<CacheEntry>& entries);

std::vector<CacheEntry> ReadIndexFixed(FileSystem& fs, std::string_view indexFile);
std::vector<CacheEntry> ReadIndexSplit(FileSystem& fs, std::string_view indexFile);
// Both rewrites replace the index atomically: the new text goes to a temporary file beside it,
// which then takes the index's place in one step, so a failure at any point leaves the old index
// byte for byte as it was. A failed read writes nothing. Failures throw.
void RewriteIndexFiltered(FileSystem& fs, std::string_view gameFolder,
                          const std::unordered_set<std::string>& keys);
void RewriteIndexRebuilt(FileSystem& fs, std::string_view gameFolder,
                         const std::vector<CacheEntry>& entries);
