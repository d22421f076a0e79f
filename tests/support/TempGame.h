// A game folder for the Windows tests whose cache holds an index and the cached files it names.
#pragma once
#include <utility>
#include <vector>

#include "support/DiskGame.h"

class TempGame : public DiskGame {
public:
    // `entries`: key, real name; each cached file holds `size` bytes. `name`: the game folder's name
    // (UTF-8), below the temporary folder.
    explicit TempGame(const std::vector<std::pair<std::string, std::string>>& entries = {}, std::size_t size = 100,
                      std::string_view name = "MorvaneTest");

    std::string Cached(const std::string& key) const { return Path("\\Cache\\" + key + "-1.uxx"); }
    std::string Index() const { return Read(Path("\\Cache\\cache.ini")); }
};
