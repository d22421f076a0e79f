// The real main window with the real Win32 adapters, for the window tests, and small readers of
// its controls.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/frmRip.h"
#include "platform/MRegistry.h"
#include "platform/Win32Clipboard.h"
#include "platform/Win32FileSystem.h"
#include "platform/Win32Prompts.h"
#include "platform/Win32SizeFormatter.h"
#include "support/DialogAnswerer.h"
#include "support/TempGame.h"

struct WinProgram {
    // Destroyed last: closing the main window posts WM_QUIT, which would end the next test's loops.
    struct QuitDrain {
        ~QuitDrain() {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            }
        }
    } drain;
    Win32FileSystem files;
    MRegistry registry;
    Win32Prompts prompts;
    Win32Clipboard clipboard;
    Win32SizeFormatter sizes;
    frmRip form{files, registry, prompts, clipboard, sizes};

    HWND Item(int id) const { return GetDlgItem(form.Window(), id); }
    std::string Text(int id) const { return TextOf(Item(id)); }
    std::vector<std::string> Rows() const;
    int DefaultButton() const { return LOWORD(SendMessageA(form.Window(), DM_GETDEFID, 0, 0)); }
    void Click(int id) const { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    // Types a key into a control as the keyboard would, through the main window's dialog handling.
    void Key(int id, WPARAM key) const;

    static std::string TextOf(HWND window) { return WindowText(window); }
    static std::string ClipboardText();
};

// A temporary game folder recorded as the game's, and the main window opened on it; `prepare`
// changes the folder before the window opens. Dialogs other than the main window are answered.
// The window starts with no stored options, and leaves none behind.
struct OpenedGame {
    TempGame game;
    WinProgram p;
    DialogAnswerer answers;
    OpenedGame(const std::vector<std::pair<std::string, std::string>>& entries, std::size_t size,
               const std::function<void(TempGame&)>& prepare = {});
    ~OpenedGame();
};
