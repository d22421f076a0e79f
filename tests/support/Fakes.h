// Recording fakes of the small ports: registry, prompts, clipboard, sizes, overwrite prompt, and
// an in-memory main window view.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "app/RipView.h"
#include "platform/CodePage.h"
#include "platform/DateFormatter.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"
#include "platform/Utf.h"
#include "uncache/OverwritePrompt.h"

// Values under HKEY_LOCAL_MACHINE (by default) and HKEY_CURRENT_USER; key paths and names compare
// without letter case.
class FakeRegistry final : public Registry {
public:
    void Set(std::string_view keyPath, std::string_view name, RegValue value, std::uint32_t type = RegSz,
             std::uint32_t root = HKeyLocalMachine) {
        values_[Where(root, keyPath, name)] = {type, std::move(value)};
    }
    // Reads give no value and writes do nothing below this key, as when it cannot be opened.
    void Deny(std::string_view keyPath, std::uint32_t root = HKeyLocalMachine) { denied_.push_back(Where(root, keyPath, "")); }

    RegValue ReadRegValue(std::uint32_t root, std::string_view keyPath, std::string_view name,
                          std::uint32_t& type) override;
    void WriteRegValue(std::uint32_t root, std::string_view keyPath, std::string_view name,
                       std::string_view text) override;

private:
    static std::string Where(std::uint32_t root, std::string_view keyPath, std::string_view name);
    bool Denied(const std::string& where) const;
    std::map<std::string, std::pair<std::uint32_t, RegValue>> values_;  // by lower-case "root\key\name"
    std::vector<std::string> denied_;
};

// Answers questions from a script and records every one of them.
class ScriptedPrompts final : public Prompts {
public:
    struct Shown { std::string text, title; MsgIcon icon; MsgButtons buttons; };
    struct Asked { std::string prompt, title, defaultText; };
    std::deque<MsgAnswer> answers;   // for Message; when empty: Ok, or Yes for either Yes/No
    std::deque<std::string> inputs;  // for InputBox; when empty: Cancel (the empty text)
    std::vector<Shown> shown;  // every message
    std::vector<Asked> asked;  // every input box
    std::function<void()> onMessage;  // runs while a message is shown
    std::function<void()> onInput;    // runs while an input box is shown

    MsgAnswer Message(std::string_view text, std::string_view title, MsgIcon icon, MsgButtons buttons) override {
        shown.push_back({std::string(text), std::string(title), icon, buttons});
        if (onMessage) onMessage();
        if (answers.empty()) return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<std::string> files;  // for SaveFileName and PickFolder; when empty: Cancel
    std::vector<std::string> dialogs;  // "title|default name" of each
    std::string SaveFileName(std::string_view title, std::string_view defaultName, std::string_view,
                             std::string_view) override {
        return Pick(std::string(title) + "|" + std::string(defaultName));
    }
    std::string PickFolder(std::string_view title) override { return Pick(std::string(title)); }
    std::string Pick(std::string asked) {
        dialogs.push_back(std::move(asked));
        if (files.empty()) return {};
        std::string a = files.front();
        files.pop_front();
        return a;
    }
    std::string InputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) override {
        asked.push_back({std::string(prompt), std::string(title), std::string(defaultText)});
        if (onInput) onInput();
        if (inputs.empty()) return {};
        std::string a = inputs.front();
        inputs.pop_front();
        return a;
    }
    // "title: first line of the text" for every message shown.
    std::vector<std::string> Titles() const {
        std::vector<std::string> t;
        for (const Shown& s : shown) t.push_back(s.title + ": " + s.text.substr(0, s.text.find('\r')));
        return t;
    }
};

class FakeClipboard final : public Clipboard {
public:
    std::string text;
    void SetText(std::string_view t) override { text = std::string(t); }
};

// "{ticks}" for a date and time, "[ticks]" for a date, so that tests see which time was formatted.
class FakeDates final : public DateFormatter {
public:
    std::string FormatFileTime(std::uint64_t ticks) override { return "{" + std::to_string(ticks) + "}"; }
    std::string FormatFileDate(std::uint64_t ticks) override { return "[" + std::to_string(ticks) + "]"; }
};

// "<N>" for N bytes, so that tests see exactly which number was formatted.
class FakeSizes final : public SizeFormatter {
public:
    std::string FormatByteSize(std::uint64_t bytes) override { return "<" + std::to_string(bytes) + ">"; }
};

// The overwrite prompt answered from a script: 'Y' Yes, 'A' Yes to All, 'N' No, 'O' No to All,
// 'X' closed without a button; 'N' when the script has run out.
class FakeOverwrite final : public OverwritePrompt {
public:
    std::deque<char> script;
    std::vector<std::string> asked, details;
    std::function<void()> onAsk;  // runs while the prompt is shown

    void ResetFrm() override { yAll_ = nAll_ = false; response_ = ResponseNone; }
    bool YAll() override { return yAll_; }
    bool NAll() override { return nAll_; }
    int Ask(std::string_view destination, std::string_view shown) override {
        asked.push_back(std::string(destination));
        details.push_back(std::string(shown));
        if (onAsk) onAsk();
        const char answer = script.empty() ? 'N' : script.front();
        if (!script.empty()) script.pop_front();
        // Closed without a button, the prompt returns the response it had.
        if (answer != 'X') response_ = answer == 'Y' || answer == 'A' ? ResponseOverwrite : ResponseKeep;
        yAll_ = yAll_ || answer == 'A';
        nAll_ = nAll_ || answer == 'O';
        return response_;
    }

private:
    bool yAll_ = false, nAll_ = false;
    int response_ = ResponseNone;
};

// Code page 1252 as far as the tests need it: each byte is the character of its own number
// (U+0000 to U+00FF); a character beyond those has no place in it.
class FakeCodePage final : public CodePage {
public:
    std::string ToUtf8(std::string_view bytes) override {
        std::u16string units(bytes.begin(), bytes.end());
        for (std::size_t i = 0; i < bytes.size(); ++i) units[i] = static_cast<unsigned char>(bytes[i]);
        return Utf8FromUtf16(units);
    }
    bool FromUtf8(std::string_view text, std::string& bytes) override {
        std::u16string units;
        bytes.clear();
        if (!Utf16FromUtf8(text, units)) return false;
        for (const char16_t u : units) {
            if (u > 0xFF) return false;
            bytes += static_cast<char>(u);
        }
        return true;
    }
};

// The running program, the programs started and a clock that moves only when waited on. A file
// whose bytes begin with "Morvane" counts as a copy of Morvane.
class FakeProcesses final : public Processes, public Clock {
public:
    explicit FakeProcesses(FileSystem& fs) : fs_(fs) {}
    std::string program = "C:\\Tools\\Morvane.exe";
    std::vector<std::string> started;
    std::uint32_t now = 0;
    int waits = 0;
    std::function<void()> onStart;  // runs as a program starts

    std::string ProgramPath() override { return program; }
    void Start(std::string_view path) override { started.emplace_back(path); if (onStart) onStart(); }
    bool IsMorvane(std::string_view path) override {
        try {
            return fs_.ReadAll(path).rfind("Morvane", 0) == 0;
        } catch (const Failure&) {
            return false;
        }
    }
    std::uint32_t Ticks() override { return now; }
    void WaitForEvents(std::uint32_t ms) override { ++waits; now += ms < 7000 ? ms : 7000; }

private:
    FileSystem& fs_;
};

class FakeView final : public RipView {
public:
    struct Row { std::string text; int data; bool selected = false; InstallMark mark = InstallMark::Unmarked; };
    std::string path;
    std::vector<Row> rows;
    int current = -1;
    std::map<RipLabel, std::string> labels;
    bool deleteTicked = false, timerOn = false, closing = false;
    int yields = 0, loads = 0, pathReturns = 0;  // pathReturns: path box text selected whole, path box focused
    bool redrawOff = false;  // between BeginRows and EndRows
    int failRow = -1;        // AddRow of this row runs out of memory
    std::function<void()> onYield;  // runs inside YieldOnce

    std::string PathText() override { return path; }
    void SetPathText(std::string_view t) override { path = std::string(t); }
    void SelectWholePathText() override { ++pathReturns; }
    void FocusPath() override { ++pathReturns; }
    void StopPathTimer() override { timerOn = false; }
    int RowCount() override { return static_cast<int>(rows.size()); }
    std::string RowText(int r) override { return rows.at(static_cast<std::size_t>(r)).text; }
    int RowData(int r) override { return rows.at(static_cast<std::size_t>(r)).data; }
    std::vector<int> SelectedRows() override {
        std::vector<int> selected;
        for (std::size_t r = 0; r < rows.size(); ++r)
            if (rows[r].selected) selected.push_back(static_cast<int>(r));
        return selected;
    }
    int CurrentRow() override { return current; }
    void SelectRows(const std::vector<int>& rs) override {
        for (int r : rs) rows.at(static_cast<std::size_t>(current = r)).selected = true;
    }
    void ClearSelection() override {
        for (Row& row : rows) row.selected = false;
    }
    void BeginRows() override { rows.clear(); current = -1; ++loads; redrawOff = true; }
    void AddRow(std::string_view t, int data, InstallMark mark) override {
        if (static_cast<int>(rows.size()) == failRow) throw std::bad_alloc();
        rows.push_back({std::string(t), data, false, mark});
    }
    void EndRows() override { redrawOff = false; }
    void SetLabel(RipLabel l, std::string_view c) override { labels[l] = std::string(c); }
    bool DeleteTicked() override { return deleteTicked; }
    void YieldOnce() override { ++yields; if (onYield) onYield(); }
    std::vector<std::string> progress;  // "text done/total" of each report
    bool progressShown = false;
    std::size_t cancelAfter = static_cast<std::size_t>(-1);  // reports before Cancel is pressed
    void BeginProgress() override { progressShown = true; }
    void ShowProgress(std::string_view text, std::uint64_t done, std::uint64_t total) override {
        progress.push_back(std::string(text) + " " + std::to_string(done) + "/" + std::to_string(total));
    }
    bool cancelPressed = false;
    bool CancelRequested() override { return cancelPressed || progress.size() > cancelAfter; }
    void EndProgress() override { progressShown = false; }
    bool CloseRequested() override { return closing; }
};
