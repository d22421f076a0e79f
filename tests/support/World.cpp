// The standard world of the core tests.
#include "support/World.h"

#include <cstring>
#include <numeric>

World::World(Entries indexed) : entries(std::move(indexed)) {
    for (const char* sub : {"System", "Maps", "Textures", "Sounds", "Music", "StaticMeshes", "Saves", "Animations"})
        fs.AddFolder(Path("\\") + sub);
    std::vector<std::size_t> all(entries.size());
    std::iota(all.begin(), all.end(), 0);
    for (std::size_t n : all) fs.AddFile(Cached(entries[n].first), Content(n));
    fs.AddFile(Path("\\Cache\\cache.ini"), IndexOf(all));
    view.path = Game;
}

World::Entries World::Keyed(const std::vector<std::string>& names) {
    Entries entries;
    for (const std::string& name : names) entries.emplace_back(KeyFor(static_cast<int>(entries.size()) + 1), name);
    return entries;
}

std::string World::IndexOf(const std::vector<std::size_t>& which) const {
    std::string index = "[Cache]\r\n";
    for (std::size_t n : which) index += entries.at(n).first + "=" + entries.at(n).second + "\r\n";
    return index;
}

std::string World::Where() const {
    std::string where;
    for (std::size_t n = 0; n < entries.size(); ++n) {
        const auto& [key, name] = entries[n];
        std::string places = fs.Bytes(Cached(key)) == Content(n) ? ",cache" : "";
        for (const auto& [path, bytes] : fs.Files()) {
            if (bytes != Content(n) || path == Cached(key)) continue;
            const std::string below = path.substr(std::strlen(Game) + 1), leaf = "\\" + name;
            const bool named = below.size() > leaf.size() && below.substr(below.size() - leaf.size()) == leaf;
            places += "," + (named ? below.substr(0, below.size() - leaf.size()) : below);
        }
        if (Index().find("\n" + key + "=" + name + "\r\n") != std::string::npos) places += ",ini";
        where += (n == 0 ? "" : " ") + name + ":" + (places.empty() ? "-" : places.substr(1));
    }
    return where + (fs.Has(Path("\\Cache\\cache-new.ini")) ? " + cache-new.ini left behind" : "");
}
