// The opened main window and its readers, for the window tests.
#include "support/WinProgram.h"

#include <cstdlib>

#include "cache/GameFolder.h"
#include "platform/WideText.h"
#include "settings/SettingsStore.h"

OpenedGame::QuitDrain::~QuitDrain() {
    for (MSG msg; PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);) {
    }
}

OpenedGame::OpenedGame(const std::vector<std::pair<std::string, std::string>>& entries, std::size_t size,
                       const std::function<void(TempGame&)>& prepare, std::string_view folderName)
    : game(entries, size, folderName) {
    // A closed main window stores its options (in both keys), and the next one starts with them.
    RegDeleteKeyW(HKEY_CURRENT_USER, Wide(OptionsKeyPath).c_str());
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Wide(OptionsKeyPath).c_str(), KEY_WOW64_32KEY, 0);
    if (prepare) prepare(game);
    registry.WriteRegValue(HKeyLocalMachine, GameKeyPath, GameFolderValue, game.Folder());
    form.Create(SW_SHOW);
    answers.ignored = form.Window();
    PumpFor(50, form.Window());
}

void OpenedGame::Key(int id, WPARAM key) const {
    SetFocus(Item(id));
    PostMessageW(Item(id), WM_KEYDOWN, key, 1);
    PumpFor(60, form.Window());
}

std::vector<std::string> ListRows(HWND list) {
    std::vector<std::string> rows(static_cast<std::size_t>(SendMessageW(list, LB_GETCOUNT, 0, 0)));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        wchar_t b[512] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(b));
        rows[i] = Narrow(b, 512);
    }
    return rows;
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<clipboard busy>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) text = Narrow(p);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::string Placement(HWND window, HWND owner) {
    RECT client, box, around;
    GetClientRect(window, &client);
    GetWindowRect(window, &box);
    GetWindowRect(owner, &around);
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const bool centred = std::abs(box.left + box.right - around.left - around.right) <= 2 &&
                         std::abs(box.top + box.bottom - around.top - around.bottom) <= 2;
    return std::to_string(MulDiv(client.right, 1440, dpiX)) + " x " +
           std::to_string(MulDiv(client.bottom, 1440, dpiY)) + " twips" + (centred ? ", centred" : "");
}

std::string Look(HWND window) {
    std::string look = WindowText(window);
    if ((GetWindowLongW(window, GWL_STYLE) & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0)
        look += " [fixed]";
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) look += " [tool]";
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t type[16] = {};
        GetClassNameW(child, type, 16);
        const LONG picture = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
        if (lstrcmpiW(type, L"Static") == 0 && (picture == SS_ICON || picture == SS_BITMAP)) continue;
        if (const std::string text = WindowText(child); !text.empty()) look += "|" + text;
    }
    return look;
}
