// Readers and keyboard for the window tests.
#include "support/WinProgram.h"

#include "settings/SettingsStore.h"
#include "support/DialogAnswerer.h"

namespace {

// A closed main window stores its options (in both keys), and the next one starts with them.
void ForgetStoredOptions() {
    RegDeleteKeyA(HKEY_CURRENT_USER, OptionsKeyPath);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, OptionsKeyPath, KEY_WOW64_32KEY, 0);
}

}  // namespace

std::vector<std::string> WinProgram::Rows() const {
    std::vector<std::string> rows;
    const int n = static_cast<int>(SendMessageA(Item(1011), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char b[512] = {};
        SendMessageA(Item(1011), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(b));
        rows.push_back(b);
    }
    return rows;
}

void WinProgram::Key(int id, WPARAM key) const {
    SetFocus(Item(id));
    PostMessageA(Item(id), WM_KEYDOWN, key, 1);
    PostMessageA(Item(id), WM_KEYUP, key, 0xC0000001);
    PumpFor(60, form.Window());
}

std::string WinProgram::ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<clipboard busy>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) text = p;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

OpenedGame::OpenedGame(const std::vector<std::pair<std::string, std::string>>& entries, std::size_t size,
                       const std::function<void(TempGame&)>& prepare)
    : game(entries, size) {
    ForgetStoredOptions();
    if (prepare) prepare(game);
    game.RegisterAsGameFolder();
    p.form.Create(SW_SHOW);
    answers.Ignore(p.form.Window());
    PumpFor(50, p.form.Window());
}

OpenedGame::~OpenedGame() { ForgetStoredOptions(); }
