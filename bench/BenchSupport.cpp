// Timing, bare file reads and writes, files by the thousand, and the count of the heap in use.
#include "BenchSupport.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <new>
#include <stdexcept>

#include "platform/WideText.h"

namespace {

std::atomic<std::size_t> heapNow{0}, heapPeak{0};
// Each block starts with its size, so that a delete knows how much goes; the header keeps the
// alignment malloc gives.
constexpr std::size_t Header = alignof(std::max_align_t);

void* Allocate(std::size_t size) {
    void* block = std::malloc(size + Header);
    if (block == nullptr) throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    const std::size_t now = heapNow += size;
    if (now > heapPeak) heapPeak = now;
    return static_cast<char*>(block) + Header;
}

void Release(void* p) noexcept {
    if (p == nullptr) return;
    void* block = static_cast<char*>(p) - Header;
    heapNow -= *static_cast<std::size_t*>(block);
    std::free(block);
}

// Wine's own export, absent on Windows: where Wine is, it gives a path's Unix name.
using UnixNameOf = char*(__cdecl*)(const wchar_t*);

// Makes the files a manifest lists (relative path, size, relative path of the file to copy), on
// the Unix side of Wine, then writes "ok" or what went wrong to the file named last: Wine does not
// wait for a Unix process, so the benchmark waits for that file.
const char MakerScript[] = R"(import os, shutil, sys
manifest, root, done = sys.argv[1:4]
try:
    for line in open(manifest, encoding='utf-8'):
        path, size, source = line.rstrip('\n').split('\t')
        path = os.path.join(root, path)
        if source:
            shutil.copy2(os.path.join(root, source), path)
        else:
            with open(path, 'wb') as f:
                f.truncate(int(size))
    outcome = 'ok'
except Exception as e:
    outcome = repr(e)
with open(done + '.part', 'w') as f:
    f.write(outcome)
os.rename(done + '.part', done)
)";

// Under Wine, a new file's name is first compared with every name in its folder (a search without
// letter case), so that 90,000 files in one folder take the best part of an hour; one Unix process
// makes them in seconds. False where there is no Wine.
bool MakeFilesOnUnixSide(const std::string& gameFolder, const std::vector<NewFile>& files) {
    const auto unixNameOf = reinterpret_cast<UnixNameOf>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (unixNameOf == nullptr) return false;
    char* root = unixNameOf(Wide(gameFolder).c_str());
    if (root == nullptr) throw std::runtime_error("no Unix name for " + gameFolder);
    const std::string unixRoot = root;
    HeapFree(GetProcessHeap(), 0, root);
    const auto relative = [&](const std::string& path) {
        if (path.compare(0, gameFolder.size() + 1, gameFolder + "\\") != 0)
            throw std::runtime_error(path + " is not in " + gameFolder);
        std::string tail = path.substr(gameFolder.size() + 1);
        std::replace(tail.begin(), tail.end(), '\\', '/');
        return tail;
    };
    std::string manifest;
    for (const NewFile& f : files)
        manifest += relative(f.path) + "\t" + std::to_string(f.size) + "\t" +
                    (f.copyOf.empty() ? "" : relative(f.copyOf)) + "\n";
    const std::string helper = gameFolder + "\\make-files";
    WriteBare(helper + ".txt", manifest);
    WriteBare(helper + ".py", MakerScript);
    const std::string unixHelper = unixRoot + "/make-files";
    std::wstring command = Wide("/usr/bin/python3 \"" + unixHelper + ".py\" \"" + unixHelper + ".txt\" \"" +
                                unixRoot + "\" \"" + unixHelper + ".done\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("cannot start python3 to make the files");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::wstring done = Wide(helper + ".done");
    for (int waited = 0; GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++waited) {
        if (waited == 6000) throw std::runtime_error("python3 made no files in ten minutes");
        Sleep(100);
    }
    const std::string outcome = ReadBare(helper + ".done");
    for (const char* end : {".txt", ".py", ".done"}) DeleteFileW(Wide(helper + end).c_str());
    if (outcome != "ok") throw std::runtime_error("python3 could not make the files: " + outcome);
    return true;
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

double TimeMs(const Job& job) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    job();
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

Best Alternate(int reps, const Job& ours, const Job& floor, const Job& prepare) {
    Best best{std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
    for (int i = 0; i < reps; ++i) {
        // Swap the order every round, so neither side always runs on the other's leftovers.
        for (int side = 0; side < 2; ++side) {
            const bool oursNow = (side == 0) == (i % 2 == 0);
            if (prepare) prepare();
            const double ms = TimeMs(oursNow ? ours : floor);
            double& kept = oursNow ? best.ours : best.floor;
            kept = std::min(kept, ms);
        }
    }
    return best;
}

void PrintRatio(std::string_view what, std::string_view floorName, Best best, double target) {
    const double ratio = best.ours / best.floor;
    std::printf("%.*s: ours %.1f ms, %.*s %.1f ms, ratio %.2f (target <= %g)%s\n", static_cast<int>(what.size()),
                what.data(), best.ours, static_cast<int>(floorName.size()), floorName.data(), best.floor, ratio,
                target, ratio <= target ? "" : "  MISSED");
    std::fflush(stdout);
}

std::string ReadBare(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    if (!ok) throw std::runtime_error("cannot read " + path);
    bytes.resize(got);
    return bytes;
}

void WriteBare(const std::string& path, std::string_view bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
    DWORD put = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(file);
    if (!ok || put != bytes.size()) throw std::runtime_error("cannot write " + path);
}

void MakeFiles(const std::string& gameFolder, const std::vector<NewFile>& files) {
    if (MakeFilesOnUnixSide(gameFolder, files)) return;
    for (const NewFile& f : files) {
        if (f.copyOf.empty()) WriteBare(f.path, std::string(static_cast<std::size_t>(f.size), 'x'));
        else if (!CopyFileW(Wide(f.copyOf).c_str(), Wide(f.path).c_str(), FALSE))  // keeps the last-write time
            throw std::runtime_error("cannot copy " + f.copyOf);
    }
}

HeapUse Heap() { return {heapNow, heapPeak}; }

void ResetPeak() { heapPeak = heapNow.load(); }

void PrintPeak(std::string_view what, std::size_t before, std::size_t peak, std::string_view base,
               std::size_t baseBytes, double target) {
    const double mb = 1024.0 * 1024.0, ratio = static_cast<double>(peak - before) / static_cast<double>(baseBytes);
    std::printf("%.*s: peak %.1f MB beyond the %.1f MB before, %.2f x %.*s of %.1f MB (target <= %g)%s\n",
                static_cast<int>(what.size()), what.data(), static_cast<double>(peak - before) / mb,
                static_cast<double>(before) / mb, ratio, static_cast<int>(base.size()), base.data(),
                static_cast<double>(baseBytes) / mb, target, ratio <= target ? "" : "  MISSED");
    std::fflush(stdout);
}
