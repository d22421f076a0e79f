// The fixer window "Morvane file fixer": the lists of the scan, the file info and the repair
// buttons, shown modally over the main window. It unloads when closed, and the main window then
// lists its cache again.
#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "fixer/Fix.h"
#include "fixer/FixView.h"
#include "platform/Win32DateFormatter.h"
#include "platform/Win32Prompts.h"
#include "platform/WinUi.h"

class frmFix final : public FixView {
public:
    frmFix(FixerHost& host, FileSystem& files, Clipboard& clipboard, SizeFormatter& sizes, CodePage& codePage)
        : clipboard_(clipboard), fix_(*this, host, FixPorts{files, prompts_, clipboard, sizes, dates_, codePage}) {}
    ~frmFix() override { Unload(); }

    // Creates the window, shows it modally over `owner` with a fresh scan, and when it is closed
    // unloads it and has the main window reload its listing.
    void Show(HWND owner);
    // Destroys the window if it is loaded (the main window closing while it is open).
    void Unload();
    // The window while it is loaded, null otherwise.
    HWND Window() const { return hwnd_; }

    // FixView
    void BeginRows() override;
    void AddRow(FixList list, std::string_view text) override;
    void EndRows() override;
    int SelectedRow(FixList list) override;
    void SelectRow(FixList list, int row) override;
    std::string FilenameText() override;
    void SetFilenameText(std::string_view text) override;
    void SetLabel(FixLabel label, std::string_view caption) override;
    void EnableDelHex(bool enabled) override;

private:
    template <typename Window>
    friend INT_PTR CALLBACK DialogThunk(HWND, UINT, WPARAM, LPARAM) noexcept;
    INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code);
    template <typename Handler>
    void Guarded(const char* handler, Handler run);
    void Form_Load();
    void Form_Activate();
    INT_PTR ListColours(HDC dc, HWND list) const;
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    HWND Control(FixList list) const;

    Win32Prompts prompts_;  // its message boxes are owned by this window, not by the disabled main window
    Win32DateFormatter dates_;
    Clipboard& clipboard_;
    Fix fix_;
    HWND hwnd_ = nullptr;
    HFONT titleFont_ = nullptr;
    HBRUSH okGround_ = nullptr, problemGround_ = nullptr;
    HDC measure_ = nullptr;  // while the rows go in
    HGDIOBJ measureFont_ = nullptr;
    std::array<LONG, 4> widest_{};  // the widest row of each list, in pixels
};
