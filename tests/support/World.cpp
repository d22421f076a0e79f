// The standard world of the core tests.
#include "support/World.h"

#include <cstdio>

World::World(const std::vector<std::pair<std::string, std::string>>& entries, std::size_t size) {
    for (const char* sub : {"System", "Maps", "Textures", "Sounds", "Music", "StaticMeshes", "Saves", "Animations"})
        fs.AddFolder(Path("\\") + sub);
    std::string index = "[Cache]\r\n";
    for (const auto& [key, name] : entries) {
        index += key + "=" + name + "\r\n";
        std::string bytes;
        while (bytes.size() < size) bytes += key;
        fs.AddFile(Cached(key), bytes.substr(0, size));
    }
    fs.AddFile(Path("\\Cache\\cache.ini"), index);
    view.path = Game;
}

std::string World::KeyFor(int n) {
    char key[40];
    std::snprintf(key, sizeof key, "%032X", static_cast<unsigned>(n) * 2654435761u);
    return key;
}
