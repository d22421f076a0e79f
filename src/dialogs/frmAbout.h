// The about box: name, version, description, Morvane's links and the system information button.
// It has no title bar, so it is dragged by its body and by its picture and text labels. It is
// created when shown and unloads itself on OK.
#pragma once
#include <windows.h>

#include "platform/Prompts.h"
#include "platform/Win32Prompts.h"
#include "platform/WinUi.h"

class frmAbout {
public:
    explicit frmAbout(Clipboard& clipboard) : clipboard_(clipboard) {}
    ~frmAbout() { Unload(); }
    frmAbout(const frmAbout&) = delete;
    frmAbout& operator=(const frmAbout&) = delete;

    // Creates the window and shows it modally, centred on `owner`, until OK unloads it.
    void Show(HWND owner);
    // Destroys the window if it is loaded (OK, or the main window closing).
    void Unload();
    // The window while it is loaded, null otherwise.
    HWND Window() const { return hwnd_; }

private:
    template <typename Window>
    friend INT_PTR CALLBACK DialogThunk(HWND, UINT, WPARAM, LPARAM) noexcept;
    static LRESULT CALLBACK s_DragProc(HWND element, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM lParam);
    template <typename Handler>
    void Guarded(const char* handler, Handler run);
    void Form_Load();
    void cmdOK_Click();
    void OpenLink(const char* link);
    // The three drag handlers of the window and of each draggable element; true when handled.
    bool Drag(HWND element, UINT message, LPARAM lParam);
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    Win32Prompts prompts_;  // its message boxes are owned by this window
    Clipboard& clipboard_;
    HWND hwnd_ = nullptr;
    HFONT titleFont_ = nullptr;
    WNDPROC staticProc_ = nullptr;  // the labels' own procedure, under the drag handlers
    bool dragging_ = false;
    bool moved_ = false;  // since the press: a drag by the picture is not a click on it
    int grabX_ = 0, grabY_ = 0;
};
