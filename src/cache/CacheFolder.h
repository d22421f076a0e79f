// The cache folder read once for a whole listing: the cached file of each of the index's entries,
// with its size and time as a query of that one file would give them, without a lookup of its own
// per entry.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cache/CacheIndex.h"
#include "platform/FileSystem.h"

class CacheFolder {
public:
    // At the first question, the game folder's Cache folder is listed once and each file found there
    // is matched with the entries' keys, without ASCII letter case. The entries must outlive it.
    // Where the folder cannot be listed, every key is asked about by queries of its own.
    CacheFolder(FileSystem& fs, std::string gameFolder, const IndexEntries& entries);
    CacheFolder(const CacheFolder&) = delete;
    CacheFolder& operator=(const CacheFolder&) = delete;

    // The size and last-write time (FILETIME ticks) of the cached file of the entry at `entry`;
    // false where a size query of its path would fail (no such file, or a folder of that name). Most
    // entries of a large cache are looked up here, so a missing file costs no exception. Where the
    // file had to be asked about on its own and its time cannot be read, the time is 0: the file is
    // still listed, as a size query would list it.
    bool SizeAndDateOf(std::size_t entry, std::uint64_t& size, std::uint64_t& modified);

private:
    void Read();

    // Sizes that are marks: no file of the key's name found, a folder of its name, or two names that
    // differ only in letter case, of which the platform picks one.
    static constexpr std::uint64_t Absent = ~std::uint64_t{0}, NotAFile = Absent - 1, Ambiguous = Absent - 2;
    struct Cached {
        std::string_view key;
        std::uint64_t size, modified;
    };
    FileSystem& fs_;
    const std::string gameFolder_;
    const IndexEntries& entries_;
    bool read_ = false, listed_ = false;
    std::vector<Cached> cached_;     // one per key that the listing can settle, entries' letter case ignored
    std::vector<std::uint32_t> of_;  // per entry: 1 + its key's position in cached_, or 0: asked on its own
};
