// Temporary game folders on disk.
#include "support/DiskGame.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

void RemoveTree(const std::string& folder) {
    const std::vector<std::string> tree = DiskGame::Tree(folder);
    // Sorted, a folder comes before all it holds: removed backwards, it is empty when its turn comes.
    for (auto it = tree.rbegin(); it != tree.rend(); ++it) {
        std::string path = folder + "\\" + *it;
        const bool isFolder = path.back() == '\\';
        if (isFolder) path.pop_back();
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (isFolder) RemoveDirectoryA(path.c_str());
        else DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

DiskGame::DiskGame(std::string_view name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + std::string(name) + std::to_string(GetCurrentProcessId());
    if (!folder_.empty() && folder_.back() == '\\') folder_.pop_back();
    RemoveTree(folder_);
    CreateDirectoryA(folder_.c_str(), nullptr);
    for (const char* sub : {"System", "Maps", "Textures", "Sounds", "Music", "StaticMeshes", "Saves", "Animations", "Cache"})
        CreateDirectoryA((folder_ + "\\" + sub).c_str(), nullptr);
}

DiskGame::~DiskGame() { RemoveTree(folder_); }

std::string DiskGame::KeyFor(int n) {
    char key[40];
    std::snprintf(key, sizeof key, "%032X", static_cast<unsigned>(n) * 2654435761u);
    return key;
}

std::string DiskGame::Read(const std::string& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
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

bool DiskGame::IsFile(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::vector<std::string> DiskGame::Tree(const std::string& folder) {
    std::vector<std::string> found;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return found;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        found.push_back(isFolder ? name + "\\" : name);
        if (isFolder) {
            for (const std::string& below : Tree(folder + "\\" + name)) found.push_back(name + "\\" + below);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(found.begin(), found.end());
    return found;
}
