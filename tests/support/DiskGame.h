// A game folder on disk below the temporary folder, with the game's sub-folders and an empty Cache
// folder; removed with all it holds. Shared by the Windows tests and the benchmarks.
#pragma once
#include <string>
#include <string_view>

class DiskGame {
public:
    // `name` keeps the folders of different users (tests, benchmarks) apart.
    explicit DiskGame(std::string_view name);
    ~DiskGame();
    DiskGame(const DiskGame&) = delete;
    DiskGame& operator=(const DiskGame&) = delete;

    const std::string& Folder() const { return folder_; }
    std::string Path(std::string_view tail) const { return folder_ + std::string(tail); }
    static std::string KeyFor(int n);  // 32 hexadecimal digits

private:
    std::string folder_;
};
