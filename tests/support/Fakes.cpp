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

MsgAnswer ScriptedPrompts::Message(std::string_view text, std::string_view title, MsgIcon icon, MsgButtons buttons) {
    shown.push_back({std::string(text), std::string(title), icon, buttons});
    if (onMessage) onMessage();
    if (answers.empty()) return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
}

std::string ScriptedPrompts::InputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) {
    asked.push_back({std::string(prompt), std::string(title), std::string(defaultText)});
    if (onInput) onInput();
    if (inputs.empty()) return {};
    std::string a = inputs.front();
    inputs.pop_front();
    return a;
}

std::vector<std::string> ScriptedPrompts::Titles() const {
    std::vector<std::string> t;
    for (const Shown& s : shown) t.push_back(s.title + ": " + s.text.substr(0, s.text.find('\r')));
    return t;
}

int FakeOverwrite::Ask(std::string_view destination) {
    asked.push_back(std::string(destination));
    if (onAsk) onAsk();
    const char answer = script.empty() ? 'N' : script.front();
    if (!script.empty()) script.pop_front();
    // Closed without a button, the prompt returns the response it had.
    if (answer != 'X') response_ = answer == 'Y' || answer == 'A' ? ResponseOverwrite : ResponseKeep;
    yAll_ = yAll_ || answer == 'A';
    nAll_ = nAll_ || answer == 'O';
    return response_;
}

bool FakeProcesses::IsMorvane(std::string_view path) {
    try {
        return fs_.ReadAll(path).rfind("Morvane", 0) == 0;
    } catch (const Failure&) {
        return false;
    }
}
