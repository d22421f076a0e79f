// A zip archive written in one pass: each entry deflated where that makes it smaller and stored
// otherwise, names in UTF-8 (flag bit 11), ZIP64 records only where a size, an offset or the
// number of entries needs them, then the central directory.
#pragma once
#include <zlib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class FileSystem;
class WriteStream;

// What the headers say of an entry.
struct ZipEntry {
    std::string name;
    std::uint16_t method, time, date;  // 0 stored, 8 deflated; MS-DOS time and date
    std::uint32_t crc;
    std::uint64_t compressed, size, offset;  // offset: of its local header
};

// The local header, whose length does not depend on the method or the sizes, so that it can be
// written first and again once they are known: it has a ZIP64 field exactly when the file's size
// needs one (a deflated entry is kept only when smaller, so the compressed size never does).
std::string ZipLocalHeader(const ZipEntry& e);
// The central directory's header of an entry, with a ZIP64 field for the values that need it.
std::string ZipCentralHeader(const ZipEntry& e);
// The records after a central directory of `count` entries and `size` bytes starting at `start`:
// the ZIP64 end record and its locator where one of these needs it, then the end record.
std::string ZipEndRecords(std::uint64_t count, std::uint64_t start, std::uint64_t size);

class ZipWriter {
public:
    // The archive goes onto `out` from its start; the caller finishes the stream after Close.
    ZipWriter(WriteStream& out, int level);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Adds the file at `path`, of `size` bytes and last written at `modified` (FILETIME ticks),
    // under `name` ("Maps/DM-Foo.ut2"). `read` is called after each piece with the bytes of this
    // file read so far, and may throw to stop. A SourceFailure (the file unreadable, or changed)
    // leaves the archive as it was before the entry: it can take the next one. Any other failure
    // is the archive's own.
    void Add(FileSystem& fs, const std::string& path, std::uint64_t size, std::uint64_t modified, std::string_view name,
             const std::function<void(std::uint64_t read)>& read);
    std::size_t Entries() const { return entries_.size(); }
    // The central directory and the end records.
    void Close();

private:
    using Entry = ZipEntry;
    // Deflates the whole file after its header; false as soon as that is no smaller than the file.
    bool Deflated(FileSystem& fs, const std::string& path, Entry& e, const std::function<void(std::uint64_t)>& read);
    void Stored(FileSystem& fs, const std::string& path, Entry& e, const std::function<void(std::uint64_t)>& read);

    // Output goes through a buffer, so that the many small headers of a large archive are not each
    // a write of their own, and a header still in it is completed there.
    void Put(const char* bytes, std::size_t size);
    void Put(std::string_view bytes) { Put(bytes.data(), bytes.size()); }
    void Patch(std::uint64_t offset, std::string_view bytes);
    void Cut(std::uint64_t offset);
    void Flush();
    std::uint64_t Position() const { return flushed_ + pending_.size(); }

    WriteStream& out_;
    z_stream z_{};
    std::vector<Entry> entries_;
    std::string pending_;
    std::uint64_t flushed_ = 0;
    std::vector<char> in_, deflated_;
};

// The MS-DOS date and time of a zip entry ((date << 16) | time) for FILETIME ticks, in UTC (the
// core knows no time zone); times before 1980 or after 2107 are held to those years' ends.
std::uint32_t DosDateTime(std::uint64_t filetime);
