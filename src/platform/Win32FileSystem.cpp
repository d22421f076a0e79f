// Win32 file operations; each failure becomes a Failure with Windows' description of it.
#include "platform/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/Failure.h"
#include "platform/Win32Error.h"

namespace {

// Owns a handle from CreateFileA or FindFirstFileA and closes it on every path out.
class Handle {
public:
    explicit Handle(HANDLE h, bool find = false) : h_(h), find_(find) {}
    ~Handle() {
        if (h_ == INVALID_HANDLE_VALUE) return;
        if (find_) FindClose(h_);
        else CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
    bool find_;
};

// The path as the ANSI functions take it. They would end it at a NUL byte and act on another file
// (a key holding one could name cache.ini itself), so such a path names nothing.
std::string Z(std::string_view s) {
    if (s.find('\0') != std::string_view::npos) throw Failure(Win32ErrorText(ERROR_INVALID_NAME));
    return std::string(s);
}

void Check(BOOL ok) {
    if (!ok) ThrowLastError();
}

// Windows refuses to write over a read-only file; Wine running as root does not (it replaces it on
// a copy or a move), so the refusal is made here for both.
void RefuseReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw Failure(Win32ErrorText(ERROR_ACCESS_DENIED));
}

// Reads up to `size` bytes, fewer only at the end of the file.
DWORD ReadChunk(HANDLE file, char* into, DWORD size) {
    DWORD done = 0;
    while (done < size) {
        DWORD got = 0;
        Check(ReadFile(file, into + done, size - done, &got, nullptr));
        if (got == 0) break;
        done += got;
    }
    return done;
}

}  // namespace

bool Win32FileSystem::Exists(std::string_view path) {
    const std::string p = Z(path);
    constexpr DWORD notDefault = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const auto absent = [](DWORD e) {
        return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_NO_MORE_FILES;
    };
    // Without wildcards, the file's attributes answer as a directory search would; Wine then reads
    // the folder once where the letter case differs from the disk's, a search reads it twice.
    if (p.find_first_of("*?") == std::string::npos) {
        const DWORD attributes = GetFileAttributesA(p.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & notDefault) == 0;
        const DWORD e = GetLastError();
        if (absent(e)) return false;
        throw Failure(Win32ErrorText(e));
    }
    // A directory search, as FindFirstFileA sees it: wildcards in the text are the caller's.
    WIN32_FIND_DATAA data;
    Handle find(FindFirstFileA(p.c_str(), &data), true);
    if (!find.valid()) {
        const DWORD e = GetLastError();
        if (absent(e)) return false;
        throw Failure(Win32ErrorText(e));
    }
    return (data.dwFileAttributes & notDefault) == 0;
}

std::uint64_t Win32FileSystem::SizeOf(std::string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    Check(GetFileAttributesExA(Z(path).c_str(), GetFileExInfoStandard, &data));
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) throw Failure(Win32ErrorText(ERROR_FILE_NOT_FOUND));
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string Win32FileSystem::ReadAll(std::string_view path) {
    Handle file(CreateFileA(Z(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) ThrowLastError();
    LARGE_INTEGER size;
    Check(GetFileSizeEx(file.get(), &size));
    // A file this build cannot hold in memory (4 GiB on 32-bit) is a failed read, never a short text.
    if (static_cast<std::uint64_t>(size.QuadPart) >= std::string().max_size())
        throw Failure(Win32ErrorText(ERROR_NOT_ENOUGH_MEMORY));
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        Check(ReadFile(file.get(), bytes.data() + done, want, &got, nullptr));
        // Ended before its size: whatever a rewrite made of a part would lose the rest.
        if (got == 0) throw Failure(Win32ErrorText(ERROR_HANDLE_EOF));
        done += got;
    }
    return bytes;
}

void Win32FileSystem::WriteNew(std::string_view path, std::string_view bytes) {
    Handle file(CreateFileA(Z(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) ThrowLastError();
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        Check(WriteFile(file.get(), bytes.data() + done, want, &put, nullptr));
        done += put;
    }
    Check(FlushFileBuffers(file.get()));
}

std::uint64_t Win32FileSystem::Flush(std::string_view path) {
    Handle file(CreateFileA(Z(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) ThrowLastError();
    // NUL, CON, COM1... open as character devices: whatever was "copied" there is gone.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) throw Failure(Win32ErrorText(ERROR_BAD_DEVICE));
    Check(FlushFileBuffers(file.get()));
    LARGE_INTEGER size;
    Check(GetFileSizeEx(file.get(), &size));
    return static_cast<std::uint64_t>(size.QuadPart);
}

void Win32FileSystem::Replace(std::string_view from, std::string_view onto) {
    Check(MoveFileExA(Z(from).c_str(), Z(onto).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

void Win32FileSystem::Copy(std::string_view from, std::string_view to) {
    const std::string onto = Z(to);
    RefuseReadOnly(onto);
    Check(CopyFileA(Z(from).c_str(), onto.c_str(), FALSE));
}

// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-movefileexa
void Win32FileSystem::Move(std::string_view from, std::string_view to, bool replace) {
    const std::string onto = Z(to);
    if (replace) RefuseReadOnly(onto);
    // No MOVEFILE_COPY_ALLOWED: across volumes the caller copies, checks the copy on disk and only
    // then deletes, which Wine's own copy-and-delete does not do.
    Check(MoveFileExA(Z(from).c_str(), onto.c_str(), MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0)));
}

bool Win32FileSystem::SameBytes(std::string_view a, std::string_view b) {
    const auto open = [](std::string_view path) {
        auto file = std::make_unique<Handle>(CreateFileA(Z(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file->valid()) ThrowLastError();
        return file;
    };
    const auto fa = open(a), fb = open(b);
    LARGE_INTEGER sa, sb;
    Check(GetFileSizeEx(fa->get(), &sa));
    Check(GetFileSizeEx(fb->get(), &sb));
    if (sa.QuadPart != sb.QuadPart) return false;
    constexpr DWORD Chunk = 1u << 20;
    std::vector<char> ca(Chunk), cb(Chunk);
    for (;;) {
        const DWORD got = ReadChunk(fa->get(), ca.data(), Chunk);
        if (ReadChunk(fb->get(), cb.data(), Chunk) != got || std::memcmp(ca.data(), cb.data(), got) != 0) return false;
        if (got < Chunk) return true;
    }
}

void Win32FileSystem::Remove(std::string_view path) { Check(DeleteFileA(Z(path).c_str())); }

void Win32FileSystem::MakeFolder(std::string_view path) { Check(CreateDirectoryA(Z(path).c_str(), nullptr)); }

void Win32FileSystem::Rename(std::string_view from, std::string_view to) {
    Check(MoveFileA(Z(from).c_str(), Z(to).c_str()));
}

std::vector<FoundFile> Win32FileSystem::List(std::string_view pattern) {
    WIN32_FIND_DATAA data;
    Handle find(FindFirstFileA(Z(pattern).c_str(), &data), true);
    if (!find.valid()) ThrowLastError();
    std::vector<FoundFile> found;
    do {
        found.push_back({data.cFileName, data.dwFileAttributes,
                         (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
    } while (FindNextFileA(find.get(), &data));
    return found;
}

std::uint64_t Win32FileSystem::LastModified(std::string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    Check(GetFileAttributesExA(Z(path).c_str(), GetFileExInfoStandard, &data));
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) throw Failure(Win32ErrorText(ERROR_FILE_NOT_FOUND));
    return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}
