// The zip format as its public description lays it out: local header and data for each entry, the
// central directory, and the end records (ZIP64 ones first where needed).
#include "export/ZipWriter.h"

#include <algorithm>

#include "export/PackageSource.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::size_t Piece = 256 * 1024;       // read from a package at a time
constexpr std::size_t BufferLimit = 1024 * 1024;  // of output held before a write
constexpr std::uint64_t Max32 = 0xFFFFFFFF;       // and above: the value lives in a ZIP64 field
constexpr std::uint64_t Max16 = 0xFFFF;
constexpr std::uint16_t Utf8Names = 0x0800;
constexpr std::uint16_t MethodStored = 0, MethodDeflate = 8;

void U16(std::string& s, std::uint64_t v) {
    for (int i = 0; i < 2; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void U32(std::string& s, std::uint64_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void U64(std::string& s, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// 4.5 for ZIP64, 2.0 for deflate, 1.0 for a stored file.
std::uint16_t VersionNeeded(bool zip64, std::uint16_t method) { return zip64 ? 45 : method == MethodDeflate ? 20 : 10; }

// The fields both headers of an entry hold alike, from the version needed to the CRC-32.
void CommonFields(std::string& h, const ZipEntry& e, bool zip64) {
    U16(h, VersionNeeded(zip64, e.method));
    U16(h, Utf8Names);
    U16(h, e.method);
    U16(h, e.time);
    U16(h, e.date);
    U32(h, e.crc);
}

}  // namespace

std::uint32_t DosDateTime(std::uint64_t filetime) {
    constexpr std::int64_t UnixEpoch = 11644473600;  // seconds from 1601 to 1970
    const std::int64_t seconds = static_cast<std::int64_t>(filetime / 10000000) - UnixEpoch;
    // Days to a civil date (Howard Hinnant's algorithm).
    const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400, daySecond = seconds - days * 86400;
    const std::int64_t z = days + 719468, era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097, yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1, month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2);
    if (year < 1980) return (1u << 5 | 1u) << 16;  // 1980-01-01 00:00:00
    if (year > 2107) return (127u << 9 | 12u << 5 | 31u) << 16 | 23u << 11 | 59u << 5 | 29u;  // 2107-12-31 23:59:58
    const std::int64_t date = (year - 1980) << 9 | month << 5 | day;
    const std::int64_t time = (daySecond / 3600) << 11 | (daySecond / 60 % 60) << 5 | (daySecond % 60) / 2;
    return static_cast<std::uint32_t>(date << 16 | time);
}

ZipWriter::ZipWriter(WriteStream& out, int level) : out_(out), in_(Piece), deflated_(Piece) {
    // Raw deflate: a zip entry carries no zlib header; its CRC-32 is in the zip's own headers.
    if (deflateInit2(&z_, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw Failure("The compressor could not be started (not enough memory).");
}

ZipWriter::~ZipWriter() { deflateEnd(&z_); }

std::string ZipLocalHeader(const ZipEntry& e) {
    const bool zip64 = e.size >= Max32;
    std::string h;
    U32(h, 0x04034b50);
    CommonFields(h, e, zip64);
    U32(h, zip64 ? Max32 : e.compressed);
    U32(h, zip64 ? Max32 : e.size);
    U16(h, e.name.size());
    U16(h, zip64 ? 20 : 0);
    h += e.name;
    if (zip64) {  // a local ZIP64 field holds both sizes
        U16(h, 0x0001);
        U16(h, 16);
        U64(h, e.size);
        U64(h, e.compressed);
    }
    return h;
}

std::string ZipCentralHeader(const ZipEntry& e) {
    // Here a ZIP64 field holds only the values that do not fit, in this order.
    std::string extra;
    if (e.size >= Max32) U64(extra, e.size);
    if (e.compressed >= Max32) U64(extra, e.compressed);
    if (e.offset >= Max32) U64(extra, e.offset);
    const bool zip64 = !extra.empty();
    std::string h;
    U32(h, 0x02014b50);
    U16(h, 63);  // made by: MS-DOS attributes, version 6.3 of the format (UTF-8 names)
    CommonFields(h, e, zip64);
    U32(h, std::min(e.compressed, Max32));
    U32(h, std::min(e.size, Max32));
    U16(h, e.name.size());
    U16(h, zip64 ? extra.size() + 4 : 0);
    U16(h, 0);  // comment
    U16(h, 0);  // disk
    U16(h, 0);  // internal attributes
    U32(h, 0);  // external attributes: a plain file
    U32(h, std::min(e.offset, Max32));
    h += e.name;
    if (zip64) {
        U16(h, 0x0001);
        U16(h, extra.size());
        h += extra;
    }
    return h;
}

void ZipWriter::Add(FileSystem& fs, const std::string& path, std::uint64_t size, std::uint64_t modified,
                    std::string_view name, const std::function<void(std::uint64_t)>& read) {
    const std::uint32_t when = DosDateTime(modified);
    Entry e{std::string(name), MethodDeflate, static_cast<std::uint16_t>(when), static_cast<std::uint16_t>(when >> 16),
            0, 0, size, Position()};
    try {
        if (size == 0 || !Deflated(fs, path, e, read)) {
            Cut(e.offset);
            e.method = MethodStored;
            Stored(fs, path, e, read);
        }
    } catch (const SourceFailure&) {
        Cut(e.offset);
        throw;
    }
    Patch(e.offset, ZipLocalHeader(e));
    entries_.push_back(std::move(e));
}

bool ZipWriter::Deflated(FileSystem& fs, const std::string& path, Entry& e,
                         const std::function<void(std::uint64_t)>& read) {
    PackageSource source(fs, path, e.size);
    Put(ZipLocalHeader(e));
    if (deflateReset(&z_) != Z_OK) throw Failure("The compressor failed.");
    uLong crc = crc32(0, Z_NULL, 0);
    std::uint64_t done = 0;
    int flush = Z_NO_FLUSH;
    while (flush != Z_FINISH) {
        const std::size_t got = source.Read(in_.data(), in_.size());
        crc = crc32(crc, reinterpret_cast<const Bytef*>(in_.data()), static_cast<uInt>(got));
        done += got;
        flush = got == 0 ? Z_FINISH : Z_NO_FLUSH;
        z_.next_in = reinterpret_cast<Bytef*>(in_.data());
        z_.avail_in = static_cast<uInt>(got);
        do {
            z_.next_out = reinterpret_cast<Bytef*>(deflated_.data());
            z_.avail_out = static_cast<uInt>(deflated_.size());
            if (deflate(&z_, flush) == Z_STREAM_ERROR) throw Failure("The compressor failed.");
            const std::size_t produced = deflated_.size() - z_.avail_out;
            e.compressed += produced;
            if (e.compressed >= e.size) return false;  // it can only grow from here
            Put(deflated_.data(), produced);
        } while (z_.avail_out == 0);
        if (got != 0) read(done);
    }
    e.crc = static_cast<std::uint32_t>(crc);
    return true;
}

void ZipWriter::Stored(FileSystem& fs, const std::string& path, Entry& e,
                       const std::function<void(std::uint64_t)>& read) {
    // Read again from the start: the file is held to its size, and its CRC-32 taken again, so the
    // entry describes exactly the bytes stored.
    PackageSource source(fs, path, e.size);
    e.compressed = e.size;
    Put(ZipLocalHeader(e));
    uLong crc = crc32(0, Z_NULL, 0);
    std::uint64_t done = 0;
    while (const std::size_t got = source.Read(in_.data(), in_.size())) {
        crc = crc32(crc, reinterpret_cast<const Bytef*>(in_.data()), static_cast<uInt>(got));
        Put(in_.data(), got);
        done += got;
        read(done);
    }
    e.crc = static_cast<std::uint32_t>(crc);
}

std::string ZipEndRecords(std::uint64_t count, std::uint64_t start, std::uint64_t size) {
    std::string end;
    if (count >= Max16 || size >= Max32 || start >= Max32) {
        const std::uint64_t record = start + size;
        U32(end, 0x06064b50);  // ZIP64 end of central directory
        U64(end, 44);          // the size of the rest of this record
        U16(end, 45);          // made by
        U16(end, 45);          // needed
        U32(end, 0);           // this disk
        U32(end, 0);           // the central directory's disk
        U64(end, count);       // on this disk
        U64(end, count);
        U64(end, size);
        U64(end, start);
        U32(end, 0x07064b50);  // its locator
        U32(end, 0);
        U64(end, record);
        U32(end, 1);  // disks
    }
    U32(end, 0x06054b50);
    U16(end, 0);
    U16(end, 0);
    U16(end, std::min(count, Max16));
    U16(end, std::min(count, Max16));
    U32(end, std::min(size, Max32));
    U32(end, std::min(start, Max32));
    U16(end, 0);  // comment
    return end;
}

void ZipWriter::Close() {
    const std::uint64_t start = Position();
    for (const Entry& e : entries_) Put(ZipCentralHeader(e));
    Put(ZipEndRecords(entries_.size(), start, Position() - start));
    Flush();
}

void ZipWriter::Put(const char* bytes, std::size_t size) {
    if (pending_.size() + size > BufferLimit) Flush();
    if (size >= BufferLimit) {
        out_.Write(std::string_view(bytes, size));
        flushed_ += size;
    } else {
        pending_.append(bytes, size);
    }
}

void ZipWriter::Patch(std::uint64_t offset, std::string_view bytes) {
    if (offset >= flushed_) {
        pending_.replace(static_cast<std::size_t>(offset - flushed_), bytes.size(), bytes);
        return;
    }
    Flush();
    out_.WriteAt(offset, bytes);
}

void ZipWriter::Cut(std::uint64_t offset) {
    if (offset >= flushed_) {
        pending_.resize(static_cast<std::size_t>(offset - flushed_));
        return;
    }
    pending_.clear();
    out_.Truncate(offset);
    flushed_ = offset;
}

void ZipWriter::Flush() {
    if (pending_.empty()) return;
    out_.Write(pending_);
    flushed_ += pending_.size();
    pending_.clear();
}
