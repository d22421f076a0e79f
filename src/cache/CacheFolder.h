// The cache folder read once for a whole listing: each cached file's size by its key, as a size
// query of that one file would give it, without a lookup of its own per entry.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>

class FileSystem;

class CacheFolder {
public:
    // The game folder's Cache folder is listed at the first question. Where it cannot be listed,
    // every key is asked about by a size query of its own.
    CacheFolder(FileSystem& fs, std::string gameFolder);

    // The size of the key's cached file; throws Failure where a size query of its path would (no
    // such file, or a folder of that name).
    std::uint64_t SizeOf(const std::string& key);

private:
    void Read();

    static constexpr std::uint64_t NotAFile = ~std::uint64_t{0}, Ambiguous = NotAFile - 1;
    FileSystem& fs_;
    const std::string gameFolder_;
    bool read_ = false, listed_ = false;
    std::unordered_map<std::string, std::uint64_t> sizes_;  // by lower-case name
};
