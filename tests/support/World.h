// A fresh world for one core test: a game folder in the fake file system, the fakes, and the main
// window's behaviour wired to them.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "app/Rip.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

struct World {
    static constexpr const char* Game = "C:\\Games\\UT2003";

    FakeFileSystem fs;
    FakeRegistry registry;
    ScriptedPrompts prompts;
    FakeClipboard clipboard;
    FakeSizes sizes;
    FakeOverwrite overwrite;
    FakeView view;
    Rip rip{view, RipPorts{fs, registry, prompts, clipboard, sizes, overwrite}};

    // A game folder with its sub-folders and an index of `entries` (key, real name); each cached
    // file holds `size` bytes of its key. The path box holds the folder.
    explicit World(const std::vector<std::pair<std::string, std::string>>& entries = {}, std::size_t size = 10);

    static std::string KeyFor(int n);  // a 32-character key
    std::string Path(std::string_view tail) const { return std::string(Game) + std::string(tail); }
    std::string Index() const { return fs.Bytes(Path("\\Cache\\cache.ini")).value_or("<no index>"); }
    std::string Cached(std::string_view key) const { return Path("\\Cache\\") + std::string(key) + "-1.uxx"; }
};
