// Port: the file operations the behaviour needs. Paths are passed exactly as the program builds
// them (game folder text plus backslash literals); every failure throws Failure. A path holding a
// NUL byte names nothing: every operation on it fails.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum FileAttribute : std::uint32_t {
    AttrReadOnly = 0x01,
    AttrHidden = 0x02,
    AttrSystem = 0x04,
    AttrFolder = 0x10,
};

struct FoundFile {
    std::string name;         // bare name with extension, as stored on disk
    std::uint32_t attributes;  // FileAttribute bits
    std::uint64_t size;        // in bytes; 0 for a folder
    std::uint64_t modified;    // last written, as LastModified gives it
};

// A file read from its start to its end, piece by piece, so that a package of hundreds of megabytes
// never has to fit in memory. Destroying it closes the file.
class ReadStream {
public:
    ReadStream() = default;
    ReadStream(const ReadStream&) = delete;
    ReadStream& operator=(const ReadStream&) = delete;
    virtual ~ReadStream() = default;
    // Reads up to `size` bytes into `into`: fewer only at the end of the file, 0 once it is reached.
    virtual std::size_t Read(char* into, std::size_t size) = 0;
};

// A new file written piece by piece. Destroying it closes the file; only Finish says that its bytes
// reached the disk.
class WriteStream {
public:
    WriteStream() = default;
    WriteStream(const WriteStream&) = delete;
    WriteStream& operator=(const WriteStream&) = delete;
    virtual ~WriteStream() = default;
    // Appends the bytes at the end.
    virtual void Write(std::string_view bytes) = 0;
    // Writes the bytes over written ones from `offset` on (a header completed once its sizes are
    // known); the end stays where it is, and later writes still append there.
    virtual void WriteAt(std::uint64_t offset, std::string_view bytes) = 0;
    // Drops every byte from `offset` on: the next write lands there.
    virtual void Truncate(std::uint64_t offset) = 0;
    // Flushes the data to disk and closes the file; nothing is written after it. Fails unless it is
    // a regular file on a disk.
    virtual void Finish() = 0;
};

class FileSystem {
public:
    FileSystem() = default;
    FileSystem(const FileSystem&) = delete;
    FileSystem& operator=(const FileSystem&) = delete;
    virtual ~FileSystem() = default;

    // A directory lookup with default attributes: true for a plain, read-only or archived file;
    // false for a folder, a hidden or a system file, and for nothing at all.
    virtual bool Exists(std::string_view path) = 0;
    virtual std::uint64_t SizeOf(std::string_view path) = 0;
    virtual std::string ReadAll(std::string_view path) = 0;
    // Creates a new file with the bytes and flushes them to disk; fails when anything of that name
    // is there already.
    virtual void WriteNew(std::string_view path, std::string_view bytes) = 0;
    // Flushes a file's data to disk and returns its size. Fails unless it is a regular file on a
    // disk (a device such as NUL or COM1 is not).
    virtual std::uint64_t Flush(std::string_view path) = 0;
    // Puts `from` in the place of `onto` in one step, replacing it.
    virtual void Replace(std::string_view from, std::string_view onto) = 0;
    // Copies a file, replacing a file at the destination; a read-only one is refused, as Windows does.
    virtual void Copy(std::string_view from, std::string_view to) = 0;
    // Tells a copy's progress: the bytes copied so far and the source's size. False stops the copy.
    using CopyProgress = std::function<bool(std::uint64_t copied, std::uint64_t size)>;
    // Copies as Copy does, a piece at a time, telling `progress` after each piece (and once before
    // the first), with the source's last-write time kept. False when `progress` stopped it: the
    // destination is removed then, as it is after a failure part way; the source is never changed.
    [[nodiscard]] virtual bool CopyWithProgress(std::string_view from, std::string_view to,
                                                const CopyProgress& progress) = 0;
    // Renames a file in one step, on its own volume only: across volumes it fails and copies
    // nothing. A file at `to` is replaced only when `replace` says so, and never a read-only one.
    virtual void Move(std::string_view from, std::string_view to, bool replace) = 0;
    // True when both files hold the same bytes (compared in chunks, after their sizes). Files of one
    // size tell `shown` the bytes compared so far and their size after each chunk.
    using CompareProgress = std::function<void(std::uint64_t compared, std::uint64_t size)>;
    virtual bool SameBytes(std::string_view a, std::string_view b, const CompareProgress& shown) = 0;
    bool SameBytes(std::string_view a, std::string_view b) {
        return SameBytes(a, b, [](std::uint64_t, std::uint64_t) {});
    }
    virtual void Remove(std::string_view path) = 0;
    // Puts a file in the Recycle Bin, so that the player can bring it back from the desktop. Where
    // the drive has none, Windows asks the player before deleting it for good. Fails, leaving the
    // file where it is, for a read-only file, a name the Recycle Bin cannot take, or a "No".
    virtual void Recycle(std::string_view path) = 0;
    // The first `count` bytes of a file (fewer when it is shorter).
    virtual std::string ReadStart(std::string_view path, std::size_t count) = 0;
    virtual void MakeFolder(std::string_view path) = 0;
    virtual void Rename(std::string_view from, std::string_view to) = 0;
    // Calls `each` with every entry that a wildcard search of `pattern` yields, folders and "."
    // included, one at a time, so that a folder of any size costs no memory per entry; the entry
    // passed is valid during the call only. Fails before the first entry where the search cannot start.
    virtual void ForEachFound(std::string_view pattern, const std::function<void(const FoundFile&)>& each) = 0;
    // The same entries kept in a list.
    std::vector<FoundFile> List(std::string_view pattern) {
        std::vector<FoundFile> found;
        ForEachFound(pattern, [&](const FoundFile& f) { found.push_back(f); });
        return found;
    }
    // A file opened for reading from its start; others may read it meanwhile, but not write it.
    virtual std::unique_ptr<ReadStream> OpenRead(std::string_view path) = 0;
    // A new, empty file for writing, which no one else may open until it is closed; fails when
    // anything of that name is there already.
    virtual std::unique_ptr<WriteStream> CreateNew(std::string_view path) = 0;
    // When a file was last written: 100-nanosecond ticks since 1 January 1601, UTC (a FILETIME).
    virtual std::uint64_t LastModified(std::string_view path) = 0;
};
