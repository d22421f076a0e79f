// MRegistry against the prefix's real registry: values set up with the raw API in the 32-bit view.
#include <gtest/gtest.h>
#include <windows.h>

#include <tuple>

#include "platform/MRegistry.h"

namespace {

// "type:bytes" of a value as the raw API sees it in the 64-bit view.
std::string Raw(const std::string& key, const char* value) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &k) != 0) return "none";
    char data[64] = {};
    DWORD type = 0, size = sizeof data;
    const LONG rc = RegQueryValueExA(k, value, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(k);
    return rc != 0 ? "none" : std::to_string(type) + ":" + std::string(data, size);
}

// Handles are reused lowest first, so a key left open shows as a different handle here.
HKEY Probe() {
    HKEY k = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &k);
    RegCloseKey(k);
    return k;
}

}  // namespace

TEST(MRegistryWin, ReadsEachKindOfStoredValueAndWritesTextInThe32BitViewCreatingTheWholePath) {
    const std::string name = "MorvaneTest" + std::to_string(GetCurrentProcessId()), base = "Software\\" + name;
    const std::string wow = "Software\\Wow6432Node\\" + name;  // the 32-bit view's key, seen from the 64-bit one
    MRegistry registry;
    Probe();  // the first open of a view also opens its root, for good
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
    const HKEY before = Probe();
    for (const auto& row : rows) {
        const LONG set = row.type == REG_NONE ? 0 : RegSetKeyValueA(HKEY_LOCAL_MACHINE, (wow + "\\" + row.key).c_str(),
                                                                     row.value.c_str(), row.type, row.bytes.data(),
                                                                     static_cast<DWORD>(row.bytes.size()));
        EXPECT_EQ(set, 0);
        std::uint32_t type = 99;
        const RegValue v = registry.ReadRegValue(HKeyLocalMachine, base + "\\" + row.key, row.value, type);
        EXPECT_EQ(Outcome(v.kind, v.text, v.number, type), row.expected) << row.key << " / " << row.value;
    }
    registry.WriteRegValue(HKeyLocalMachine, base + "\\A\\B\\C", "Flag", "1");
    registry.WriteRegValue(HKeyLocalMachine, base + "\\A", "", "d");
    EXPECT_EQ(Probe(), before) << "a key was left open";
    // REG_SZ, the character and its terminator. Wine adds a missing terminator itself when a text is
    // stored, so only Windows would catch a length without it.
    EXPECT_EQ(Raw(wow + "\\A\\B\\C", "Flag"), std::string("1:1\0", 4));
    EXPECT_EQ(Raw(wow + "\\A", nullptr), std::string("1:d\0", 4));
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, wow.c_str());
}
