// A game folder on disk below the temporary folder, with the game's sub-folders and an empty Cache
// folder, removed with all it holds; and plain file helpers for its users (tests, benchmarks).
// Paths are UTF-8, as the program's own.
#pragma once
#include <string>
#include <string_view>
#include <vector>

class DiskGame {
public:
    // `name` (UTF-8, as every path here) keeps the folders of different users (tests, benchmarks) apart.
    explicit DiskGame(std::string_view name);
    ~DiskGame();
    DiskGame(const DiskGame&) = delete;
    DiskGame& operator=(const DiskGame&) = delete;

    const std::string& Folder() const { return folder_; }
    std::string Path(std::string_view tail) const { return folder_ + std::string(tail); }
    static std::string KeyFor(int n);  // 32 hexadecimal digits

    static std::string Read(const std::string& path);  // empty if there is no such file
    static void Write(const std::string& path, const std::string& bytes);
    // UTF-8 text as UTF-16 LE after its byte-order mark, as Notepad saves "Unicode".
    static std::string Utf16(const std::string& text);
    // Every file and folder stored below `folder`, as "Sub\name" (folders end in "\"), sorted.
    static std::vector<std::string> Tree(const std::string& folder);

private:
    std::string folder_;
};
