// The small recording fakes.
#include "support/Fakes.h"

std::string FakeRegistry::Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return out;
}

bool FakeRegistry::Denied(std::string_view keyPath) const {
    const std::string k = Lower(keyPath);
    for (const std::string& d : denied_) {
        if (k.compare(0, d.size(), d) == 0) return true;
    }
    return false;
}

void FakeRegistry::Set(std::string_view keyPath, std::string_view name, RegValue value, std::uint32_t type) {
    values_[{Lower(keyPath), Lower(name)}] = {type, std::move(value)};
}

const FakeRegistry::Stored* FakeRegistry::Get(std::string_view keyPath, std::string_view name) const {
    auto it = values_.find({Lower(keyPath), Lower(name)});
    return it == values_.end() ? nullptr : &it->second;
}

RegValue FakeRegistry::ReadRegValue(std::uint32_t root, std::string_view keyPath, std::string_view name,
                                    std::uint32_t& type) {
    type = 0;
    if (root != HKeyLocalMachine || Denied(keyPath)) return RegValue::Nothing();
    const Stored* s = Get(keyPath, name);
    if (s == nullptr) return RegValue::Nothing();
    type = s->type;
    return s->value;
}

void FakeRegistry::WriteRegValue(std::uint32_t root, std::string_view keyPath, std::string_view name,
                                 std::string_view text) {
    if (root != HKeyLocalMachine || Denied(keyPath)) return;
    Set(keyPath, name, RegValue::OfText(std::string(text)), RegSz);
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

void FakeOverwrite::ResetFrm() {
    ++resets;
    yAll = nAll = false;
    response = ResponseNone;
}

int FakeOverwrite::Ask(std::string_view destination) {
    asked.push_back(std::string(destination));
    const char answer = script.empty() ? 'N' : script.front();
    if (!script.empty()) script.pop_front();
    switch (answer) {
        case 'Y': response = ResponseOverwrite; break;
        case 'A': response = ResponseOverwrite; yAll = true; break;
        case 'N': response = ResponseKeep; break;
        case 'O': response = ResponseKeep; nAll = true; break;
        default: break;  // closed: the response stays as it was
    }
    return response;
}

void FakeView::Select(std::initializer_list<int> which) {
    for (int r : which) {
        rows.at(static_cast<std::size_t>(r)).selected = true;
        current = r;
    }
}

std::vector<std::string> FakeView::Texts() const {
    std::vector<std::string> t;
    for (const Row& r : rows) t.push_back(r.text);
    return t;
}
