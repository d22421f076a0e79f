// A file written under a temporary name beside its target, which takes the target's name only once
// it is complete and on disk: a failure or a cancel leaves no part of it under either name.
#pragma once
#include <memory>
#include <string>

class FileSystem;
class WriteStream;

class PendingFile {
public:
    // Creates the temporary file, "<target>.part" or, where a file of that name is there,
    // "<target>.part2"...; throws Failure.
    PendingFile(FileSystem& fs, std::string target);
    // A file never put in place is removed, quietly: call Discard to hear of a failure.
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    WriteStream& Out() { return *out_; }
    const std::string& Temporary() const { return temporary_; }
    // Flushes and closes the file, then renames it to the target in one step, replacing a file
    // there only when `replace` says so. Throws Failure; the temporary file is then still there.
    void PutInPlace(bool replace);
    // Closes and removes the temporary file; the reason when it could not be removed, or "".
    std::string Discard();

private:
    FileSystem& fs_;
    const std::string target_;
    std::string temporary_;
    std::unique_ptr<WriteStream> out_;
    bool gone_ = false;  // put in place or removed
};
