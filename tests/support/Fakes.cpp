// The small recording fakes.
#include "support/Fakes.h"

#include "platform/Failure.h"

std::string FakeRegistry::Where(std::uint32_t root, std::string_view keyPath, std::string_view name) {
    std::string w = std::string(root == HKeyLocalMachine ? "HKLM" : root == HKeyCurrentUser ? "HKCU" : "HK?") + "\\" +
                    std::string(keyPath) + "\\" + std::string(name);
    for (char& c : w) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return w;
}

bool FakeRegistry::Denied(const std::string& where) const {
    for (const std::string& d : denied_)
        if (where.compare(0, d.size() - 1, d, 0, d.size() - 1) == 0) return true;
    return where.compare(0, 4, "hk?\\") == 0;
}

RegValue FakeRegistry::ReadRegValue(std::uint32_t root, std::string_view keyPath, std::string_view name,
                                    std::uint32_t& type) {
    type = 0;
    const std::string where = Where(root, keyPath, name);
    const auto it = values_.find(where);
    if (Denied(where) || it == values_.end()) return RegValue::Nothing();
    type = it->second.first;
    return it->second.second;
}

void FakeRegistry::WriteRegValue(std::uint32_t root, std::string_view keyPath, std::string_view name,
                                 std::string_view text) {
    const std::string where = Where(root, keyPath, name);
    if (!Denied(where)) values_[where] = {RegSz, RegValue::OfText(std::string(text))};
}

