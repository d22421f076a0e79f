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
    using Entries = std::vector<std::pair<std::string, std::string>>;  // key, real name
    static constexpr const char* Game = "C:\\Games\\UT2003";

    FakeFileSystem fs;
    FakeRegistry registry;
    ScriptedPrompts prompts;
    FakeClipboard clipboard;
    FakeSizes sizes;
    FakeDates dates;
    FakeOverwrite overwrite;
    FakeCodePage codePage;
    FakeView view;
    Rip rip{view, RipPorts{fs, registry, prompts, clipboard, sizes, overwrite, codePage, dates}};
    const Entries entries;

    // A game folder with its sub-folders and an index of `entries`, each with its cached file of
    // Content(n) for the n-th entry. The path box holds the folder.
    explicit World(Entries indexed = {});

    static std::string KeyFor(int n) {  // a 32-character key
        const std::string digits = std::to_string(static_cast<unsigned>(n) * 2654435761u);
        return std::string(32 - digits.size(), '0') + digits;
    }
    static Entries Keyed(const std::vector<std::string>& names);  // KeyFor(1), KeyFor(2)... in order
    static std::string Content(std::size_t n) {  // 10 bytes, "file<n+1>" and dots
        return ("file" + std::to_string(n + 1) + "..........").substr(0, 10);
    }
    std::string Path(std::string_view tail) const { return std::string(Game) + std::string(tail); }
    std::string Cached(std::string_view key) const { return Path("\\Cache\\") + std::string(key) + "-1.uxx"; }
    // The index's bytes, with a note when the temporary index is still there.
    std::string Index() const {
        return fs.Bytes(Path("\\Cache\\cache.ini")).value_or("<no index>") +
               (fs.Has(Path("\\Cache\\cache-new.ini")) ? " + cache-new.ini left behind" : "");
    }
    // "[Cache]", then the lines of the given entries, each ending in CR LF.
    std::string IndexOf(const std::vector<std::size_t>& which) const;
    // "title: text" for every message shown.
    std::vector<std::string> Shown() const {
        std::vector<std::string> all;
        for (const auto& s : prompts.shown) all.push_back(s.title + ": " + s.text);
        return all;
    }
    // "text@item data " for every row of the list.
    std::string Rows() const {
        std::string rows;
        for (const auto& row : view.rows) rows += row.text + "@" + std::to_string(row.data) + " ";
        return rows;
    }
    // Lists the cache and selects `rows`; the last one becomes the current row.
    void Select(const std::vector<int>& rows) { rip.LoadCache(); view.SelectRows(rows); }
    // Where each entry is, "name:places", space-separated in the entries' order. Its places are
    // "cache" (its cached file), the folder of each other file with its bytes and its real name
    // (the whole path below the game folder when the name differs) and "ini" (its index line). A
    // temporary index left behind is noted at the end.
    std::string Where() const;
};
