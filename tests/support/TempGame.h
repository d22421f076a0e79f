// A real game folder on disk for the Windows tests: the game's sub-folders and a Cache folder with
// an index and cached files; removed again at the end of the test. It is also recorded as the
// game's folder in the registry (32-bit view).
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "support/DiskGame.h"

class TempGame : public DiskGame {
public:
    // `entries`: key, real name; each cached file holds `size` bytes.
    explicit TempGame(const std::vector<std::pair<std::string, std::string>>& entries = {}, std::size_t size = 100);

    std::string Cached(const std::string& key) const { return Path("\\Cache\\" + key + "-1.uxx"); }
    std::string Index() const;  // the bytes of cache.ini, or "<no index>"
    void RegisterAsGameFolder() const;

    static std::string Read(const std::string& path, bool* found = nullptr);
    static void Write(const std::string& path, const std::string& bytes);
    // An attribute lookup, which Wine answers "a file" for any device name (NUL.ut2, COM1.uax).
    static bool IsFile(const std::string& path);
    // Every file and folder stored below `folder`, as "Sub\name" (folders end in "\"), sorted.
    static std::vector<std::string> Tree(const std::string& folder);
};
