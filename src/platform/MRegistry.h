// Registry value access over the Unicode registry functions (key paths, names and texts are UTF-8
// inside), in the registry's 32-bit view (where the 32-bit game's installer writes its key, and
// shared by Morvane's 32-bit and 64-bit builds).
#pragma once
#include "platform/Registry.h"

class MRegistry final : public Registry {
public:
    RegValue ReadRegValue(std::uint32_t root, std::string_view keyPath, std::string_view name,
                          std::uint32_t& type) override;
    void WriteRegValue(std::uint32_t root, std::string_view keyPath, std::string_view name,
                       std::string_view text) override;
};
