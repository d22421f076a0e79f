// What the fixer's behaviour needs of its window: the three lists, the drop-down list of physical
// files, the name box, the labels and the "Delete file" button. frmFix implements it over its
// controls; tests implement it in memory.
#pragma once
#include <string>
#include <string_view>

enum class FixList { OK, Files, Cache, Hex };  // lstOK, lstFiles, lstCache, cmbHex
enum class FixLabel { Size, Modif, Info };     // lblSize, lblModif, lblInfo

class FixView {
public:
    FixView() = default;
    FixView(const FixView&) = delete;
    FixView& operator=(const FixView&) = delete;
    virtual ~FixView() = default;

    // Empties the lists and cmbHex; nothing is redrawn until EndRows.
    virtual void BeginRows() = 0;
    // Appends a row: the lists keep the order in which rows are added.
    virtual void AddRow(FixList list, std::string_view text) = 0;
    virtual void EndRows() = 0;
    // The selected row, -1 when there is none.
    virtual int SelectedRow(FixList list) = 0;
    // Selects a row (-1: none) without running the list's handler; the behaviour runs what follows.
    virtual void SelectRow(FixList list, int row) = 0;

    virtual std::string FilenameText() = 0;
    virtual void SetFilenameText(std::string_view text) = 0;
    virtual void SetLabel(FixLabel label, std::string_view caption) = 0;
    virtual void EnableDelHex(bool enabled) = 0;
};
