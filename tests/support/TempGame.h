// A real game folder on disk for the Windows tests: the game's sub-folders and a Cache folder with
// an index and cached files; removed again at the end of the test.
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
    std::string Index() const { return Read(Path("\\Cache\\cache.ini")); }

    static std::string Read(const std::string& path);  // empty if there is no such file
    static void Write(const std::string& path, const std::string& bytes);
    // Code page text as UTF-16 LE after its byte-order mark, as Notepad saves "Unicode".
    static std::string Utf16(const std::string& text);
    // An attribute lookup, which Wine answers "a file" for any device name (NUL.ut2, COM1.uax).
    static bool IsFile(const std::string& path);
    // Every file and folder stored below `folder`, as "Sub\name" (folders end in "\"), sorted.
    static std::vector<std::string> Tree(const std::string& folder);
};
