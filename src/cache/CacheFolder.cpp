// The cache folder read once.
#include "cache/CacheFolder.h"

#include "cache/AsciiCase.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::string_view CachedSuffix = "-1.uxx";

// Whether the listing alone can settle a cached file name of this key: not so for letters beyond
// ASCII (their case folding is the platform's), path separators and drive colons (the path leads
// elsewhere), wildcards, control characters and NUL.
bool Plain(std::string_view key) {
    for (const char c : key) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x80) return false;
        switch (c) {
            case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|': return false;
            default: break;
        }
    }
    return true;
}

// The key whose cached file bears `name`, letter case ignored; false for any other name.
bool CachedKeyOf(std::string_view name, std::string_view& key) {
    if (name.size() < CachedSuffix.size()) return false;
    if (!SameIgnoringAsciiCase(name.substr(name.size() - CachedSuffix.size()), CachedSuffix)) return false;
    key = name.substr(0, name.size() - CachedSuffix.size());
    return true;
}

}  // namespace

CacheFolder::CacheFolder(FileSystem& fs, std::string gameFolder, const IndexEntries& entries)
    : fs_(fs), gameFolder_(std::move(gameFolder)), entries_(entries) {}

void CacheFolder::Read() {
    read_ = true;
    // An open-addressing table of the entries' keys, views of the index's text: no allocation per
    // key, and none per file found.
    std::size_t slots = 16;
    while (slots < 2 * entries_.size()) slots *= 2;
    slots_.assign(slots, 0);
    cached_.reserve(entries_.size());
    for (const IndexEntry entry : entries_) {
        if (!Plain(entry.Key)) continue;
        const std::size_t at = Slot(entry.Key);
        if (slots_[at] != 0) continue;  // the same key again: the same file
        cached_.push_back({entry.Key, Absent, 0});
        slots_[at] = cached_.size();
    }
    try {
        fs_.ForEachFound(gameFolder_ + "\\Cache\\*", [&](const FoundFile& f) {
            std::string_view key;
            if (!CachedKeyOf(f.name, key) || !Plain(key)) return;
            const std::size_t at = slots_[Slot(key)];
            if (at == 0) return;  // a file that no entry names
            Cached& cached = cached_[at - 1];
            // Two names that differ only in letter case (possible under Wine): the platform picks one.
            if (cached.size != Absent) cached.size = Ambiguous;
            else cached = {cached.key, (f.attributes & AttrFolder) ? NotAFile : f.size, f.modified};
        });
    } catch (const Failure&) {
        return;
    }
    listed_ = true;
}

std::size_t CacheFolder::Slot(std::string_view key) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = HashIgnoringAsciiCase(key) & mask;
    while (slots_[at] != 0 && !SameIgnoringAsciiCase(cached_[slots_[at] - 1].key, key)) at = (at + 1) & mask;
    return at;
}

bool CacheFolder::SizeAndDateOf(std::string_view key, std::uint64_t& size, std::uint64_t& modified) {
    if (!read_) Read();
    if (listed_ && Plain(key)) {
        const std::size_t at = slots_[Slot(key)];
        const Cached* cached = at == 0 ? nullptr : &cached_[at - 1];  // none: a key of no entry
        if (cached != nullptr && (cached->size == Absent || cached->size == NotAFile)) return false;
        if (cached != nullptr && cached->size != Ambiguous) {
            size = cached->size;
            modified = cached->modified;
            return true;
        }
    }
    const std::string path = CachedFilePath(gameFolder_, key);
    try {
        size = fs_.SizeOf(path);
    } catch (const Failure&) {
        return false;
    }
    try {
        modified = fs_.LastModified(path);
    } catch (const Failure&) {
        modified = 0;
    }
    return true;
}
