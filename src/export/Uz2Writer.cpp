// Writing a package as .uz2.
#include "export/Uz2Writer.h"

#include <algorithm>

#include "export/PackageSource.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::size_t ChunksPerPiece = 8;  // chunks read from the package and written at a time

void U32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

Uz2Writer::Uz2Writer(int level) : in_(Uz2ChunkBytes * ChunksPerPiece) {
    // A zlib stream with its header and Adler-32, exactly as compress2() makes one; the stream is
    // reset for each chunk rather than set up anew.
    if (deflateInit(&z_, level) != Z_OK) throw Failure("The compressor could not be started (not enough memory).");
}

Uz2Writer::~Uz2Writer() { deflateEnd(&z_); }

std::uint64_t Uz2Writer::Write(PackageSource& source, WriteStream& out,
                               const std::function<void(std::uint64_t)>& read) {
    const std::size_t bound = deflateBound(&z_, Uz2ChunkBytes);
    std::uint64_t done = 0, written = 0;
    while (const std::size_t got = source.Read(in_.data(), in_.size())) {
        out_.clear();
        for (std::size_t at = 0; at < got; at += Uz2ChunkBytes) {
            const std::size_t size = std::min(Uz2ChunkBytes, got - at), header = out_.size();
            out_.resize(header + 8 + bound);
            if (deflateReset(&z_) != Z_OK) throw Failure("The compressor failed.");
            z_.next_in = reinterpret_cast<Bytef*>(in_.data() + at);
            z_.avail_in = static_cast<uInt>(size);
            z_.next_out = reinterpret_cast<Bytef*>(&out_[header + 8]);
            z_.avail_out = static_cast<uInt>(bound);
            if (deflate(&z_, Z_FINISH) != Z_STREAM_END) throw Failure("The compressor failed.");
            const std::size_t compressed = bound - z_.avail_out;
            std::string sizes;
            U32(sizes, static_cast<std::uint32_t>(compressed));
            U32(sizes, static_cast<std::uint32_t>(size));
            out_.replace(header, 8, sizes);
            out_.resize(header + 8 + compressed);
        }
        out.Write(out_);
        written += out_.size();
        done += got;
        read(done);
    }
    return written;
}
