// Real temporary game folders.
#include "support/TempGame.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>

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

std::string TempGame::Read(const std::string& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

void TempGame::Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string TempGame::Utf16(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : wide) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return bytes;
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
