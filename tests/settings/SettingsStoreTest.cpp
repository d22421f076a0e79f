// The options in the registry: what each stored value loads as, the order of reads and writes,
// and the user's own key where the machine-wide one cannot be written.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "platform/Failure.h"
#include "settings/SettingsStore.h"
#include "support/Fakes.h"

namespace {

struct Boxes final : OptionBoxes {
    std::map<Option, int> states{{Option::DelFiles, 7}, {Option::AutoEmpty, 7}, {Option::AutoLaunch, 7}};
    int State(Option o) override { return states[o]; }
    void SetState(Option o, int s) override { states[o] = s; }
    std::string Text() { return std::to_string(states[Option::DelFiles]) + std::to_string(states[Option::AutoEmpty]) +
                                std::to_string(states[Option::AutoLaunch]); }
};

}  // namespace

TEST(SettingsStore, LoadsEachStoredValueOrStopsAtTheFirstThatIsNoBoxState) {
    // Auto-Empty's stored value, the box states after Load (7: left as it was) and the failure.
    const std::tuple<std::optional<RegValue>, const char*, const char*> cases[] = {
        {std::nullopt, "000", ""}, {RegValue::OfText(" 2 "), "020", ""},
        {RegValue::OfNumber(1), "010", ""},  // a REG_DWORD written by someone else
        {RegValue::OfText(""), "077", "Type mismatch"}, {RegValue::OfText("1 2"), "077", "Type mismatch"},
        {RegValue::OfText("3"), "077", "Invalid property value"}, {RegValue::OfText("99999999999"), "077", "Overflow"},
        {RegValue::OfText("-1"), "077", "Invalid property value"},
    };
    for (const auto& [stored, states, failure] : cases) {
        SCOPED_TRACE(stored ? "\"" + stored->AsText() + "\"" : "no value");
        FakeRegistry registry;
        if (stored) registry.Set(OptionsKeyPath, "Auto-Empty", *stored);
        Boxes boxes;
        std::string failed;
        try {
            LoadOptions(registry, boxes);
        } catch (const Failure& f) {
            failed = f.what();
        }
        EXPECT_EQ(boxes.Text(), states);
        EXPECT_EQ(failed, failure);
    }
}

TEST(SettingsStore, LoadsTheUsersValueFirstAndSavesTextsToBothKeys) {
    FakeRegistry registry;
    registry.Set(OptionsKeyPath, "DelFiles", RegValue::OfText("1"));
    registry.Set(OptionsKeyPath, "Auto-Launch", RegValue::OfText("1"));
    registry.Set(OptionsKeyPath, "Auto-Launch", RegValue::OfText("0"), RegSz, HKeyCurrentUser);
    Boxes boxes;
    LoadOptions(registry, boxes);
    EXPECT_EQ(boxes.Text(), "100") << "the machine's DelFiles, nothing for Auto-Empty, the user's Auto-Launch";
    boxes.states = {{Option::DelFiles, 0}, {Option::AutoEmpty, 1}, {Option::AutoLaunch, 2}};
    SaveOptions(registry, boxes);
    std::string stored;  // the user's values, then the machine's
    for (const std::uint32_t root : {HKeyCurrentUser, HKeyLocalMachine})
        for (const char* name : {"DelFiles", "Auto-Empty", "Auto-Launch"}) {
            std::uint32_t type = 0;
            stored += registry.ReadRegValue(root, OptionsKeyPath, name, type).AsText();
            stored += type == RegSz ? "" : "?";
        }
    EXPECT_EQ(stored, "012012");
}
