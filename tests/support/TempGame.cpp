// Real temporary game folders.
#include "support/TempGame.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "cache/GameFolder.h"
#include "platform/MRegistry.h"

namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempGame::TempGame(const std::vector<std::pair<std::string, std::string>>& entries, std::size_t size) {
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "MorvaneTest" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
    if (!folder_.empty() && folder_.back() == '\\') folder_.pop_back();
    RemoveTree(folder_);
    CreateDirectoryA(folder_.c_str(), nullptr);
    for (const char* sub : {"System", "Maps", "Textures", "Sounds", "Music", "StaticMeshes", "Saves", "Animations", "Cache"})
        CreateDirectoryA((folder_ + "\\" + sub).c_str(), nullptr);
    std::string index = "[Cache]\r\n";
    for (const auto& [key, name] : entries) {
        index += key + "=" + name + "\r\n";
        std::string bytes;
        while (bytes.size() < size) bytes += key;
        Write(Cached(key), bytes.substr(0, size));
    }
    Write(Path("\\Cache\\cache.ini"), index);
}

TempGame::~TempGame() { RemoveTree(folder_); }

std::string TempGame::Index() const {
    bool found = false;
    std::string bytes = Read(Path("\\Cache\\cache.ini"), &found);
    return found ? bytes : "<no index>";
}

void TempGame::RegisterAsGameFolder() const {
    MRegistry registry;
    registry.WriteRegValue(0x80000002u, GameKeyPath, GameFolderValue, folder_);
}

std::string TempGame::Read(const std::string& path, bool* found) {
    std::ifstream in(path, std::ios::binary);
    if (found != nullptr) *found = static_cast<bool>(in);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void TempGame::Write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool TempGame::IsFile(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string TempGame::KeyFor(int n) {
    char key[40];
    std::snprintf(key, sizeof key, "%032X", static_cast<unsigned>(n) * 2654435761u);
    return key;
}
