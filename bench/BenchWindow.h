// The real main window opened on a benchmark's game folder and shown on the display, so that a run
// started from its buttons draws its progress and pumps its messages as a player's would, with the
// message boxes it shows answered and recorded.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app/frmRip.h"
#include "platform/MRegistry.h"
#include "platform/Win32Clipboard.h"
#include "platform/Win32FileSystem.h"
#include "platform/Win32Prompts.h"
#include "platform/Win32SizeFormatter.h"

// Answers each message box of this thread once it is shown: Yes where it has Yes and `yes` is set,
// otherwise whatever closes it harmlessly (No, Cancel, OK). A box's activation (seen by a hook)
// arms a thread timer that its modal loop dispatches: a timer alone would tick through the whole
// timed run, and a box is activated before it is visible, as are the hidden dialogs the main
// window keeps, which are no boxes to answer.
class BoxAnswerer {
public:
    struct Box {
        std::string title, text;
        bool yesNo;         // it offers Yes and No
        int defaultButton;  // the one drawn as default, 0 if none is
    };
    BoxAnswerer();
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    bool yes = false;
    HWND ignored = nullptr;  // the main window, a dialog too
    std::vector<Box> boxes;  // every box met, in order

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) noexcept;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept;
    static BOOL CALLBACK Each(HWND window, LPARAM) noexcept;
    void Answer(HWND box);

    HHOOK hook_;
    UINT_PTR timer_ = 0;
};

class BenchWindow {
public:
    // Records `gameFolder` as the game's, forgets stored options (an automatic run at start-up
    // would spoil the first measurement), and opens the main window on it, shown.
    explicit BenchWindow(const std::string& gameFolder);

    HWND Item(int id) const { return GetDlgItem(form_.Window(), id); }
    // Presses a button as a click would, then takes the messages it left (paints among them) as the
    // message loop would next: what a player waits for before the window shows the outcome.
    void Click(int id);
    // The listing read again with the Refresh button, then every row selected.
    void RefreshAndSelectAll();
    // Hides or shows the window: a hidden window shows no progress.
    void Show(bool shown);
    int SelectedRows() const;

    BoxAnswerer answers;

private:
    Win32FileSystem files_;
    MRegistry registry_;
    Win32Prompts prompts_;
    Win32Clipboard clipboard_;
    Win32SizeFormatter sizes_;
    frmRip form_{files_, registry_, prompts_, clipboard_, sizes_};
};
