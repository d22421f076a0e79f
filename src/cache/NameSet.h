// A set of names looked up by view, for the index's and the cache folder's thousands of names.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string_view>
#include <vector>

// Open addressing in one array, so that building the set takes a few allocations instead of one
// per name. It holds views: the names' text must outlive it. Most questions are about names not in
// the set (lines that stay, files with their line): one bit per name's hash, in an array small
// enough to stay in the processor's cache, answers most of them without a look at the slots.
class NameSet {
public:
    explicit NameSet(std::size_t expected) {
        std::size_t capacity = 16;
        while (capacity < 2 * expected) capacity *= 2;
        slots_.resize(capacity);
        bits_.resize(capacity / 8);  // 8 bits a slot, 16 or more a name: about one in twenty passes
        names_.reserve(expected);
    }
    void Insert(std::string_view name) {
        const std::size_t hash = std::hash<std::string_view>()(name);
        Slot& slot = slots_[SlotOf(name, hash)];
        if (slot.place != 0) return;
        if (names_.size() == UINT32_MAX) throw std::length_error("too many names for a NameSet");
        names_.push_back(name);
        slot = {Tag(hash), static_cast<std::uint32_t>(names_.size())};
        bits_[Bit(hash) / 64] |= std::uint64_t{1} << (Bit(hash) % 64);
    }
    bool Contains(std::string_view name) const {
        const std::size_t hash = std::hash<std::string_view>()(name);
        if ((bits_[Bit(hash) / 64] >> (Bit(hash) % 64) & 1) == 0) return false;
        return slots_[SlotOf(name, hash)].place != 0;
    }

private:
    struct Slot {
        std::uint32_t tag = 0;    // the hash's high half
        std::uint32_t place = 0;  // 1 + the name's position in names_, or 0 for an empty slot
    };
    static std::uint32_t Tag(std::size_t hash) { return static_cast<std::uint32_t>(hash >> (sizeof hash * 8 - 32)); }
    // The name's bit: from the tag's bits, not from those that pick the slot.
    std::size_t Bit(std::size_t hash) const { return Tag(hash) & (bits_.size() * 64 - 1); }
    // The slot holding `name`, or the empty slot where it would go.
    std::size_t SlotOf(std::string_view name, std::size_t hash) const {
        const std::size_t mask = slots_.size() - 1;
        const std::uint32_t tag = Tag(hash);
        std::size_t i = hash & mask;
        while (slots_[i].place != 0 && (slots_[i].tag != tag || names_[slots_[i].place - 1] != name))
            i = (i + 1) & mask;
        return i;
    }
    std::vector<Slot> slots_;
    std::vector<std::uint64_t> bits_;
    std::vector<std::string_view> names_;
};
