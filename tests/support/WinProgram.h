// The real main window with the real Win32 adapters on a temporary game folder, for the window
// tests, and small readers of its controls.
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
#include "resource.h"
#include "support/DialogAnswerer.h"
#include "support/TempGame.h"

// The rows of a list box.
std::vector<std::string> ListRows(HWND list);
// A window as a user meets it: its title; " [fixed]" without sizing frame, control box, minimise
// or maximise button; " [tool]" when it stays out of the task bar; then "|" and the text of every
// child control that has one but pictures, in their order (the keyboard's order in a dialog).
std::string Look(HWND window);
std::string ClipboardText();
// The screen's resolution in dots per inch, as the windows of this process see it.
int ScreenDpi();
// "W x H twips" of the client area at the screen's resolution, then ", centred" if it is centred on `owner`.
std::string Placement(HWND window, HWND owner);

// The folder is recorded as the game's and the main window opened on it with no stored options;
// `prepare` changes the folder before. Dialogs other than the main window are answered.
struct OpenedGame {
    // Destroyed last: closing the main window posts WM_QUIT, which would end the next test's loops.
    struct QuitDrain { ~QuitDrain(); } drain;
    TempGame game;
    Win32FileSystem files;
    MRegistry registry;
    Win32Prompts prompts;
    Win32Clipboard clipboard;
    Win32SizeFormatter sizes;
    frmRip form{files, registry, prompts, clipboard, sizes};
    DialogAnswerer answers;

    // Whatever options the window stores stay until the next one opens (the end-to-end test forgets them too).
    OpenedGame(const std::vector<std::pair<std::string, std::string>>& entries, std::size_t size,
               const std::function<void(TempGame&)>& prepare = {}, std::string_view folderName = "MorvaneTest");

    HWND Item(int id) const { return GetDlgItem(form.Window(), id); }
    std::vector<std::string> Rows() const { return ListRows(Item(IDC_LSTCACHE)); }
    int DefaultButton() const { return LOWORD(SendMessageW(form.Window(), DM_GETDEFID, 0, 0)); }
    void Click(int id) const { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    void Menu(int id) const { SendMessageW(form.Window(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
    // Types a key into a control as the keyboard would, through the main window's dialog handling.
    void Key(int id, WPARAM key) const;
};
