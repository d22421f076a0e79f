// Real temporary game folders with a cache.
#include "support/TempGame.h"

TempGame::TempGame(const std::vector<std::pair<std::string, std::string>>& entries, std::size_t size,
                   std::string_view name)
    : DiskGame(name) {
    std::string index = "[Cache]\r\n";
    for (const auto& [key, name] : entries) {
        index += key + "=" + name + "\r\n";
        std::string bytes;
        while (bytes.size() < size) bytes += key;
        Write(Cached(key), bytes.substr(0, size));
    }
    Write(Path("\\Cache\\cache.ini"), index);
}
