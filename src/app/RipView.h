// What the main window's behaviour needs from the window itself: its path box, list, labels and
// check box. frmRip implements it over its controls; tests implement it in memory.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/InstallMarks.h"

// Summary: what the last un-cache run or removal did, one line, cleared by the next listing.
// Legend: how many rows are new, installed already, or another version.
enum class RipLabel { Sys, Maps, Anim, StatM, Textures, Sounds, Music, Save, Unknown, MB, Summary, Legend };

class RipView {
public:
    RipView() = default;
    RipView(const RipView&) = delete;
    RipView& operator=(const RipView&) = delete;
    virtual ~RipView() = default;

    virtual std::string PathText() = 0;
    virtual void SetPathText(std::string_view text) = 0;
    virtual void SelectWholePathText() = 0;
    // Quietly does nothing when the focus cannot be moved (the window is not shown yet).
    virtual void FocusPath() = 0;
    virtual void StopPathTimer() = 0;

    virtual int RowCount() = 0;
    virtual std::string RowText(int row) = 0;
    virtual int RowData(int row) = 0;
    // The selected rows, in their order.
    virtual std::vector<int> SelectedRows() = 0;
    // The row carrying the focus mark, -1 when there is none.
    virtual int CurrentRow() = 0;
    // Selects these rows too, the last one becoming the current row, and draws the list once.
    virtual void SelectRows(const std::vector<int>& rows) = 0;
    // Selects no row; the current row stays.
    virtual void ClearSelection() = 0;
    // Replaces every row; nothing is redrawn until the last one is in.
    virtual void BeginRows() = 0;
    // A row shows its text and, beside it, whether its file is in the game folder already.
    virtual void AddRow(std::string_view text, int data, InstallMark mark) = 0;
    virtual void EndRows() = 0;

    virtual void SetLabel(RipLabel label, std::string_view caption) = 0;
    virtual bool DeleteTicked() = 0;
    // Handles every pending window message once, then returns.
    virtual void YieldOnce() = 0;
    // A long job's progress in the window: a bar and a Cancel button (Escape too) while it runs.
    // ShowProgress updates them and handles pending messages, so the window stays alive.
    virtual void BeginProgress() = 0;
    virtual void ShowProgress(std::string_view text, std::uint64_t done, std::uint64_t total) = 0;
    virtual bool CancelRequested() = 0;
    virtual void EndProgress() = 0;
    // The user has asked to close the main window while a run was asking something: the run ends
    // as if every open and later question were answered No, and nothing further is done.
    virtual bool CloseRequested() = 0;
};
