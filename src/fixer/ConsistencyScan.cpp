// The scan's comparison: one pass over each side, each name looked up among the other side's.
#include "fixer/ConsistencyScan.h"

#include <functional>
#include <string_view>

namespace {

constexpr std::string_view CachedSuffix = "-1.uxx";

// The key whose cached file bears `name`: the name without "-1.uxx". False for any other name.
bool CachedKeyOf(std::string_view name, std::string_view& key) {
    if (name.size() < CachedSuffix.size() || name.substr(name.size() - CachedSuffix.size()) != CachedSuffix)
        return false;
    key = name.substr(0, name.size() - CachedSuffix.size());
    return true;
}

// A set of names looked up by view: open addressing in one array, so that building it takes one
// allocation instead of one per name. An empty slot holds a view without data; the view of an
// empty name has data.
class NameSet {
public:
    explicit NameSet(std::size_t expected) {
        std::size_t capacity = 16;
        while (capacity < 2 * expected) capacity *= 2;
        slots_.resize(capacity);
    }
    void Insert(std::string_view name) { slots_[SlotOf(name)] = name; }
    bool Contains(std::string_view name) const { return slots_[SlotOf(name)].data() != nullptr; }

private:
    // The slot holding `name`, or the empty slot where it would go.
    std::size_t SlotOf(std::string_view name) const {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = std::hash<std::string_view>()(name) & mask;
        while (slots_[i].data() != nullptr && slots_[i] != name) i = (i + 1) & mask;
        return i;
    }
    std::vector<std::string_view> slots_;
};

bool IsIniFile(std::string_view name) {
    if (name.size() < 4) return false;
    std::string end(name.substr(name.size() - 4));
    for (char& c : end) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return end == ".ini";
}

}  // namespace

ScanRows CompareIndexWithFolder(const std::vector<CacheEntry>& entries, const std::vector<std::string>& files) {
    // Views into the callers' strings: no name is copied.
    NameSet cachedKeys(files.size()), indexKeys(entries.size());
    std::string_view key;
    for (std::size_t i = 1; i < files.size(); ++i) {
        if (CachedKeyOf(files[i], key)) cachedKeys.Insert(key);
    }
    for (const CacheEntry& e : entries) indexKeys.Insert(e.Key);

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
