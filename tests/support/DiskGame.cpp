// Temporary game folders on disk.
#include "support/DiskGame.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/Utf.h"

namespace {

std::wstring W(const std::string& utf8) {
    std::u16string units;
    Utf16FromUtf8(utf8, units);
    return std::wstring(units.begin(), units.end());
}

// The exact path of a file below the temporary folder (no final dot or blank trimmed, no length limit).
std::wstring Exact(const std::string& path) { return L"\\\\?\\" + W(path); }

// Calls `each(relative name, is folder)` for everything below `folder`, folders before what they hold.
template <typename Each>
void Walk(const std::string& folder, const std::string& prefix, Each each) {
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(Exact(folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;  // a missing folder holds nothing
    do {
        const std::string name = Utf8FromUtf16(reinterpret_cast<const char16_t*>(data.cFileName));
        if (name == "." || name == "..") continue;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        each(prefix + name, isFolder);
        if (isFolder) Walk(folder + "\\" + name, prefix + name + "\\", each);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

void RemoveTree(const std::string& folder) {
    std::vector<std::pair<std::string, bool>> all;
    Walk(folder, "", [&](const std::string& name, bool isFolder) { all.emplace_back(name, isFolder); });
    for (auto it = all.rbegin(); it != all.rend(); ++it) {  // what a folder holds before the folder
        const std::wstring path = Exact(folder + "\\" + it->first);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // read-only files would stay
        if (it->second) RemoveDirectoryW(path.c_str());
        else DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(Exact(folder).c_str());
}

}  // namespace

DiskGame::DiskGame(std::string_view name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = Utf8FromUtf16(reinterpret_cast<const char16_t*>(temp)) + std::string(name) +
              std::to_string(GetCurrentProcessId());
    RemoveTree(folder_);
    for (const char* sub : {"System", "Maps", "Textures", "Sounds", "Music", "StaticMeshes", "Saves", "Animations", "Cache"})
        std::filesystem::create_directories(std::filesystem::u8path(folder_ + "\\" + sub));
}

DiskGame::~DiskGame() { RemoveTree(folder_); }

std::string DiskGame::KeyFor(int n) {
    char key[40];
    std::snprintf(key, sizeof key, "%032X", static_cast<unsigned>(n) * 2654435761u);
    return key;
}

std::string DiskGame::Read(const std::string& path) {
    std::ifstream file(std::filesystem::u8path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void DiskGame::Write(const std::string& path, const std::string& bytes) {
    std::ofstream(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc) << bytes;
}

std::string DiskGame::Utf16(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);  // wchar_t: UTF-16 LE
}

std::vector<std::string> DiskGame::Tree(const std::string& folder) {
    std::vector<std::string> found;
    Walk(folder, "", [&](const std::string& name, bool isFolder) { found.push_back(name + (isFolder ? "\\" : "")); });
    std::sort(found.begin(), found.end());
    return found;
}
