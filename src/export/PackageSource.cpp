// Reading a cached package for an export.
#include "export/PackageSource.h"

#include "platform/FileSystem.h"

PackageSource::PackageSource(FileSystem& fs, std::string path, std::uint64_t size) : path_(std::move(path)), size_(size) {
    try {
        stream_ = fs.OpenRead(path_);
    } catch (const Failure& f) {
        throw SourceFailure(f.what());
    }
}

PackageSource::~PackageSource() = default;

std::size_t PackageSource::Read(char* into, std::size_t size) {
    std::size_t got = 0;
    try {
        got = stream_->Read(into, size);
    } catch (const Failure& f) {
        throw SourceFailure(f.what());
    }
    done_ += got;
    // The game may be downloading into its cache meanwhile: a package of another size is not the
    // one that was chosen, and a zip entry's sizes, once written, cannot grow.
    if (done_ > size_ || (got == 0 && done_ != size_))
        throw SourceFailure("It changed while it was read (" + std::to_string(size_) + " bytes were expected).");
    return got;
}
