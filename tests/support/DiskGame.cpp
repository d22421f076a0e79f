// Temporary game folders on disk.
#include "support/DiskGame.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

void RemoveTree(const std::string& folder) {
    // Read-only files would stay.
    for (const std::string& name : DiskGame::Tree(folder))
        SetFileAttributesA((folder + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace

DiskGame::DiskGame(std::string_view name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + std::string(name) + std::to_string(GetCurrentProcessId());
    RemoveTree(folder_);
    for (const char* sub : {"System", "Maps", "Textures", "Sounds", "Music", "StaticMeshes", "Saves", "Animations", "Cache"})
        std::filesystem::create_directories(folder_ + "\\" + sub);
}

DiskGame::~DiskGame() { RemoveTree(folder_); }

std::string DiskGame::KeyFor(int n) {
    char key[40];
    std::snprintf(key, sizeof key, "%032X", static_cast<unsigned>(n) * 2654435761u);
    return key;
}

std::string DiskGame::Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void DiskGame::Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string DiskGame::Utf16(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);  // wchar_t: UTF-16 LE
}

std::vector<std::string> DiskGame::Tree(const std::string& folder) {
    std::vector<std::string> found;
    std::error_code missing;  // a missing folder holds nothing
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, missing))
        found.push_back(entry.path().string().substr(folder.size() + 1) + (entry.is_directory() ? "\\" : ""));
    std::sort(found.begin(), found.end());
    return found;
}
