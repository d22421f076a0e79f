// The cache folder read once.
#include "cache/CacheFolder.h"

#include "cache/CacheIndex.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"

namespace {

// The name in lower case, or empty when it holds a character whose matching on disk the listing
// cannot settle alone: letters beyond ASCII (their case folding is the platform's), path separators
// and drive colons (the path leads elsewhere), wildcards, control characters and NUL.
std::string PlainLowerCase(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x80 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return {};
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

}  // namespace

CacheFolder::CacheFolder(FileSystem& fs, std::string gameFolder) : fs_(fs), gameFolder_(std::move(gameFolder)) {}

void CacheFolder::Read() {
    read_ = true;
    std::vector<FoundFile> found;
    try {
        found = fs_.List(gameFolder_ + "\\Cache\\*");
    } catch (const Failure&) {
        return;
    }
    listed_ = true;
    sizes_.reserve(found.size());
    for (const FoundFile& f : found) {
        const std::string name = PlainLowerCase(f.name);
        if (name.empty()) continue;
        const std::uint64_t size = (f.attributes & AttrFolder) ? NotAFile : f.size;
        // Two names that differ only in letter case (possible under Wine): the platform picks one.
        const auto [it, added] = sizes_.emplace(name, size);
        if (!added) it->second = Ambiguous;
    }
}

std::uint64_t CacheFolder::SizeOf(const std::string& key) {
    if (!read_) Read();
    const std::string name = PlainLowerCase(key + "-1.uxx");
    if (listed_ && !name.empty()) {
        const auto it = sizes_.find(name);
        if (it == sizes_.end() || it->second == NotAFile) throw Failure("File not found.");
        if (it->second != Ambiguous) return it->second;
    }
    return fs_.SizeOf(CachedFilePath(gameFolder_, key));
}
