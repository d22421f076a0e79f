// Linux file operations for the tools; each failure becomes a Failure with the system's text.
#include "tools/PosixFileSystem.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Failure.h"

namespace {

std::string Native(std::string_view path) {
    std::string native(path);
    for (char& c : native) c = c == '\\' ? '/' : c;
    return native;
}

[[noreturn]] void Refuse() { throw Failure(std::strerror(errno)); }

struct stat Stat(std::string_view path) {
    struct stat s {};
    if (stat(Native(path).c_str(), &s) != 0) Refuse();
    if (!S_ISREG(s.st_mode)) throw Failure("Not a regular file.");
    return s;
}

class PosixReadStream final : public ReadStream {
public:
    explicit PosixReadStream(int fd) : fd_(fd) {}
    ~PosixReadStream() override { close(fd_); }
    std::size_t Read(char* into, std::size_t size) override {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t got = read(fd_, into + done, size - done);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) Refuse();
            if (got == 0) break;
            done += static_cast<std::size_t>(got);
        }
        return done;
    }

private:
    int fd_;
};

class PosixWriteStream final : public WriteStream {
public:
    explicit PosixWriteStream(int fd) : fd_(fd) {}
    ~PosixWriteStream() override {
        if (fd_ >= 0) close(fd_);
    }
    void Write(std::string_view bytes) override {
        for (; !bytes.empty();) {
            const ssize_t put = write(fd_, bytes.data(), bytes.size());
            if (put < 0 && errno == EINTR) continue;
            if (put < 0) Refuse();
            bytes.remove_prefix(static_cast<std::size_t>(put));
        }
    }
    void WriteAt(std::uint64_t offset, std::string_view bytes) override {
        for (; !bytes.empty();) {
            const ssize_t put = pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
            if (put < 0 && errno == EINTR) continue;
            if (put < 0) Refuse();
            bytes.remove_prefix(static_cast<std::size_t>(put));
            offset += static_cast<std::uint64_t>(put);
        }
    }
    void Truncate(std::uint64_t offset) override {
        if (ftruncate(fd_, static_cast<off_t>(offset)) != 0 || lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0)
            Refuse();
    }
    void Finish() override {
        const int fd = fd_;
        fd_ = -1;
        if (fsync(fd) != 0) {
            close(fd);
            Refuse();
        }
        if (close(fd) != 0) Refuse();
    }

private:
    int fd_;
};

}  // namespace

void PosixFileSystem::Unused() { throw Failure("The tools do not use this operation."); }

bool PosixFileSystem::Exists(std::string_view path) {
    struct stat s {};
    return stat(Native(path).c_str(), &s) == 0 && S_ISREG(s.st_mode);
}

std::uint64_t PosixFileSystem::SizeOf(std::string_view path) { return static_cast<std::uint64_t>(Stat(path).st_size); }

std::uint64_t PosixFileSystem::LastModified(std::string_view path) {
    const struct stat s = Stat(path);
    constexpr std::uint64_t UnixEpoch = 116444736000000000;  // 1970 in ticks since 1601
    return UnixEpoch + static_cast<std::uint64_t>(s.st_mtim.tv_sec) * 10000000 +
           static_cast<std::uint64_t>(s.st_mtim.tv_nsec) / 100;
}

std::unique_ptr<ReadStream> PosixFileSystem::OpenRead(std::string_view path) {
    Stat(path);
    const int fd = open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Refuse();
    return std::make_unique<PosixReadStream>(fd);
}

std::unique_ptr<WriteStream> PosixFileSystem::CreateNew(std::string_view path) {
    const int fd = open(Native(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) Refuse();
    return std::make_unique<PosixWriteStream>(fd);
}

void PosixFileSystem::Move(std::string_view from, std::string_view to, bool replace) {
    if (renameat2(AT_FDCWD, Native(from).c_str(), AT_FDCWD, Native(to).c_str(), replace ? 0 : RENAME_NOREPLACE) != 0)
        Refuse();
}

void PosixFileSystem::Remove(std::string_view path) {
    if (unlink(Native(path).c_str()) != 0) Refuse();
}
