// The comparison of cache.ini with the cache folder: which entries have their cached file, which
// lack it, which files no entry names, and which files a repair may choose.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "cache/CacheIndex.h"

struct ScanRows {
    std::vector<std::size_t> ok;            // entry numbers (from 1) whose cached file is there, in index order
    std::vector<std::size_t> missing;       // entry numbers whose cached file is not
    std::vector<std::size_t> unreferenced;  // slots of the listing that no entry names, in listing order
    std::vector<std::size_t> physical;      // slots of the listing that a repair may choose
};

// `files` is a listing as MFiles::ListFiles gives it, slot 0 empty. An entry's cached file is the
// name key & "-1.uxx", compared exactly (letter case included). ".ini" files (letter case
// ignored) and empty names (what a failed listing holds) are neither unreferenced nor physical.
ScanRows CompareIndexWithFolder(const IndexEntries& entries, const std::vector<std::string>& files);

// "No problems found !", or what was found: "Found problem files :  3 unreferenced files and 2
// references to unexisting files", either half alone when the other count is 0.
std::string ScanSummary(std::size_t unreferenced, std::size_t missing);
