// Game folder location and validation.
#include "cache/GameFolder.h"

#include "platform/FileSystem.h"
#include "platform/Registry.h"

std::string LocateGameFolder(Registry& registry) {
    std::uint32_t type = 0;
    return registry.ReadRegValue(HKeyLocalMachine, GameKeyPath, GameFolderValue, type).AsText();
}

std::string CleanPathText(std::string_view text) {
    const std::size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    std::string cleaned(text.substr(b, text.find_last_not_of(' ') - b + 1));
    if (!cleaned.empty() && cleaned.back() == '\\') cleaned.pop_back();
    return cleaned;
}

bool IsGameFolder(FileSystem& fs, std::string_view folder) {
    try {
        return fs.Exists(std::string(folder) + "\\Cache\\Cache.ini");
    } catch (...) {
        return false;
    }
}

bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string_view::npos;
}

bool IsRelativeSubFolder(std::string_view answer) {
    if (answer.empty() || answer.front() == '\\' || answer.front() == '/') return false;
    if (answer.find(':') != std::string_view::npos) return false;
    std::size_t start = 0;
    while (start <= answer.size()) {
        std::size_t end = answer.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = answer.size();
        std::string_view part = answer.substr(start, end - start);
        // Windows ignores trailing dots and blanks of a component, so "..." or ".. " also climb.
        const std::size_t kept = part.find_last_not_of(". ");
        if (!part.empty() && kept == std::string_view::npos && part.find("..") != std::string_view::npos)
            return false;
        start = end + 1;
    }
    return true;
}
