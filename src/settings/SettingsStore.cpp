// Loading and saving the three options.
#include "settings/SettingsStore.h"

#include <string>

#include "platform/Failure.h"
#include "platform/Registry.h"

namespace {

struct Stored {
    Option option;
    const char* value;
};

constexpr Stored Options[] = {
    {Option::DelFiles, "DelFiles"}, {Option::AutoEmpty, "Auto-Empty"}, {Option::AutoLaunch, "Auto-Launch"}};

// The box state a stored value gives: no value is 0, a number is itself, a text the 16-bit number
// it spells (blanks around it allowed).
int BoxState(const RegValue& stored) {
    long long n = 0;
    if (stored.kind == RegValue::Kind::Number) {
        n = stored.number;
    } else if (stored.kind == RegValue::Kind::Text) {
        const std::string& t = stored.text;
        const std::size_t b = t.find_first_not_of(' '), e = t.find_last_not_of(' ');
        const std::string digits = b == std::string::npos ? "" : t.substr(b, e - b + 1);
        std::size_t i = !digits.empty() && (digits[0] == '-' || digits[0] == '+') ? 1 : 0;
        if (i == digits.size()) throw Failure("Type mismatch");
        for (; i < digits.size(); ++i) {
            if (digits[i] < '0' || digits[i] > '9') throw Failure("Type mismatch");
            if (n <= 32768) n = n * 10 + (digits[i] - '0');
        }
        if (digits[0] == '-') n = -n;
    }
    if (n < -32768 || n > 32767) throw Failure("Overflow");
    if (n < 0 || n > 2) throw Failure("Invalid property value");
    return static_cast<int>(n);
}

}  // namespace

void LoadOptions(Registry& registry, OptionBoxes& boxes) {
    for (const Stored& s : Options) {
        std::uint32_t type = 0;
        RegValue value = registry.ReadRegValue(HKeyCurrentUser, OptionsKeyPath, s.value, type);
        if (value.kind == RegValue::Kind::None)
            value = registry.ReadRegValue(HKeyLocalMachine, OptionsKeyPath, s.value, type);
        boxes.SetState(s.option, BoxState(value));
    }
}

void SaveOptions(Registry& registry, OptionBoxes& boxes) {
    for (const Stored& s : Options) {
        const std::string text = std::to_string(boxes.State(s.option));
        registry.WriteRegValue(HKeyCurrentUser, OptionsKeyPath, s.value, text);
        registry.WriteRegValue(HKeyLocalMachine, OptionsKeyPath, s.value, text);
    }
}
