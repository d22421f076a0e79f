// What the benchmarks share: timing of our code against the bare disk work, quiet ports, a main
// window held in memory, and a game folder on disk.
#pragma once
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Rip.h"
#include "support/DiskGame.h"
#include "app/RipView.h"
#include "platform/Win32CodePage.h"
#include "platform/Win32DateFormatter.h"
#include "platform/Win32FileSystem.h"
#include "platform/Win32SizeFormatter.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"
#include "uncache/OverwritePrompt.h"

using Job = std::function<void()>;

double TimeMs(const Job& job);

struct Best {
    double ours, floor;
};
// Times `ours` and `floor` in turn, `reps` times each, and keeps the best time of each, so that both
// see the same state of the machine. `prepare` runs, untimed, before every timed run.
Best Alternate(int reps, const Job& ours, const Job& floor, const Job& prepare = {});
// "<what>: ours 41.2 ms, <floorName> 18.0 ms, ratio 2.29 (target <= 3)"
void PrintRatio(std::string_view what, std::string_view floorName, Best best, double target);

// A file's bytes read with nothing but CreateFileA and ReadFile: the floor of every index read.
std::string ReadBare(const std::string& path);
void WriteBare(const std::string& path, std::string_view bytes);

// Files a benchmark needs by the thousand, made in one go before anything is timed: each a new
// file of `size` bytes (which bytes does not matter), or, with `copyOf`, a copy of a file made
// before it in the list, with its size and last-write time.
struct NewFile {
    std::string path;
    std::uint64_t size = 0;
    std::string copyOf;
};
void MakeFiles(const std::string& gameFolder, const std::vector<NewFile>& files);

// The bytes that operator new hands out and that are not deleted yet, and the most there were at
// once since the last ResetPeak. This is the memory our code asks for; the system's own (Windows'
// buffers of a folder listing, a list box's strings) is not in it.
struct HeapUse {
    std::size_t now, peak;
};
HeapUse Heap();
void ResetPeak();
// "<what>: peak 12.3 MB beyond the 4.1 MB before, 2.99 x <base> of 4.1 MB (target <= 4)"
void PrintPeak(std::string_view what, std::size_t before, std::size_t peak, std::string_view base,
               std::size_t baseBytes, double target);

class QuietRegistry final : public Registry {
public:
    RegValue ReadRegValue(std::uint32_t, std::string_view, std::string_view, std::uint32_t& type) override {
        type = 0;
        return RegValue::Nothing();
    }
    void WriteRegValue(std::uint32_t, std::string_view, std::string_view, std::string_view) override {}
};

// Answers every question with its first button; the benchmarks never ask one.
class QuietPrompts final : public Prompts {
public:
    MsgAnswer Message(std::string_view, std::string_view, MsgIcon, MsgButtons buttons) override {
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    std::string InputBox(std::string_view, std::string_view, std::string_view) override { return {}; }
    std::string SaveFileName(std::string_view, std::string_view, std::string_view, std::string_view) override {
        return {};
    }
    std::string PickFolder(std::string_view) override { return {}; }
};

class QuietClipboard final : public Clipboard {
public:
    void SetText(std::string_view) override {}
};

// Keeps every file it is asked about, and counts the questions.
class QuietOverwrite final : public OverwritePrompt {
public:
    int asked = 0;
    void ResetFrm() override {}
    bool YAll() override { return false; }
    bool NAll() override { return false; }
    int Ask(std::string_view, std::string_view) override {
        ++asked;
        return ResponseKeep;
    }
};

// The main window without a window: the path box holds the game folder; rows are kept (every one
// selected) or only counted; labels are dropped.
class MemoryView final : public RipView {
public:
    MemoryView(std::string folder, bool keepRows, bool deleteTicked)
        : path_(std::move(folder)), keepRows_(keepRows), deleteTicked_(deleteTicked) {}
    int rowsAdded = 0;

    std::string PathText() override { return path_; }
    void SetPathText(std::string_view text) override { path_ = std::string(text); }
    void SelectWholePathText() override {}
    void FocusPath() override {}
    void StopPathTimer() override {}
    int RowCount() override { return static_cast<int>(rows_.size()); }
    std::string RowText(int row) override { return rows_[static_cast<std::size_t>(row)].first; }
    int RowData(int row) override { return rows_[static_cast<std::size_t>(row)].second; }
    std::vector<int> SelectedRows() override {  // every row
        std::vector<int> all(rows_.size());
        for (std::size_t r = 0; r < all.size(); ++r) all[r] = static_cast<int>(r);
        return all;
    }
    int CurrentRow() override { return -1; }
    void SelectRows(const std::vector<int>&) override {}
    void ClearSelection() override {}
    void BeginProgress() override {}
    void ShowProgress(std::string_view, std::uint64_t, std::uint64_t) override {}
    bool CancelRequested() override { return false; }
    void EndProgress() override {}
    void BeginRows() override {
        rows_.clear();
        rowsAdded = 0;
    }
    void AddRow(std::string_view text, int data, InstallMark) override {
        ++rowsAdded;
        if (keepRows_) rows_.emplace_back(std::string(text), data);
    }
    void EndRows() override {}
    void SetLabel(RipLabel, std::string_view) override {}
    bool DeleteTicked() override { return deleteTicked_; }
    void YieldOnce() override {}
    bool CloseRequested() override { return false; }

private:
    std::string path_;
    bool keepRows_, deleteTicked_;
    std::vector<std::pair<std::string, int>> rows_;
};

// The main window's behaviour on the real file system and size texts, with quiet other ports.
struct BenchProgram {
    BenchProgram(std::string folder, bool keepRows, bool deleteTicked) : view(std::move(folder), keepRows, deleteTicked) {}
    Win32FileSystem files;
    QuietRegistry registry;
    QuietPrompts prompts;
    QuietClipboard clipboard;
    Win32SizeFormatter sizes;
    QuietOverwrite overwrite;
    Win32CodePage codePage;
    MemoryView view;
    Win32DateFormatter dates;
    Rip rip{view, RipPorts{files, registry, prompts, clipboard, sizes, overwrite, codePage, dates}};
};

// A game folder below the temporary folder with its sub-folders; removed with all it holds.
class BenchGame : public DiskGame {
public:
    BenchGame() : DiskGame("MorvaneBench") {}
};

// A cache of `files` textures F0001.utx... of `size` bytes each: the index's text and path, each
// cached file's path and its destination in Textures, and the bytes every file holds (written by
// the benchmark, as it needs them).
struct TexturesCache {
    std::string index, text = "[Cache]\r\n", bytes;
    std::vector<std::string> cached, destinations;
    TexturesCache(BenchGame& game, int files, std::size_t size) : index(game.Path("\\Cache\\cache.ini")), bytes(size, '\0') {
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 4096);
        for (int i = 1; i <= files; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "F%04d.utx", i);
            const std::string key = BenchGame::KeyFor(i);
            text += key + "=" + name + "\r\n";
            cached.push_back(game.Path("\\Cache\\" + key + "-1.uxx"));
            destinations.push_back(game.Path("\\Textures\\") + name);
        }
    }
};
