// The game's redirect format (.uz2): the package in chunks of at most 32,768 bytes, each written as
// its compressed and its own size (32-bit little-endian), then the chunk as a zlib stream.
#pragma once
#include <zlib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class PackageSource;
class WriteStream;

constexpr std::size_t Uz2ChunkBytes = 32768;

class Uz2Writer {
public:
    explicit Uz2Writer(int level);
    ~Uz2Writer();
    Uz2Writer(const Uz2Writer&) = delete;
    Uz2Writer& operator=(const Uz2Writer&) = delete;

    // Writes all of `source` onto `out` and returns the bytes written. `read` is called after each
    // piece with the bytes read so far, and may throw to stop.
    std::uint64_t Write(PackageSource& source, WriteStream& out, const std::function<void(std::uint64_t read)>& read);

private:
    z_stream z_{};
    std::vector<char> in_;
    std::string out_;
};
