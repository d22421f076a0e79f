// Real temporary game folders.
#include "support/TempGame.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "cache/GameFolder.h"
#include "platform/MRegistry.h"

namespace {

int created = 0;  // several games may exist at once in one test

}  // namespace

TempGame::TempGame(const std::vector<std::pair<std::string, std::string>>& entries, std::size_t size)
    : DiskGame("MorvaneTest" + std::to_string(++created) + "_") {
    std::string index = "[Cache]\r\n";
    for (const auto& [key, name] : entries) {
        index += key + "=" + name + "\r\n";
        std::string bytes;
        while (bytes.size() < size) bytes += key;
        Write(Cached(key), bytes.substr(0, size));
    }
    Write(Path("\\Cache\\cache.ini"), index);
}

std::string TempGame::Index() const {
    bool found = false;
    std::string bytes = Read(Path("\\Cache\\cache.ini"), &found);
    return found ? bytes : "<no index>";
}

void TempGame::RegisterAsGameFolder() const {
    MRegistry registry;
    registry.WriteRegValue(0x80000002u, GameKeyPath, GameFolderValue, Folder());
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

std::vector<std::string> TempGame::Tree(const std::string& folder) {
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
