// Game folder location and validation, and the rules for names used inside it.
#include "cache/GameFolder.h"

#include <vector>

#include "cache/CacheIndex.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// Windows takes these for devices whatever extension follows them; COM and LPT also with the
// superscript digits one to three.
bool IsDeviceName(std::string_view name) {
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (EqualsNoCase(base, device)) return true;
    if (base.size() < 4 || !(EqualsNoCase(base.substr(0, 3), "COM") || EqualsNoCase(base.substr(0, 3), "LPT")))
        return false;
    const std::string_view digit = base.substr(3);
    return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xC2\xB9" || digit == "\xC2\xB2" ||
           digit == "\xC2\xB3";
}

}  // namespace

std::string LocateGameFolder(Registry& registry) {
    std::uint32_t type = 0;
    return registry.ReadRegValue(HKeyLocalMachine, GameKeyPath, GameFolderValue, type).AsText();
}

std::string CleanPathText(std::string_view text) {
    const std::size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    std::string cleaned(text.substr(b, text.find_last_not_of(' ') - b + 1));
    if (cleaned.back() == '\\') cleaned.pop_back();
    return cleaned;
}

bool IsGameFolder(FileSystem& fs, std::string_view folder) {
    try {
        return fs.Exists(IndexPath(folder));
    } catch (...) {
        return false;
    }
}

NameFault CheckFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return NameFault::LeavesFolder;
    NameFault fault = NameFault::None;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\' || c == '/' || c == ':') return NameFault::LeavesFolder;
        if (c < 0x20 || std::string_view("<>\"|?*").find(ch) != std::string_view::npos) fault = NameFault::NotAFileName;
    }
    if (fault != NameFault::None) return fault;
    if (name.back() == '.' || name.back() == ' ' || IsDeviceName(name)) return NameFault::NotAFileName;
    return NameFault::None;
}

NameFault CheckSubFolder(std::string_view answer) {
    if (answer.empty() || answer.front() == '\\' || answer.front() == '/') return NameFault::LeavesFolder;
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t at = 0; at < answer.size(); ++at) {
        if (answer[at] != '\\' && answer[at] != '/') continue;
        parts.push_back(answer.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(answer.substr(start));
    bool first = true;
    for (std::string_view part : parts) {
        if (part.empty() || part == ".") continue;  // "Help\", "Help\\Docs" and ".\Help" stay where they are
        // Windows drops trailing dots and blanks, so "..." and ".. " climb like "..".
        if (part.find_first_not_of(". ") == std::string_view::npos && part.find("..") != std::string_view::npos)
            return NameFault::LeavesFolder;
        if (const NameFault fault = CheckFileName(part); fault != NameFault::None) return fault;
        if (first && EqualsNoCase(part, "Cache")) return NameFault::CacheFolder;
        first = false;
    }
    return NameFault::None;
}

std::string Printable(std::string_view name) {
    std::string shown(name);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return shown;
}
