// Temporary game folders on disk.
#include "support/DiskGame.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

// Paths are UTF-8, as the program's: u8path reaches the file the name means, where a plain
// std::string would go through the code page.
fs::path On(const std::string& path) { return fs::u8path(path); }

void RemoveTree(const std::string& folder) {
    // Read-only files would stay.
    for (const std::string& name : DiskGame::Tree(folder))
        SetFileAttributesW(On(folder + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
    std::error_code ignored;
    fs::remove_all(On(folder), ignored);
}

}  // namespace

DiskGame::DiskGame(std::string_view name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = fs::path(temp).u8string() + std::string(name) + std::to_string(GetCurrentProcessId());
    RemoveTree(folder_);
    for (const char* sub : {"System", "Maps", "Textures", "Sounds", "Music", "StaticMeshes", "Saves", "Animations", "Cache"})
        fs::create_directories(On(folder_ + "\\" + sub));
}

DiskGame::~DiskGame() { RemoveTree(folder_); }

std::string DiskGame::KeyFor(int n) {
    char key[40];
    std::snprintf(key, sizeof key, "%032X", static_cast<unsigned>(n) * 2654435761u);
    return key;
}

std::string DiskGame::Read(const std::string& path) {
    std::ifstream file(On(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void DiskGame::Write(const std::string& path, const std::string& bytes) {
    std::ofstream(On(path), std::ios::binary | std::ios::trunc) << bytes;
}

std::string DiskGame::Utf16(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);  // wchar_t: UTF-16 LE
}

std::vector<std::string> DiskGame::Tree(const std::string& folder) {
    std::vector<std::string> found;
    std::error_code missing;  // a missing folder holds nothing
    for (const auto& entry : fs::recursive_directory_iterator(On(folder), missing))
        found.push_back(entry.path().u8string().substr(folder.size() + 1) + (entry.is_directory() ? "\\" : ""));
    std::sort(found.begin(), found.end());
    return found;
}
