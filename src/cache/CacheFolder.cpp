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
    // key, and none per file found. Each entry learns its key's place once, so that its question
    // later costs no search.
    std::size_t capacity = 16;
    while (capacity < 2 * entries_.size()) capacity *= 2;
    std::vector<std::uint32_t> slots(capacity, 0);  // 1 + a position in cached_, or 0 for an empty slot
    const std::size_t mask = capacity - 1;
    const auto slotOf = [&](std::string_view key) {  // where the key is, or the empty slot where it would go
        std::size_t at = HashIgnoringAsciiCase(key) & mask;
        while (slots[at] != 0 && !SameIgnoringAsciiCase(cached_[slots[at] - 1].key, key)) at = (at + 1) & mask;
        return at;
    };
    cached_.reserve(entries_.size());
    of_.assign(entries_.size(), 0);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::string_view key = entries_[i].Key;
        if (!Plain(key)) continue;
        std::uint32_t& slot = slots[slotOf(key)];
        if (slot == 0) {  // else the same key again: the same file
            cached_.push_back({key, Absent, 0});
            slot = static_cast<std::uint32_t>(cached_.size());  // entries are fewer than 2^32: see IndexEntries
        }
        of_[i] = slot;
    }
    try {
        fs_.ForEachFound(gameFolder_ + "\\Cache\\*", [&](const FoundFile& f) {
            std::string_view key;
            if (!CachedKeyOf(f.name, key) || !Plain(key)) return;
            const std::uint32_t at = slots[slotOf(key)];
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

bool CacheFolder::SizeAndDateOf(std::size_t entry, std::uint64_t& size, std::uint64_t& modified) {
    if (!read_) Read();
    if (listed_ && of_[entry] != 0) {
        const Cached& cached = cached_[of_[entry] - 1];
        if (cached.size == Absent || cached.size == NotAFile) return false;
        if (cached.size != Ambiguous) {
            size = cached.size;
            modified = cached.modified;
            return true;
        }
    }
    const std::string path = CachedFilePath(gameFolder_, entries_[entry].Key);
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
