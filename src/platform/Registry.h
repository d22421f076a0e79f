// Port: reading and writing one registry value, quietly (no failure ever reaches the caller).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

constexpr std::uint32_t HKeyCurrentUser = 0x80000001u;
constexpr std::uint32_t HKeyLocalMachine = 0x80000002u;

// Registry data types as the registry reports them.
enum RegType : std::uint32_t {
    RegNone = 0,
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
    RegDwordBigEndian = 5,
};

struct RegValue {
    enum class Kind { None, Text, Number };
    Kind kind = Kind::None;
    std::string text;
    std::int64_t number = 0;

    static RegValue Nothing() { return {}; }
    static RegValue OfText(std::string t) { return {Kind::Text, std::move(t), 0}; }
    static RegValue OfNumber(std::int64_t n) { return {Kind::Number, {}, n}; }
    // Callers that want text read no value (and a number) as its text form.
    std::string AsText() const { return kind == Kind::Number ? std::to_string(number) : text; }
};

class Registry {
public:
    Registry() = default;
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;
    virtual ~Registry() = default;

    // An empty key path means the root itself, an empty name the key's default value.
    // `type` is set to 0 first, then to the type the registry reports.
    virtual RegValue ReadRegValue(std::uint32_t root, std::string_view keyPath, std::string_view name,
                                  std::uint32_t& type) = 0;
    // Stores `text` as REG_SZ, creating missing keys along the path.
    virtual void WriteRegValue(std::uint32_t root, std::string_view keyPath, std::string_view name,
                               std::string_view text) = 0;
};
