// The file system port on Linux through stdio and stat: the program's backslashes become slashes,
// names are used as they are (letter case counts). Only what the exports use is there; every other
// operation fails. Each failure becomes a Failure with the system's text.
#include "tools/PosixFileSystem.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/Failure.h"

namespace {

std::string Native(std::string_view path) {
    std::string native(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

void Check(bool ok) {
    if (!ok) throw Failure(std::strerror(errno));
}

struct stat Stat(std::string_view path) {
    struct stat s {};
    Check(stat(Native(path).c_str(), &s) == 0);
    if (!S_ISREG(s.st_mode)) throw Failure("Not a regular file.");
    return s;
}

// A file opened for reading or for writing; closed when destroyed.
class Stream final : public ReadStream, public WriteStream {
public:
    Stream(std::string_view path, const char* mode) : file_(fopen(Native(path).c_str(), mode)) {
        Check(file_ != nullptr);
    }
    ~Stream() override {
        if (file_ != nullptr) fclose(file_);
    }
    std::size_t Read(char* into, std::size_t size) override {
        const std::size_t got = fread(into, 1, size, file_);
        Check(!ferror(file_));
        return got;
    }
    void Write(std::string_view bytes) override { Check(fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size()); }
    void WriteAt(std::uint64_t offset, std::string_view bytes) override {
        Check(fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0);
        Write(bytes);
        Check(fseeko(file_, 0, SEEK_END) == 0);
    }
    void Truncate(std::uint64_t offset) override {
        Check(fflush(file_) == 0 && ftruncate(fileno(file_), static_cast<off_t>(offset)) == 0 &&
              fseeko(file_, 0, SEEK_END) == 0);
    }
    void Finish() override {
        FILE* const file = std::exchange(file_, nullptr);
        const bool flushed = fflush(file) == 0 && fsync(fileno(file)) == 0;
        Check(fclose(file) == 0 && flushed);
    }

private:
    FILE* file_;
};

class PosixFileSystem final : public FileSystem {
public:
    bool Exists(std::string_view path) override {
        struct stat s {};
        return stat(Native(path).c_str(), &s) == 0 && S_ISREG(s.st_mode);
    }
    std::uint64_t SizeOf(std::string_view path) override { return static_cast<std::uint64_t>(Stat(path).st_size); }
    std::uint64_t LastModified(std::string_view path) override {
        const struct stat s = Stat(path);
        constexpr std::uint64_t UnixEpoch = 116444736000000000;  // 1970 in ticks since 1601
        return UnixEpoch + static_cast<std::uint64_t>(s.st_mtim.tv_sec) * 10000000 +
               static_cast<std::uint64_t>(s.st_mtim.tv_nsec) / 100;
    }
    std::unique_ptr<ReadStream> OpenRead(std::string_view path) override {
        Stat(path);
        return std::make_unique<Stream>(path, "rb");
    }
    std::unique_ptr<WriteStream> CreateNew(std::string_view path) override {
        return std::make_unique<Stream>(path, "wbx");  // "x": nothing of that name may be there
    }
    void Move(std::string_view from, std::string_view to, bool replace) override {
        const unsigned flags = replace ? 0 : RENAME_NOREPLACE;
        Check(renameat2(AT_FDCWD, Native(from).c_str(), AT_FDCWD, Native(to).c_str(), flags) == 0);
    }
    void Remove(std::string_view path) override { Check(unlink(Native(path).c_str()) == 0); }

    std::string ReadAll(std::string_view) override { Unused(); }
    void WriteNew(std::string_view, std::string_view) override { Unused(); }
    std::uint64_t Flush(std::string_view) override { Unused(); }
    void Replace(std::string_view, std::string_view) override { Unused(); }
    void Copy(std::string_view, std::string_view) override { Unused(); }
    bool CopyWithProgress(std::string_view, std::string_view, const CopyProgress&) override { Unused(); }
    bool SameBytes(std::string_view, std::string_view) override { Unused(); }
    void Recycle(std::string_view) override { Unused(); }
    std::string ReadStart(std::string_view, std::size_t) override { Unused(); }
    void MakeFolder(std::string_view) override { Unused(); }
    void Rename(std::string_view, std::string_view) override { Unused(); }
    void ForEachFound(std::string_view, const std::function<void(const FoundFile&)>&) override { Unused(); }

private:
    [[noreturn]] static void Unused() { throw Failure("The tool does not use this operation."); }
};

}  // namespace

std::unique_ptr<FileSystem> DiskFileSystem() { return std::make_unique<PosixFileSystem>(); }
