// ReadRegValue / WriteRegValue: quiet, every failure is no value or nothing written.
#include "platform/MRegistry.h"

#include <windows.h>

#include <string>

#include "platform/WideText.h"

namespace {

HKEY RootKey(std::uint32_t root) {
    // Predefined keys are sign-extended 32-bit values on 64-bit Windows.
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

// Null for the empty text: the root itself, or the key's default value.
const wchar_t* OrNull(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }

class Key {
public:
    Key() = default;
    ~Key() {
        if (h_ != nullptr) RegCloseKey(h_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* out() { return &h_; }
    HKEY get() const { return h_; }

private:
    HKEY h_ = nullptr;
};

// The registry keeps texts in UTF-16; other types are bytes, read as they are.
bool IsText(std::uint32_t type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

RegValue Convert(std::uint32_t type, const std::string& data) {
    if (IsText(type)) {
        // A stored text carries its terminating zero; keep everything before the first one. An odd
        // last byte is no character.
        std::wstring units(data.size() / sizeof(wchar_t), L'\0');
        data.copy(reinterpret_cast<char*>(units.data()), units.size() * sizeof(wchar_t));
        return RegValue::OfText(Narrow(units.data(), units.size()));
    }
    switch (type) {
        case REG_DWORD:
        case REG_DWORD_BIG_ENDIAN: {
            std::uint32_t n = 0;
            for (std::size_t i = 0; i < 4 && i < data.size(); ++i) {
                const auto byte = static_cast<std::uint32_t>(static_cast<unsigned char>(data[i]));
                n |= type == REG_DWORD ? byte << (8 * i) : byte << (8 * (3 - i));
            }
            if (type == REG_DWORD_BIG_ENDIAN && data.size() < 4) n >>= 8 * (4 - data.size());
            return RegValue::OfNumber(n);
        }
        case REG_BINARY: {
            std::string text;
            for (char c : data) text += std::to_string(static_cast<unsigned char>(c)) + " ";
            return RegValue::OfText(text);
        }
        default: {
            const std::size_t nul = data.find('\0');
            return RegValue::OfText(nul == std::string::npos ? data : data.substr(0, nul));
        }
    }
}

}  // namespace

RegValue MRegistry::ReadRegValue(std::uint32_t root, std::string_view keyPath, std::string_view name,
                                 std::uint32_t& type) {
    type = 0;
    const std::wstring path = Wide(keyPath), value = Wide(name);
    Key key;
    if (RegOpenKeyExW(RootKey(root), OrNull(path), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, key.out()) != ERROR_SUCCESS)
        return RegValue::Nothing();
    DWORD reported = 0, size = 0;
    DWORD scratch = 0;
    const LONG rc = RegQueryValueExW(key.get(), OrNull(value), nullptr, &reported,
                                     reinterpret_cast<BYTE*>(&scratch), &size);
    type = reported;
    if (rc == ERROR_FILE_NOT_FOUND) return RegValue::Nothing();
    if (rc == ERROR_SUCCESS) return RegValue::OfText({});  // the value holds no data at all
    if (size < 2) return RegValue::OfText({});            // a text holding at most its terminator
    std::string data(size + 1, ' ');
    DWORD got = size;
    if (RegQueryValueExW(key.get(), OrNull(value), nullptr, &reported, reinterpret_cast<BYTE*>(data.data()),
                         &got) != ERROR_SUCCESS)
        return RegValue::Nothing();
    type = reported;
    data.resize(got);
    return Convert(reported, data);
}

void MRegistry::WriteRegValue(std::uint32_t root, std::string_view keyPath, std::string_view name,
                              std::string_view text) {
    const std::wstring path = Wide(keyPath), value = Wide(name), data = Wide(text);
    Key key;
    if (RegCreateKeyExW(RootKey(root), OrNull(path), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr,
                        key.out(), nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key.get(), OrNull(value), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}
