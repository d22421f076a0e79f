// The scan's comparison of cache.ini with the cache folder, against the comparison of every pair.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <tuple>

#include "fixer/ConsistencyScan.h"

namespace {

// The comparison as first written down: every entry against every file, every file against every
// entry, the cached name built anew for each comparison.
ScanRows Quadratic(const std::vector<CacheEntry>& entries, const std::vector<std::string>& files) {
    ScanRows rows;
    for (std::size_t k = 1; k <= entries.size(); ++k) {
        bool found = false;
        for (const std::string& file : files) found = found || file == entries[k - 1].Key + "-1.uxx";
        (found ? rows.ok : rows.missing).push_back(k);
    }
    for (std::size_t i = 1; i < files.size(); ++i) {
        std::string end = files[i].substr(files[i].size() < 4 ? 0 : files[i].size() - 4);
        for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (end == ".ini") continue;
        bool named = false;
        for (const CacheEntry& e : entries) named = named || e.Key + "-1.uxx" == files[i];
        if (!named) rows.unreferenced.push_back(i);
        rows.physical.push_back(i);
    }
    return rows;
}

}  // namespace

TEST(ConsistencyScan, FindsWhatTheFullComparisonFindsOnRandomIndexesAndFolders) {
    // Few short keys, so that duplicates, letter case and near misses come up often.
    const char* const keys[] = {"a", "A", "ab", "aB", "b", "", "a-1", "x"};
    const char* const tails[] = {"-1.uxx", "-1.UXX", "-2.uxx", "-1.uxx.bak", ".ini", ".INI", ".dat", ""};
    std::mt19937 rng(10);
    for (int round = 0; round < 500; ++round) {
        std::vector<CacheEntry> entries(rng() % 8);
        for (CacheEntry& e : entries) e = {keys[rng() % 8], "name" + std::to_string(rng() % 4)};
        std::vector<std::string> files{""};
        for (std::size_t n = rng() % 8; n > 0; --n) {
            files.push_back(std::string(keys[rng() % 8]) + tails[rng() % 8]);
            if (files.back().empty()) files.back() = "z";  // a listing holds no empty name
        }
        const ScanRows linear = CompareIndexWithFolder(entries, files), full = Quadratic(entries, files);
        EXPECT_EQ(std::tie(linear.ok, linear.missing, linear.unreferenced, linear.physical),
                  std::tie(full.ok, full.missing, full.unreferenced, full.physical)) << "round " << round;
    }
}
