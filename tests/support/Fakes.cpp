// The small recording fakes.
#include "support/Fakes.h"

std::string FakeRegistry::Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return out;
}

bool FakeRegistry::Denied(std::uint32_t root, std::string_view keyPath) const {
    const std::string k = Lower(keyPath);
    for (const std::string& d : denied_)
        if (k.compare(0, d.size(), d) == 0) return true;
    return root != HKeyLocalMachine;
}

RegValue FakeRegistry::ReadRegValue(std::uint32_t root, std::string_view keyPath, std::string_view name,
                                    std::uint32_t& type) {
    type = 0;
    const auto it = values_.find(Lower(keyPath) + "\\" + Lower(name));
    if (Denied(root, keyPath) || it == values_.end()) return RegValue::Nothing();
    type = it->second.first;
    return it->second.second;
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
