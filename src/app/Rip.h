// The main window's behaviour: the folder check, the cache listing with its statistics, and the
// state that other windows read (ValidPath, CacheKeys).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/RipView.h"
#include "cache/CacheIndex.h"
#include "fixer/FixerHost.h"
#include "uncache/UncacheHost.h"

class Clipboard;
class CodePage;
class DateFormatter;
class FileSystem;
class OverwritePrompt;
class Prompts;
class Registry;
class SizeFormatter;

struct RipPorts {
    FileSystem& files;
    Registry& registry;
    Prompts& prompts;
    Clipboard& clipboard;
    SizeFormatter& sizes;
    OverwritePrompt& overwrite;
    CodePage& codePage;
    DateFormatter& dates;
};

class Rip final : public FixerHost, public UncacheHost {
public:
    Rip(RipView& view, RipPorts ports) : view_(view), ports_(ports) {}
    Rip(const Rip&) = delete;
    Rip& operator=(const Rip&) = delete;

    // The result of the last folder check.
    bool ValidPath = false;
    // Slot 0 is unused, slot 1 always empty; slot n holds the key of the row whose item datum is n,
    // a view of the index as the last listing read it, valid until the next listing.
    std::vector<std::string_view> CacheKeys{std::string_view(), std::string_view()};
    // The install mark of each slot's row, beside CacheKeys.
    std::vector<InstallMark> Marks{InstallMark::Unmarked, InstallMark::Unmarked};

    RipView& View() { return view_; }
    RipPorts& Ports() { return ports_; }
    std::string GameFolder() override { return view_.PathText(); }
    bool IsPathValid() override { return ValidPath; }
    // The key of a row, through its item datum.
    std::string KeyOfRow(int row) override;

    // The path box becomes the game's record of its folder (Find, Escape, start-up), cleaned, and
    // ValidPath what checking that text gives, quietly: the folder shown is the folder checked.
    void LocateFolder();
    void CheckPath() override;
    void LoadCache() override;

    // The un-cache run's view of the window.
    UncachePorts RunPorts() override {
        return {ports_.files, ports_.prompts, ports_.clipboard, ports_.overwrite, ports_.codePage, ports_.sizes,
                ports_.dates};
    }
    std::string RowText(int row) override { return view_.RowText(row); }
    std::vector<int> SelectedRows() override { return view_.SelectedRows(); }
    bool DeleteTicked() override { return view_.DeleteTicked(); }
    void YieldOnce() override { view_.YieldOnce(); }
    bool CloseRequested() override { return view_.CloseRequested(); }
    void ShowSummary(const std::string& text) override { view_.SetLabel(RipLabel::Summary, text); }
    void BeginProgress() override { view_.BeginProgress(); }
    void ShowProgress(const std::string& text, std::uint64_t done, std::uint64_t total) override {
        view_.ShowProgress(text, done, total);
    }
    bool CancelRequested() override { return view_.CancelRequested(); }
    void EndProgress() override { view_.EndProgress(); }

    // Button handlers. While an un-cache run or a deletion is in progress, the clicks that its one
    // yield delivers are ignored, so runs never nest.
    void cmdFind_Click();
    void cmdRefresh_Click();
    void cmdSelAll_Click();
    // Selects exactly the rows whose file is not in the game folder yet: un-caching them asks nothing.
    void mnuSelNew_Click();
    void cmdUncache_Click();
    void cmdDelete_Click();
    // Cache > Export selected as zip..., Compress selected for a redirect server...
    void mnuExportZip_Click();
    void mnuCompressUz2_Click();

    // Marks the main window busy for the lifetime of the guard.
    class BusyGuard {
    public:
        explicit BusyGuard(Rip& rip) : rip_(rip) { rip_.busy_ = true; }
        ~BusyGuard() { rip_.busy_ = false; }
        BusyGuard(const BusyGuard&) = delete;
        BusyGuard& operator=(const BusyGuard&) = delete;

    private:
        Rip& rip_;
    };
    bool Busy() const { return busy_; }

private:
    // The per-type counts and the size line of the rows just listed.
    void ShowCounts(const std::uint32_t* counts, std::uint64_t total, int rows);

    RipView& view_;
    RipPorts ports_;
    bool busy_ = false;
    // The index as the last listing read it: the text of CacheKeys.
    IndexEntries listed_;
};
