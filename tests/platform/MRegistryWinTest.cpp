// MRegistry against the prefix's real registry: values set up with the raw API in the 32-bit view.
#include <gtest/gtest.h>
#include <windows.h>

#include <tuple>

#include "platform/MRegistry.h"
#include "platform/WideText.h"

namespace {

// A text as the registry stores it: UTF-16 LE bytes.
std::string Units(std::u16string_view text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
}

}  // namespace

TEST(MRegistryWin, ReadsEachKindOfStoredValueAndWritesTextInThe32BitViewCreatingTheWholePath) {
    const std::string name = "MorvaneTest" + std::to_string(GetCurrentProcessId()), base = "Software\\" + name;
    const std::string wow = "Software\\Wow6432Node\\" + name;  // the 32-bit view's key, seen from the 64-bit one
    MRegistry registry;
    using K = RegValue::Kind;
    using Outcome = std::tuple<K, std::string, std::int64_t, std::uint32_t>;  // kind, text, number, type
    using namespace std::string_literals;
    // Each row stores `bytes` as `type` below the test key's sub-key `key` (REG_NONE: nothing), then reads it.
    const struct { std::string key, value; DWORD type; std::string bytes; Outcome expected; } rows[] = {
        {"Missing", "Abc", REG_NONE, "", {K::None, "", 0, 0}},  // the type is reset too
        {"V", "Nope", REG_NONE, "", {K::None, "", 0, 0}},
        {"V", "Empty0", REG_SZ, "", {K::Text, "", 0, RegSz}},             // no data at all
        {"V", "Empty1", REG_SZ, Units(u"\0"s), {K::Text, "", 0, RegSz}},  // only the terminator
        {"V", "Abc", REG_SZ, Units(u"abc\0"s), {K::Text, "abc", 0, RegSz}},
        {"V", "Big", REG_DWORD, "\0\1\0\0"s, {K::Number, "", 256, RegDword}},  // the whole number
        {"V", "", REG_SZ, Units(u"dflt\0"s), {K::Text, "dflt", 0, RegSz}},      // the default value
        // Key, name and text outside the code page, as UTF-8.
        {"Игры", "Папка", REG_SZ, Units(u"C:\\Игры\\UT2003 𝄞\0"s), {K::Text, "C:\\Игры\\UT2003 𝄞", 0, RegSz}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.type == REG_NONE ? 0 : RegSetKeyValueW(HKEY_LOCAL_MACHINE, Wide(wow + "\\" + row.key).c_str(),
                                                             Wide(row.value).c_str(), row.type, row.bytes.data(),
                                                             static_cast<DWORD>(row.bytes.size())), 0);
        std::uint32_t type = 99;
        const RegValue v = registry.ReadRegValue(HKeyLocalMachine, base + "\\" + row.key, row.value, type);
        EXPECT_EQ(Outcome(v.kind, v.text, v.number, type), row.expected) << row.key << " / " << row.value;
    }
    registry.WriteRegValue(HKeyLocalMachine, base + "\\Раз\\Два\\Три", "Флаг", "Да 1");
    // REG_SZ, the text and its terminator. Wine adds a missing terminator itself when a text is
    // stored, so only Windows would catch a length without it.
    char data[32] = {};
    DWORD type = 0, size = sizeof data;
    EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, Wide(wow + "\\Раз\\Два\\Три").c_str(), L"Флаг", RRF_RT_ANY, &type, data,
                           &size), 0);
    EXPECT_EQ(std::to_string(type) + ":" + std::string(data, size), "1:" + Units(u"Да 1\0"s));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, Wide(wow).c_str());
}
