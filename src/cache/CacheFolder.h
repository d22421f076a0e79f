// The cache folder read once for a whole listing: each cached file's size by its key, as a size
// query of that one file would give it, without a lookup of its own per entry.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

class CacheFolder {
public:
    // The game folder's Cache folder is listed at the first question. Where it cannot be listed,
    // every key is asked about by a size query of its own.
    CacheFolder(FileSystem& fs, std::string gameFolder);
    CacheFolder(const CacheFolder&) = delete;
    CacheFolder& operator=(const CacheFolder&) = delete;

    // The size of the key's cached file; false where a size query of its path would fail (no such
    // file, or a folder of that name). Most entries of a large cache are looked up here, so a
    // missing file costs no exception.
    bool SizeOf(std::string_view key, std::uint64_t& size);
    // The same, with the cached file's last-write time (FILETIME ticks) from the same reading. Where
    // the file had to be asked about on its own and its time cannot be read, the time is 0: the
    // file is still listed, as SizeOf would list it.
    bool SizeAndDateOf(std::string_view key, std::uint64_t& size, std::uint64_t& modified);

private:
    void Read();
    // SizeOf, and the time too when `modified` is given.
    bool Look(std::string_view key, std::uint64_t& size, std::uint64_t* modified);
    // The slot of the name in slots_: where it is, or the empty one where it would go.
    std::size_t Slot(std::string_view name) const;

    static constexpr std::uint64_t NotAFile = ~std::uint64_t{0}, Ambiguous = NotAFile - 1;
    FileSystem& fs_;
    const std::string gameFolder_;
    bool read_ = false, listed_ = false;
    std::vector<FoundFile> found_;  // the folder's entries: names in lower case, sizes or the marks above, times
    std::vector<std::size_t> slots_;  // 1 + a position in found_, or 0 for an empty slot
    std::string name_;  // the cached file name being looked up
};
