// Win32 file operations; each failure becomes a Failure with Windows' description of it.
#include "platform/Win32FileSystem.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/Failure.h"
#include "platform/Utf.h"
#include "platform/WideText.h"
#include "platform/Win32Error.h"

namespace {

// Owns a handle from CreateFileW or FindFirstFileW and closes it on every path out.
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
    // Closes it now, so that a failure to close (where Windows may report a write it had deferred)
    // is not lost in a destructor.
    void Close() {
        const HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        if (!(find_ ? FindClose(h) : CloseHandle(h))) ThrowLastError();
    }

private:
    HANDLE h_;
    bool find_;
};

[[noreturn]] void Refuse(DWORD error) { throw Failure(Win32ErrorText(error)); }

// The full path of a folder as Windows resolves it (relative paths, "." and "..", "/"), with a
// final backslash.
std::wstring FullFolder(const std::wstring& folder) {
    const DWORD n = GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr);
    if (n == 0) ThrowLastError();
    std::wstring full(n, L'\0');
    const DWORD got = GetFullPathNameW(folder.c_str(), n, full.data(), nullptr);
    if (got == 0 || got >= n) ThrowLastError();
    full.resize(got);
    if (full.empty() || full.back() != L'\\') full += L'\\';
    return full;
}

bool SameNameIgnoringCase(const wchar_t* a, const std::wstring& b) {
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a, -1, b.c_str(), static_cast<int>(b.size())) ==
           CSTR_EQUAL;
}

// The path as the ...W functions take it exactly: the folders before its last name resolved as
// Windows resolves them, then that name as it is, after "\\?\" so that Windows trims no final dot
// or blank (or "cache.ini." would be cache.ini) and paths past 260 characters work. A path with a
// NUL, or bytes that are not UTF-8, names nothing. `name` receives the last name.
std::wstring Exact(std::string_view path, std::wstring* name = nullptr) {
    if (path.find('\0') != std::string_view::npos) Refuse(ERROR_INVALID_NAME);
    std::u16string units;
    if (!Utf16FromUtf8(path, units)) Refuse(ERROR_INVALID_NAME);
    std::wstring p(units.begin(), units.end());
    if (p.compare(0, 4, L"\\\\?\\") == 0 || p.compare(0, 4, L"\\\\.\\") == 0) return p;
    const std::size_t slash = p.find_last_of(L"\\/");
    std::wstring folder = slash == std::wstring::npos ? L".\\" : p.substr(0, slash + 1);
    std::wstring last = slash == std::wstring::npos ? p : p.substr(slash + 1);
    if (last == L"." || last == L"..") {  // a folder by its own rules
        folder = p + L"\\";
        last.clear();
    }
    if (folder.size() == 2 && folder[1] == L':') folder += L'.';  // "C:" alone is the drive's current folder
    std::wstring full = FullFolder(folder);
    if (name != nullptr) *name = last;
    full += last;
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// True when the path's last name holds a "~" and is the short (8.3) name of a file whose own name
// is another: Windows would act on that file.
bool IsShortNameOfAnother(const std::wstring& exact, const std::wstring& name) {
    if (name.find(L'~') == std::wstring::npos) return false;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(exact.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return !SameNameIgnoringCase(data.cFileName, name);
}

// The exact path of a file the operation acts on; a short name of another file is refused.
std::wstring Z(std::string_view path) {
    std::wstring name;
    std::wstring exact = Exact(path, &name);
    if (IsShortNameOfAnother(exact, name))
        throw Failure("\"" + Narrow(name) + "\" is only the short name of another file, so Morvane leaves it alone.");
    return exact;
}

void Check(BOOL ok) {
    if (!ok) ThrowLastError();
}

// Windows refuses to write over a read-only file; Wine running as root does not (it replaces it on
// a copy or a move), so the refusal is made here for both.
void RefuseReadOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
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

void MoveTo(HANDLE file, std::uint64_t offset, DWORD from) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    Check(SetFilePointerEx(file, to, nullptr, from));
}

void WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        Check(WriteFile(file, bytes.data(), want, &put, nullptr));
        bytes.remove_prefix(put);
    }
}

class Win32ReadStream final : public ReadStream {
public:
    explicit Win32ReadStream(HANDLE file) : file_(file) {}
    std::size_t Read(char* into, std::size_t size) override {
        return ReadChunk(file_.get(), into, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)));
    }

private:
    Handle file_;
};

class Win32WriteStream final : public WriteStream {
public:
    explicit Win32WriteStream(HANDLE file) : file_(file) {}
    void Write(std::string_view bytes) override { WriteAll(file_.get(), bytes); }
    void WriteAt(std::uint64_t offset, std::string_view bytes) override {
        MoveTo(file_.get(), offset, FILE_BEGIN);
        WriteAll(file_.get(), bytes);
        MoveTo(file_.get(), 0, FILE_END);
    }
    void Truncate(std::uint64_t offset) override {
        MoveTo(file_.get(), offset, FILE_BEGIN);
        Check(SetEndOfFile(file_.get()));
    }
    void Finish() override {
        if (GetFileType(file_.get()) != FILE_TYPE_DISK) throw Failure(Win32ErrorText(ERROR_BAD_DEVICE));
        Check(FlushFileBuffers(file_.get()));
        file_.Close();
    }

private:
    Handle file_;
};

}  // namespace

bool Win32FileSystem::Exists(std::string_view path) {
    std::wstring name;
    const std::wstring p = Exact(path, &name);
    constexpr DWORD notDefault = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const auto absent = [](DWORD e) {
        return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_NO_MORE_FILES ||
               e == ERROR_INVALID_NAME;
    };
    // Without wildcards, the file's attributes answer as a directory search would; Wine then reads
    // the folder once where the letter case differs from the disk's, a search reads it twice.
    if (name.find_first_of(L"*?") == std::wstring::npos) {
        const DWORD attributes = GetFileAttributesW(p.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES)
            return (attributes & notDefault) == 0 && !IsShortNameOfAnother(p, name);
        const DWORD e = GetLastError();
        if (absent(e)) return false;
        throw Failure(Win32ErrorText(e));
    }
    // A directory search, as FindFirstFileW sees it: wildcards in the text are the caller's.
    WIN32_FIND_DATAW data;
    Handle find(FindFirstFileW(p.c_str(), &data), true);
    if (!find.valid()) {
        const DWORD e = GetLastError();
        if (absent(e)) return false;
        throw Failure(Win32ErrorText(e));
    }
    return (data.dwFileAttributes & notDefault) == 0;
}

std::uint64_t Win32FileSystem::SizeOf(std::string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    Check(GetFileAttributesExW(Z(path).c_str(), GetFileExInfoStandard, &data));
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) throw Failure(Win32ErrorText(ERROR_FILE_NOT_FOUND));
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string Win32FileSystem::ReadAll(std::string_view path) {
    Handle file(CreateFileW(Z(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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
    Handle file(CreateFileW(Z(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) ThrowLastError();
    WriteAll(file.get(), bytes);
    Check(FlushFileBuffers(file.get()));
}

std::uint64_t Win32FileSystem::Flush(std::string_view path) {
    Handle file(CreateFileW(Z(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
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
    Check(MoveFileExW(Z(from).c_str(), Z(onto).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

void Win32FileSystem::Copy(std::string_view from, std::string_view to) {
    const std::wstring onto = Z(to);
    RefuseReadOnly(onto);
    Check(CopyFileW(Z(from).c_str(), onto.c_str(), FALSE));
}

// A piece at a time with ReadFile and WriteFile rather than CopyFileExW: Wine never calls
// CopyFileExW's progress routine, and a copy whose progress and Cancel work only on Windows could
// not be tested.
bool Win32FileSystem::CopyWithProgress(std::string_view from, std::string_view to, const CopyProgress& progress) {
    const std::wstring onto = Z(to), exactFrom = Z(from);
    Handle source(CreateFileW(exactFrom.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source.valid()) ThrowLastError();
    // Size, time and attributes asked for one by one: under Wine GetFileInformationByHandle also
    // reads the volume's serial number, which costs more than copying a small package.
    LARGE_INTEGER sourceSize;
    FILETIME written;
    Check(GetFileSizeEx(source.get(), &sourceSize));
    Check(GetFileTime(source.get(), nullptr, nullptr, &written));
    const DWORD attributes = GetFileAttributesW(exactFrom.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) ThrowLastError();
    const auto size = static_cast<std::uint64_t>(sourceSize.QuadPart);
    // A new file is made as such; only a file already there is looked at for the read-only mark
    // first, which saves every new copy a second search of the destination folder.
    const auto create = [&](DWORD how) {
        return CreateFileW(onto.c_str(), GENERIC_WRITE, 0, nullptr, how,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    };
    HANDLE made = create(CREATE_NEW);
    if (made == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) {
        RefuseReadOnly(onto);
        made = create(CREATE_ALWAYS);
    }
    Handle destination(made);
    if (!destination.valid()) ThrowLastError();
    // Whatever stops the copy part way (Cancel, a failure, an exception of `progress`) removes
    // what was written, so that no half file is ever left under the package's name.
    struct Discard {
        Handle& file;
        const std::wstring& path;
        bool keep = false;
        ~Discard() {
            if (keep) return;
            try {
                if (file.valid()) file.Close();
            } catch (const Failure&) {
                // Closed all the same; the file goes below.
            }
            DeleteFileW(path.c_str());
        }
    } discard{destination, onto};
    // Read and written 64 KiB at a time, as Windows' and Wine's own copies do (a piece that stays in
    // the processor's cache), and reported every mebibyte: often enough that the progress of a
    // package of a few megabytes moves.
    constexpr DWORD Piece = 1u << 16, Report = 1u << 20;
    const std::unique_ptr<char[]> buffer(new char[Piece]);
    std::uint64_t copied = 0, reported = 0;
    if (!progress(copied, size)) return false;
    for (DWORD got; (got = ReadChunk(source.get(), buffer.get(), Piece)) != 0;) {
        WriteAll(destination.get(), std::string_view(buffer.get(), got));
        copied += got;
        if (copied - reported >= Report && !progress(reported = copied, size)) return false;
    }
    if (copied != reported && !progress(copied, size)) return false;
    Check(SetFileTime(destination.get(), nullptr, nullptr, &written));
    destination.Close();
    discard.keep = true;
    constexpr DWORD Kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (attributes & Kept) Check(SetFileAttributesW(onto.c_str(), attributes & Kept));
    return true;
}

// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-movefileexa
void Win32FileSystem::Move(std::string_view from, std::string_view to, bool replace) {
    const std::wstring onto = Z(to);
    if (replace) RefuseReadOnly(onto);
    // No MOVEFILE_COPY_ALLOWED: across volumes the caller copies, checks the copy on disk and only
    // then deletes, which Wine's own copy-and-delete does not do.
    Check(MoveFileExW(Z(from).c_str(), onto.c_str(), MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0)));
}

bool Win32FileSystem::SameBytes(std::string_view a, std::string_view b, const CompareProgress& shown) {
    const auto open = [](std::string_view path) {
        auto file = std::make_unique<Handle>(CreateFileW(Z(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
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
    const auto size = static_cast<std::uint64_t>(sa.QuadPart);
    for (std::uint64_t compared = 0;;) {
        const DWORD got = ReadChunk(fa->get(), ca.data(), Chunk);
        if (ReadChunk(fb->get(), cb.data(), Chunk) != got || std::memcmp(ca.data(), cb.data(), got) != 0) return false;
        shown(compared += got, size);
        if (got < Chunk) return true;
    }
}

void Win32FileSystem::Remove(std::string_view path) { Check(DeleteFileW(Z(path).c_str())); }

// https://learn.microsoft.com/windows/win32/api/shellapi/nf-shellapi-shfileoperationw
void Win32FileSystem::Recycle(std::string_view path) {
    std::wstring name;
    const std::wstring exact = Z(path);
    Exact(path, &name);
    RefuseReadOnly(exact);
    // The shell takes plain paths only, which Windows trims and limits to 260 characters: a name it
    // would change (none that Morvane writes) is not given to it, so it can never recycle another file.
    std::wstring plain = exact.compare(0, 8, L"\\\\?\\UNC\\") == 0 ? L"\\\\" + exact.substr(8) : exact.substr(4);
    if (plain.size() >= MAX_PATH || name.empty() || name.back() == L'.' || name.back() == L' ')
        throw Failure("\"" + std::string(path) + "\" cannot be put in the Recycle Bin.");
    plain.push_back(L'\0');  // the list of files ends with an empty one
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = plain.c_str();
    // Undoable; no questions of its own but one: where the drive has no Recycle Bin, the shell asks
    // before it deletes the file for good, and a "No" leaves it where it is.
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI | FOF_WANTNUKEWARNING;
    const int result = SHFileOperationW(&operation);
    if (operation.fAnyOperationsAborted)
        throw Failure("\"" + std::string(path) + "\" was not put in the Recycle Bin.");
    if (result != 0) throw Failure(Win32ErrorText(static_cast<DWORD>(result)));
    if (GetFileAttributesW(exact.c_str()) != INVALID_FILE_ATTRIBUTES)
        throw Failure("\"" + std::string(path) + "\" is still there after it was put in the Recycle Bin.");
}

std::string Win32FileSystem::ReadStart(std::string_view path, std::size_t count) {
    Handle file(CreateFileW(Z(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) ThrowLastError();
    std::string bytes(count, '\0');
    bytes.resize(ReadChunk(file.get(), bytes.data(), static_cast<DWORD>(count)));
    return bytes;
}

void Win32FileSystem::MakeFolder(std::string_view path) { Check(CreateDirectoryW(Z(path).c_str(), nullptr)); }

void Win32FileSystem::Rename(std::string_view from, std::string_view to) {
    Check(MoveFileW(Z(from).c_str(), Z(to).c_str()));
}

void Win32FileSystem::ForEachFound(std::string_view pattern, const std::function<void(const FoundFile&)>& each) {
    WIN32_FIND_DATAW data;
    Handle find(FindFirstFileW(Exact(pattern).c_str(), &data), true);
    if (!find.valid()) ThrowLastError();
    FoundFile found{};  // one name buffer for the whole search
    do {
        std::size_t length = 0;
        while (length < MAX_PATH && data.cFileName[length] != L'\0') ++length;
        found.name.clear();
        AppendUtf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(data.cFileName), length), found.name);
        found.attributes = data.dwFileAttributes;
        found.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        found.modified = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                         data.ftLastWriteTime.dwLowDateTime;
        each(found);
    } while (FindNextFileW(find.get(), &data));
}

std::unique_ptr<ReadStream> Win32FileSystem::OpenRead(std::string_view path) {
    const HANDLE file = CreateFileW(Z(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) ThrowLastError();
    return std::make_unique<Win32ReadStream>(file);
}

std::unique_ptr<WriteStream> Win32FileSystem::CreateNew(std::string_view path) {
    const HANDLE file = CreateFileW(Z(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) ThrowLastError();
    return std::make_unique<Win32WriteStream>(file);
}

std::uint64_t Win32FileSystem::LastModified(std::string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    Check(GetFileAttributesExW(Z(path).c_str(), GetFileExInfoStandard, &data));
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) throw Failure(Win32ErrorText(ERROR_FILE_NOT_FOUND));
    return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}
