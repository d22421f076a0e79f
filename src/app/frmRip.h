// The main window: path box, cache listing, statistics, the action buttons and the menu bar.
// It owns its controls and shows the behaviour of Rip through them.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/Rip.h"
#include "app/RipView.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOverwrite.h"
#include "fixer/frmFix.h"
#include "platform/Win32CodePage.h"
#include "platform/Win32DateFormatter.h"
#include "platform/Win32Processes.h"
#include "platform/Win32TaskbarProgress.h"
#include "platform/WinUi.h"
#include "settings/frmOptions.h"

class Win32Prompts;

class frmRip final : public RipView {
public:
    frmRip(FileSystem& files, Registry& registry, Win32Prompts& prompts, Clipboard& clipboard, SizeFormatter& sizes);
    ~frmRip() override;
    frmRip(const frmRip&) = delete;
    frmRip& operator=(const frmRip&) = delete;

    // Creates the window (its load handler is the start-up sequence) and shows it; after the
    // launcher sequence it is destroyed instead, unseen, and Run returns at once.
    bool Create(int showCommand);
    // Runs the program's message loop until the main window is closed; returns the exit code.
    int Run();

    HWND Window() const { return hwnd_; }
    HWND Tooltips() const { return tooltips_; }
    Rip& Core() { return rip_; }
    frmOverwrite& Overwrite() { return overwrite_; }
    frmOptions& Options() { return options_; }
    frmFix& Fixer() { return fix_; }
    HACCEL Accelerators() const { return accelerators_; }

    // RipView
    std::string PathText() override;
    void SetPathText(std::string_view text) override;
    void SelectWholePathText() override;
    void FocusPath() override;
    void StopPathTimer() override;
    int RowCount() override;
    std::string RowText(int row) override;
    int RowData(int row) override;
    std::vector<int> SelectedRows() override;
    int CurrentRow() override;
    void SelectRows(const std::vector<int>& rows) override;
    void BeginRows() override;
    void AddRow(std::string_view text, int data, InstallMark mark) override;
    void ClearSelection() override;
    void EndRows() override;
    void SetLabel(RipLabel label, std::string_view caption) override;
    bool DeleteTicked() override;
    void YieldOnce() override;
    void BeginProgress() override;
    void ShowProgress(std::string_view text, std::uint64_t done, std::uint64_t total) override;
    bool CancelRequested() override { return cancelRequested_ || closeRequested_; }
    void EndProgress() override;
    bool CloseRequested() override { return closeRequested_; }

private:
    template <typename Window>
    friend INT_PTR CALLBACK DialogThunk(HWND, UINT, WPARAM, LPARAM) noexcept;
    INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code);
    template <typename Handler>
    void Guarded(const char* handler, Handler run);

    void Form_Load();
    void Form_QueryUnload();
    void txtPath_GotFocus();
    void txtPath_LostFocus();
    void txtPath_Validate();
    void tmrPath_Timer();
    void lstCache_SelChange();
    // Rows of the owner-drawn list: their height from the list's font, and each drawn as its sign
    // (new, installed, other version) in a narrow column, then its name.
    void SetRowHeight();
    void DrawRow(const DRAWITEMSTRUCT& item);
    void lblMB_Change();
    void AnswerOpenQuestionsNo();

    void AddTooltips();
    // A tool's own window procedure, put before the control's, hands its mouse messages to the
    // tooltip control. Not comctl32's TTF_SUBCLASS: under Wine that costs every message the control
    // gets (each row added to the list, each caption set) a round trip to the Wine server.
    struct ToolRelay {
        HWND tooltips = nullptr;
        WNDPROC next = nullptr;
    };
    static LRESULT CALLBACK RelayToTooltips(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void SetButtonPicture(int id, int icon);
    void SetDefaultButton(int id);
    // A control's handle, looked up once: under Wine every GetDlgItem asks the server, and a run
    // over thousands of rows asks for the list box thousands of times.
    HWND Item(int id) const;

    Win32Prompts& prompts_;
    frmOverwrite overwrite_{nullptr};
    Win32Processes processes_;
    frmOptions options_;
    Win32CodePage codePage_;
    Win32DateFormatter dates_;
    Rip rip_;
    frmFix fix_{rip_, rip_.Ports().files, rip_.Ports().clipboard, rip_.Ports().sizes, codePage_};
    frmAbout about_{rip_.Ports().clipboard};
    HWND hwnd_ = nullptr;
    HWND tooltips_ = nullptr;
    std::vector<ToolRelay> toolRelays_;  // one per tool, each read through its control's user data
    HACCEL accelerators_ = nullptr;
    int currentRow_ = -1;  // list boxes never report "no current row" themselves
    bool closeRequested_ = false;  // closed while a run was busy: it closes once the run has ended
    bool inProgress_ = false, cancelRequested_ = false;  // a long job shows its progress; Cancel or Escape pressed
    bool progressDrawn_ = false;  // since the job began
    DWORD shownAt_ = 0;           // when its progress was last drawn
    Win32TaskbarProgress taskbar_;
    DWORD pumpedAt_ = 0;      // when a run's progress last handled the window's messages
    mutable std::unordered_map<int, HWND> items_;
    // As SetLabel last set them; nothing before its first call, whatever the template holds.
    std::optional<std::string> captions_[static_cast<std::size_t>(RipLabel::Legend) + 1];
    bool endAtOnce_ = false;       // the launcher sequence has run: no window, nothing saved
};
