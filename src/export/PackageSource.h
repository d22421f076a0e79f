// A cached package read piece by piece for an export, held to the size it had when the export was
// planned: whatever is written from it (a zip entry's sizes, a .uz2 file) was decided on that size.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Failure.h"

class FileSystem;
class ReadStream;

// The package could not be read, or changed while it was: the package is left out, and the file
// being written from it can go on without it.
class SourceFailure : public Failure {
public:
    using Failure::Failure;
};

class PackageSource {
public:
    // Opens the file; throws SourceFailure.
    PackageSource(FileSystem& fs, std::string path, std::uint64_t size);
    ~PackageSource();
    PackageSource(const PackageSource&) = delete;
    PackageSource& operator=(const PackageSource&) = delete;

    // Up to `size` bytes; 0 once all of the package is read. Throws SourceFailure, also when the
    // file turns out longer or shorter than the size it was planned with.
    std::size_t Read(char* into, std::size_t size);
    std::uint64_t Size() const { return size_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::uint64_t size_, done_ = 0;
    std::unique_ptr<ReadStream> stream_;
};
