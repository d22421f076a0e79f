// The test readers of zip and .uz2 files.
#include "support/Archives.h"

#include <zlib.h>

namespace {

std::uint64_t Le(std::string_view bytes, std::size_t at, int size) {
    std::uint64_t v = 0;
    for (int i = size; i-- > 0;) v = v << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

// `raw`: deflate without the zlib header (a zip entry); otherwise a zlib stream (a .uz2 chunk).
bool Inflate(std::string_view in, std::size_t expected, bool raw, std::string& out) {
    z_stream z{};
    if (inflateInit2(&z, raw ? -MAX_WBITS : MAX_WBITS) != Z_OK) return false;
    out.assign(expected, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(expected);
    const int rc = inflate(&z, Z_FINISH);
    const bool whole = rc == Z_STREAM_END && z.avail_out == 0 && z.avail_in == 0;
    inflateEnd(&z);
    return whole;
}

}  // namespace

ZipRead ReadZip(std::string_view zip) {
    ZipRead read;
    const auto fail = [&](std::string what) {
        read.error = std::move(what);
        return read;
    };
    if (zip.size() < 22 || Le(zip, zip.size() - 22, 4) != 0x06054b50) return fail("no end record at the end");
    const std::size_t end = zip.size() - 22;
    const std::uint64_t count = Le(zip, end + 10, 2), size = Le(zip, end + 12, 4), start = Le(zip, end + 16, 4);
    std::size_t at = static_cast<std::size_t>(start), next = 0;  // where the next entry's local header must be
    for (std::uint64_t n = 0; n < count; ++n) {
        if (at + 46 > zip.size() || Le(zip, at, 4) != 0x02014b50) return fail("central header " + std::to_string(n) + " missing");
        ZipRead::Item item{};
        const std::uint64_t method = Le(zip, at + 10, 2);
        const std::uint32_t crc = static_cast<std::uint32_t>(Le(zip, at + 16, 4));
        const std::uint64_t compressed = Le(zip, at + 20, 4), original = Le(zip, at + 24, 4);
        const std::size_t nameSize = Le(zip, at + 28, 2), extraSize = Le(zip, at + 30, 2), commentSize = Le(zip, at + 32, 2);
        item.name = std::string(zip.substr(at + 46, nameSize));
        const std::size_t local = Le(zip, at + 42, 4);
        if (local != next) return fail(item.name + ": bytes before its local header that no entry holds");
        if (local + 30 > zip.size() || Le(zip, local, 4) != 0x04034b50) return fail(item.name + ": no local header");
        if (zip.substr(local + 30, Le(zip, local + 26, 2)) != item.name) return fail(item.name + ": local name differs");
        if (Le(zip, local + 8, 2) != method || Le(zip, local + 14, 4) != crc)
            return fail(item.name + ": local header differs");
        const std::size_t data = local + 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
        if (data + compressed > start) return fail(item.name + ": data runs into the central directory");
        const std::string_view stored = zip.substr(data, static_cast<std::size_t>(compressed));
        if (method == 0 && compressed == original) item.bytes = std::string(stored);
        else if (method != 8 || !Inflate(stored, static_cast<std::size_t>(original), true, item.bytes))
            return fail(item.name + ": data does not inflate to its size");
        if (crc32(0, reinterpret_cast<const Bytef*>(item.bytes.data()), static_cast<uInt>(item.bytes.size())) != crc)
            return fail(item.name + ": CRC-32 differs");
        next = data + static_cast<std::size_t>(compressed);
        read.items.push_back(std::move(item));
        at += 46 + nameSize + extraSize + commentSize;
    }
    if (next != start) return fail("bytes before the central directory that no entry holds");
    if (at != start + size) return fail("central directory of another size than the end record says");
    return read;
}

Uz2Read ReadUz2(std::string_view uz2) {
    Uz2Read read;
    for (std::size_t at = 0; at < uz2.size();) {
        if (at + 8 > uz2.size()) {
            read.error = "a chunk header cut short at " + std::to_string(at);
            return read;
        }
        const std::size_t compressed = Le(uz2, at, 4), original = Le(uz2, at + 4, 4);
        std::string chunk;
        if (original > 32768 || at + 8 + compressed > uz2.size() ||
            !Inflate(uz2.substr(at + 8, compressed), original, false, chunk)) {
            read.error = "a broken chunk at " + std::to_string(at);
            return read;
        }
        read.bytes += chunk;
        at += 8 + compressed;
    }
    return read;
}
