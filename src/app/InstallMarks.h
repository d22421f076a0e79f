// Whether each listed cached file is already in the game folder where un-caching would put it, found
// from one reading of each destination folder, so that a cache of thousands of files costs a few
// folder listings and no query per row.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

enum class InstallMark {
    NotInstalled,  // nothing of that name in its destination folder
    SameFile,      // a file there with the cached file's size and last-write time: un-cached before
    Different,     // something else there under that name: another version, or a folder
    Unmarked,      // a file of another type, whose folder the player names when un-caching it
};

class InstallMarks {
public:
    // Each destination folder of the game folder is listed once, at the first row that goes there.
    InstallMarks(FileSystem& fs, std::string gameFolder);
    InstallMarks(const InstallMarks&) = delete;
    InstallMarks& operator=(const InstallMarks&) = delete;

    // The mark of a row: its real name, and its cached file's size and last-write time (FILETIME
    // ticks, as CacheFolder::SizeAndDateOf gives them).
    InstallMark Of(std::string_view realName, std::uint64_t size, std::uint64_t modified);

private:
    // One destination folder's entries, found by name without ASCII letter case.
    struct Folder {
        bool read = false;
        std::vector<FoundFile> found;
        std::vector<std::uint32_t> slots;  // 1 + a position in found, or 0 for an empty slot
        std::vector<std::uint32_t> next;   // per entry: 1 + the next one of the same name but for case, or 0
        void Fill(std::vector<FoundFile> entries);
        const FoundFile* Find(std::string_view name) const;
    };

    FileSystem& fs_;
    const std::string gameFolder_;
    std::vector<Folder> folders_;  // by FileType, Other excepted
};

struct MarkCounts {
    std::uint32_t notInstalled = 0, sameFile = 0, different = 0, unmarked = 0;
    void Add(InstallMark mark);
};

MarkCounts CountMarks(const std::vector<InstallMark>& marks);
// A row's mark in a word or two ("New", "Installed", "Other version"); nothing for Unmarked.
std::string_view MarkText(InstallMark mark);
// The sign a row shows beside its name ("+", "=", "*"; nothing for Unmarked): plain characters that
// every font of every Windows has, explained by the legend.
std::string_view MarkSymbol(InstallMark mark);
// "+ New: 12   = Installed: 30   * Other version: 3": the marked rows, for the line under the list.
std::string MarkLegend(const MarkCounts& counts);
