// MRegistry against the prefix's real registry: values set up with the raw API in the 32-bit view.
#include <gtest/gtest.h>
#include <windows.h>

#include <tuple>

#include "platform/MRegistry.h"

TEST(MRegistryWin, ReadsEachKindOfStoredValueAndWritesTextInThe32BitViewCreatingTheWholePath) {
    const std::string name = "MorvaneTest" + std::to_string(GetCurrentProcessId()), base = "Software\\" + name;
    const std::string wow = "Software\\Wow6432Node\\" + name;  // the 32-bit view's key, seen from the 64-bit one
    MRegistry registry;
    using K = RegValue::Kind;
    using Outcome = std::tuple<K, std::string, std::int64_t, std::uint32_t>;  // kind, text, number, type
    using namespace std::string_literals;
    // Each row stores `bytes` as `type` below the test key's sub-key `key` (REG_NONE: nothing), then reads it.
    const struct { const char* key; std::string value; DWORD type; std::string bytes; Outcome expected; } rows[] = {
        {"Missing", "Abc", REG_NONE, "", {K::None, "", 0, 0}},  // the type is reset too
        {"V", "Nope", REG_NONE, "", {K::None, "", 0, 0}},
        {"V", "Empty0", REG_SZ, "", {K::Text, "", 0, RegSz}},     // no data at all
        {"V", "Empty1", REG_SZ, "\0"s, {K::Text, "", 0, RegSz}},  // only the terminator
        {"V", "Abc", REG_SZ, "abc\0"s, {K::Text, "abc", 0, RegSz}},
        {"V", "Big", REG_DWORD, "\0\1\0\0"s, {K::Number, "", 256, RegDword}},  // the whole number
        {"V", "", REG_SZ, "dflt\0"s, {K::Text, "dflt", 0, RegSz}},              // the default value
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.type == REG_NONE ? 0 : RegSetKeyValueA(HKEY_LOCAL_MACHINE, (wow + "\\" + row.key).c_str(),
                                                             row.value.c_str(), row.type, row.bytes.data(),
                                                             static_cast<DWORD>(row.bytes.size())), 0);
        std::uint32_t type = 99;
        const RegValue v = registry.ReadRegValue(HKeyLocalMachine, base + "\\" + row.key, row.value, type);
        EXPECT_EQ(Outcome(v.kind, v.text, v.number, type), row.expected) << row.key << " / " << row.value;
    }
    registry.WriteRegValue(HKeyLocalMachine, base + "\\A\\B\\C", "Flag", "1");
    // REG_SZ, the character and its terminator. Wine adds a missing terminator itself when a text is
    // stored, so only Windows would catch a length without it.
    char data[8] = {};
    DWORD type = 0, size = sizeof data;
    EXPECT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, (wow + "\\A\\B\\C").c_str(), "Flag", RRF_RT_ANY, &type, data, &size), 0);
    EXPECT_EQ(std::to_string(type) + ":" + std::string(data, size), std::string("1:1\0", 4));
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, wow.c_str());
}
