// The cache index: line readings and atomic rewrites.
#include "cache/CacheIndex.h"

#include <algorithm>

#include "platform/FileSystem.h"

namespace {

const std::string_view CrLf = "\r\n";
const std::string_view Header = "[Cache]";

// Ends in ".ini" so that a leftover after a crash is never taken for a cached file.
std::string TemporaryIndexPath(std::string_view gameFolder) {
    return std::string(gameFolder) + "\\Cache\\cache-new.ini";
}

// Calls `each` with every line of `text` without its line end (CR LF, or LF alone). A last line
// without a line end is a line too; a CR elsewhere is an ordinary byte of its line.
template <typename Each>
void ForEachLine(std::string_view text, Each each) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        if (end > start && text[end - 1] == '\r') --end;
        each(text.substr(start, end - start));
        start = next;
    }
}

std::string_view TrimSpaces(std::string_view s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

void WriteAtomically(FileSystem& fs, std::string_view gameFolder, const std::string& text) {
    const std::string temporary = TemporaryIndexPath(gameFolder);
    try {
        fs.WriteAll(temporary, text);
        fs.Replace(temporary, IndexPath(gameFolder));
    } catch (...) {
        try {
            fs.Remove(temporary);
        } catch (...) {
            // Nothing more can be done; the leftover's ".ini" ending keeps it out of the cache.
        }
        throw;
    }
}

}  // namespace

std::string IndexPath(std::string_view gameFolder) {
    return std::string(gameFolder) + "\\Cache\\cache.ini";
}

std::string CachedFilePath(std::string_view gameFolder, std::string_view key) {
    std::string path(gameFolder);
    path += "\\Cache\\";
    path += key;
    path += "-1.uxx";
    return path;
}

std::vector<CacheEntry> ParseIndexFixed(std::string_view text) {
    std::vector<CacheEntry> entries;
    entries.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    ForEachLine(text, [&](std::string_view line) {
        line = TrimSpaces(line);
        if (line.size() < ShortestEntryLine) return;
        entries.push_back({std::string(line.substr(0, KeyLength)), std::string(line.substr(KeyLength + 1))});
    });
    return entries;
}

std::vector<CacheEntry> ParseIndexSplit(std::string_view text) {
    std::vector<CacheEntry> entries;
    ForEachLine(text, [&](std::string_view line) {
        line = TrimSpaces(line);
        if (line == Header) return;
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) return;
        entries.push_back({std::string(line.substr(0, eq)), std::string(line.substr(eq + 1))});
    });
    return entries;
}

std::string FilterIndexText(std::string_view text, const std::unordered_set<std::string>& keys) {
    // Looked up by view, so that no line costs an allocation.
    std::unordered_set<std::string_view> drop(keys.begin(), keys.end());
    std::string out(Header);
    out.reserve(text.size() + Header.size() + 2);
    ForEachLine(text, [&](std::string_view line) {
        if (line.size() < ShortestEntryLine) return;
        if (!drop.empty() && drop.count(line.substr(0, KeyLength)) != 0) return;
        out += CrLf;
        out += line;
    });
    out += CrLf;
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

std::vector<CacheEntry> ReadIndexFixed(FileSystem& fs, std::string_view indexFile) {
    return ParseIndexFixed(fs.ReadAll(indexFile));
}

std::vector<CacheEntry> ReadIndexSplit(FileSystem& fs, std::string_view indexFile) {
    return ParseIndexSplit(fs.ReadAll(indexFile));
}

void RewriteIndexFiltered(FileSystem& fs, std::string_view gameFolder,
                          const std::unordered_set<std::string>& keys) {
    const std::string old = fs.ReadAll(IndexPath(gameFolder));
    WriteAtomically(fs, gameFolder, FilterIndexText(old, keys));
}

void RewriteIndexRebuilt(FileSystem& fs, std::string_view gameFolder,
                         const std::vector<CacheEntry>& entries) {
    WriteAtomically(fs, gameFolder, BuildIndexText(entries));
}
