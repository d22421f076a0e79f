// The scan's comparison: one pass over each side, each name looked up among the other side's.
#include "fixer/ConsistencyScan.h"

#include <string_view>

#include "cache/NameSet.h"

namespace {

constexpr std::string_view CachedSuffix = "-1.uxx";

// The key whose cached file bears `name`: the name without "-1.uxx". False for any other name.
bool CachedKeyOf(std::string_view name, std::string_view& key) {
    if (name.size() < CachedSuffix.size() || name.substr(name.size() - CachedSuffix.size()) != CachedSuffix)
        return false;
    key = name.substr(0, name.size() - CachedSuffix.size());
    return true;
}

bool IsIniFile(std::string_view name) {
    if (name.size() < 4) return false;
    std::string end(name.substr(name.size() - 4));
    for (char& c : end) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return end == ".ini";
}

}  // namespace

ScanRows CompareIndexWithFolder(const IndexEntries& entries, const std::vector<std::string>& files) {
    // Views into the callers' text: no name is copied.
    NameSet cachedKeys(files.size()), indexKeys(entries.size());
    std::string_view key;
    for (std::size_t i = 1; i < files.size(); ++i) {
        if (CachedKeyOf(files[i], key)) cachedKeys.Insert(key);
    }
    for (const IndexEntry e : entries) indexKeys.Insert(e.Key);

    ScanRows rows;
    for (std::size_t k = 1; k <= entries.size(); ++k)
        (cachedKeys.Contains(entries[k - 1].Key) ? rows.ok : rows.missing).push_back(k);
    for (std::size_t i = 1; i < files.size(); ++i) {
        const std::string& name = files[i];
        if (name.empty() || IsIniFile(name)) continue;
        if (!CachedKeyOf(name, key) || !indexKeys.Contains(key)) rows.unreferenced.push_back(i);
        rows.physical.push_back(i);
    }
    return rows;
}

std::string ScanSummary(std::size_t unreferenced, std::size_t missing) {
    if (unreferenced == 0 && missing == 0) return "No problems found !";
    std::string text = "Found problem files :  ";
    if (unreferenced != 0) text += std::to_string(unreferenced) + " unreferenced files";
    if (unreferenced != 0 && missing != 0) text += " and ";
    if (missing != 0) text += std::to_string(missing) + " references to unexisting files";
    return text;
}
