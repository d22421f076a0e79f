// The file-type routing table. Comparisons are exact: letter case counts, nothing is trimmed.
#include "cache/FileType.h"

#include <cassert>

FileType ClassifyFileName(std::string_view name) {
    const std::string_view last4 = name.size() < 4 ? name : name.substr(name.size() - 4);
    if (last4.size() >= 2 && last4.substr(last4.size() - 2) == ".u") return FileType::System;
    struct Row {
        std::string_view ending;
        FileType type;
    };
    static constexpr Row rows[] = {
        {".ut2", FileType::Maps},         {".int", FileType::System},   {".utx", FileType::Textures},
        {".uax", FileType::Sounds},       {".umx", FileType::Music},    {".ogg", FileType::Music},
        {".usx", FileType::StaticMeshes}, {".uvx", FileType::Saves},    {".ukx", FileType::Animations},
    };
    for (const Row& row : rows) {
        if (last4 == row.ending) return row.type;
    }
    return FileType::Other;
}

std::string_view DestinationSubFolder(FileType type) {
    switch (type) {
        case FileType::System: return "\\System\\";
        case FileType::Maps: return "\\Maps\\";
        case FileType::Textures: return "\\Textures\\";
        case FileType::Sounds: return "\\Sounds\\";
        case FileType::Music: return "\\Music\\";
        case FileType::StaticMeshes: return "\\StaticMeshes\\";
        case FileType::Saves: return "\\Saves\\";
        case FileType::Animations: return "\\Animations\\";
        case FileType::Other: break;
    }
    assert(false && "Other has no destination sub-folder");
    return {};
}
