// Timing, bare file reads and writes, and the temporary game folder of the benchmarks.
#include "BenchSupport.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <stdexcept>

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
