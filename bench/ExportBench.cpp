// The exports of 1,000 cached files of 1 MB of compressible data: one zip of them, against zlib's
// own deflate of the same bytes at the same level (one raw stream a file) with a bare reading of
// each file and a bare writing of the deflated bytes into one file; and a .uz2 file of each,
// against compress2 of each 32,768-byte chunk with the same bare reading and a bare writing of one
// file a package.
#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "export/Export.h"
#include "platform/Win32FileSystem.h"

namespace {

constexpr int Files = 1000;
constexpr std::size_t Size = 1 << 20, Piece = 256 * 1024;

// Like a package's bytes: names and small numbers over and over, with some noise; deflate makes it
// about a quarter of its size.
std::string Compressible() {
    const char* const words[] = {"Engine.", "Actor", "Texture'", "StaticMesh", "Emitter", "Default", "Class"};
    std::string bytes;
    std::uint32_t x = 2463534242u;
    while (bytes.size() < Size) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        switch (x % 4) {
            case 0: bytes += words[(x >> 8) % 7]; break;
            case 1: bytes.append((x >> 8) % 24, '\0'); break;
            case 2: bytes += static_cast<char>((x >> 8) & 0x1F); break;
            default: bytes += static_cast<char>(x >> 24); break;
        }
    }
    bytes.resize(Size);
    return bytes;
}

// Reads a file in pieces with nothing but CreateFileA and ReadFile, handing each to `take`.
template <typename Take>
void ReadPieces(const std::string& path, std::vector<char>& buffer, const Take& take) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    DWORD got = 0;
    while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got != 0)
        take(buffer.data(), static_cast<std::size_t>(got));
    CloseHandle(file);
}

struct Output {
    HANDLE file;
    explicit Output(const std::string& path)
        : file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~Output() { CloseHandle(file); }
    void Put(const void* bytes, std::size_t size) {
        DWORD put = 0;
        WriteFile(file, bytes, static_cast<DWORD>(size), &put, nullptr);
    }
};

}  // namespace

int main() {
    BenchGame game;
    const std::string bytes = Compressible(), out = game.Path("\\Out"), floorOut = game.Path("\\Floor");
    CreateDirectoryA(out.c_str(), nullptr);
    CreateDirectoryA(floorOut.c_str(), nullptr);
    std::vector<ExportPackage> packages;
    std::vector<std::string> cached;
    for (int i = 1; i <= Files; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "DM-%04d.ut2", i);
        packages.push_back({name, BenchGame::KeyFor(i)});
        cached.push_back(game.Path("\\Cache\\" + packages.back().key + "-1.uxx"));
        WriteBare(cached.back(), bytes);
    }
    Win32FileSystem files;
    ExportCallbacks callbacks;
    std::size_t reports = 0;
    callbacks.progress = [&](const ExportProgress&) { return ++reports, true; };
    std::vector<char> in(Piece), deflated(Piece);
    std::uint64_t floorBytes = 0;  // keeps the floor's work from being optimised away, and is compared

    const std::string zip = out + "\\Share.zip", floorZip = floorOut + "\\Share.deflated";
    ExportResult zipped;
    std::uint64_t zipSize = 0;  // read at once: the next side's preparation removes the zip
    const Best zipBest = Alternate(
        1,
        [&] {
            zipped = ExportZip(files, game.Folder(), packages, "Help", zip, callbacks);
            zipSize = files.SizeOf(zip);
        },
        [&] {
            Output output(floorZip);
            z_stream z{};
            deflateInit2(&z, ExportLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
            floorBytes = 0;
            for (const std::string& path : cached) {
                deflateReset(&z);
                const auto squeeze = [&](char* piece, std::size_t size, int flush) {
                    z.next_in = reinterpret_cast<Bytef*>(piece);
                    z.avail_in = static_cast<uInt>(size);
                    do {
                        z.next_out = reinterpret_cast<Bytef*>(deflated.data());
                        z.avail_out = static_cast<uInt>(deflated.size());
                        deflate(&z, flush);
                        output.Put(deflated.data(), deflated.size() - z.avail_out);
                        floorBytes += deflated.size() - z.avail_out;
                    } while (z.avail_out == 0);
                };
                ReadPieces(path, in, [&](char* piece, std::size_t size) { squeeze(piece, size, Z_NO_FLUSH); });
                squeeze(nullptr, 0, Z_FINISH);
            }
            deflateEnd(&z);
        },
        [&] { DeleteFileA(zip.c_str()); });
    if (zipped.packages != Files || zipSize < floorBytes || zipSize > floorBytes + Files * 200) {
        std::printf("zip: %zu packages, %llu bytes against %llu deflated\n", zipped.packages,
                    static_cast<unsigned long long>(zipSize), static_cast<unsigned long long>(floorBytes));
        return 1;
    }
    PrintRatio("zip: 1000 files of 1 MB (" + std::to_string(zipSize / Files) + " bytes each deflated)",
               "zlib's deflate + bare reading and writing", zipBest, 1.2);

    ExportResult compressed;
    std::uint64_t uz2Size = 0;
    const Best uz2Best = Alternate(
        1,
        [&] {
            compressed = CompressForRedirect(files, game.Folder(), packages, out, callbacks);
            uz2Size = files.SizeOf(out + "\\DM-0001.ut2.uz2");
        },
        [&] {
            floorBytes = 0;
            std::vector<Bytef> chunk(compressBound(32768));
            for (int i = 0; i < Files; ++i) {
                Output output(floorOut + "\\" + packages[static_cast<std::size_t>(i)].realName + ".uz2");
                std::string written;
                ReadPieces(cached[static_cast<std::size_t>(i)], in, [&](char* piece, std::size_t size) {
                    written.clear();
                    for (std::size_t at = 0; at < size; at += 32768) {
                        uLongf length = static_cast<uLongf>(chunk.size());
                        const uLong part = static_cast<uLong>(std::min<std::size_t>(32768, size - at));
                        compress2(chunk.data(), &length, reinterpret_cast<const Bytef*>(piece + at), part, ExportLevel);
                        const std::uint32_t sizes[] = {static_cast<std::uint32_t>(length), static_cast<std::uint32_t>(part)};
                        written.append(reinterpret_cast<const char*>(sizes), 8);
                        written.append(reinterpret_cast<const char*>(chunk.data()), length);
                    }
                    output.Put(written.data(), written.size());
                    floorBytes += written.size();
                });
            }
        },
        [&] {
            for (const ExportPackage& p : packages) DeleteFileA((out + "\\" + p.realName + ".uz2").c_str());
        });
    if (compressed.packages != Files || uz2Size * Files != floorBytes) {
        std::printf("uz2: %zu packages, %llu bytes each against %llu in all\n", compressed.packages,
                    static_cast<unsigned long long>(uz2Size), static_cast<unsigned long long>(floorBytes));
        return 1;
    }
    PrintRatio("uz2: 1000 files of 1 MB (" + std::to_string(uz2Size) + " bytes each compressed)",
               "compress2 of each chunk + bare reading and writing", uz2Best, 1.2);
    std::printf("progress reports: %zu\n", reports);
    return 0;
}
