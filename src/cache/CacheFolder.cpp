// The cache folder read once.
#include "cache/CacheFolder.h"

#include "cache/CacheIndex.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"

namespace {

// Puts the name in lower case; false when it holds a character whose matching on disk the listing
// cannot settle alone: letters beyond ASCII (their case folding is the platform's), path separators
// and drive colons (the path leads elsewhere), wildcards, control characters and NUL.
bool PlainLowerCase(std::string& name) {
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
            continue;
        }
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x80) return false;
        switch (c) {
            case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|': return false;
            default: break;
        }
    }
    return true;
}

std::size_t HashOf(std::string_view name) {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (const char c : name) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return static_cast<std::size_t>(h ^ (h >> 32));
}

}  // namespace

CacheFolder::CacheFolder(FileSystem& fs, std::string gameFolder) : fs_(fs), gameFolder_(std::move(gameFolder)) {}

void CacheFolder::Read() {
    read_ = true;
    try {
        found_ = fs_.List(gameFolder_ + "\\Cache\\*");
    } catch (const Failure&) {
        return;
    }
    listed_ = true;
    // An open-addressing table of positions in found_, lower-cased in place: no allocation per name.
    std::size_t slots = 16;
    while (slots < 2 * found_.size()) slots *= 2;
    slots_.assign(slots, 0);
    for (std::size_t i = 0; i < found_.size(); ++i) {
        FoundFile& f = found_[i];
        if (!PlainLowerCase(f.name)) continue;
        if (f.attributes & AttrFolder) f.size = NotAFile;
        const std::size_t at = Slot(f.name);
        // Two names that differ only in letter case (possible under Wine): the platform picks one.
        if (slots_[at] != 0) found_[slots_[at] - 1].size = Ambiguous;
        else slots_[at] = i + 1;
    }
}

std::size_t CacheFolder::Slot(std::string_view name) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = HashOf(name) & mask;
    while (slots_[at] != 0 && found_[slots_[at] - 1].name != name) at = (at + 1) & mask;
    return at;
}

bool CacheFolder::SizeOf(std::string_view key, std::uint64_t& size) { return Look(key, size, nullptr); }

bool CacheFolder::SizeAndDateOf(std::string_view key, std::uint64_t& size, std::uint64_t& modified) {
    return Look(key, size, &modified);
}

bool CacheFolder::Look(std::string_view key, std::uint64_t& size, std::uint64_t* modified) {
    if (!read_) Read();
    name_.assign(key);
    name_ += "-1.uxx";
    if (listed_ && PlainLowerCase(name_)) {
        const std::size_t at = slots_[Slot(name_)];
        size = at == 0 ? NotAFile : found_[at - 1].size;
        if (size != Ambiguous) {
            if (modified != nullptr && at != 0) *modified = found_[at - 1].modified;
            return size != NotAFile;
        }
    }
    const std::string path = CachedFilePath(gameFolder_, key);
    try {
        size = fs_.SizeOf(path);
    } catch (const Failure&) {
        return false;
    }
    if (modified == nullptr) return true;
    try {
        *modified = fs_.LastModified(path);
    } catch (const Failure&) {
        *modified = 0;
    }
    return true;
}
