// Standard #32770 message boxes and our input box.
#include "platform/Win32Prompts.h"

#include <string>

#include <commdlg.h>
#include <shlobj.h>

#include "dialogs/InputBox.h"
#include "platform/WideText.h"

MsgAnswer Win32Prompts::Message(std::string_view text, std::string_view title, MsgIcon icon, MsgButtons buttons) {
    UINT style = buttons == MsgButtons::YesNo ? MB_YESNO | MB_DEFBUTTON1
                 : buttons == MsgButtons::YesNoDefaultNo ? MB_YESNO | MB_DEFBUTTON2 : MB_OK;
    switch (icon) {
        case MsgIcon::Exclamation: style |= MB_ICONEXCLAMATION; break;
        case MsgIcon::Critical: style |= MB_ICONERROR; break;
        case MsgIcon::Question: style |= MB_ICONQUESTION; break;
        case MsgIcon::Information: style |= MB_ICONINFORMATION; break;
        case MsgIcon::None: break;
    }
    const std::wstring t = Wide(text), caption = Wide(title.empty() ? std::string_view(ProgramTitle) : title);
    HWND owner = owner_ != nullptr && IsWindowVisible(owner_) ? owner_ : nullptr;
    switch (MessageBoxW(owner, t.c_str(), caption.c_str(), style | (owner ? 0 : MB_TASKMODAL))) {
        case IDYES: return MsgAnswer::Yes;
        case IDNO: return MsgAnswer::No;
        default: return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    }
}

std::string Win32Prompts::InputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) {
    return ShowInputBox(owner_, prompt, title, defaultText);
}

// https://learn.microsoft.com/windows/win32/api/commdlg/nf-commdlg-getsavefilenamew
std::string Win32Prompts::SaveFileName(std::string_view title, std::string_view defaultName, std::string_view kind,
                                       std::string_view extension) {
    std::wstring file = Wide(defaultName);
    file.resize(32768, L'\0');  // room for any path
    const std::wstring caption = Wide(title), ext = Wide(extension);
    // "Zip archives (*.zip)", "*.zip", then the list's end.
    std::wstring filter = Wide(kind) + L" (*." + ext + L")";
    filter += L'\0';
    filter += L"*." + ext;
    filter += L'\0';
    filter += L'\0';
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_ != nullptr && IsWindowVisible(owner_) ? owner_ : nullptr;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = caption.c_str();
    dialog.lpstrDefExt = ext.c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog)) return {};
    return Narrow(file.c_str(), file.size());
}

// https://learn.microsoft.com/windows/win32/api/shlobj_core/nf-shlobj_core-shbrowseforfolderw
std::string Win32Prompts::PickFolder(std::string_view title) {
    const std::wstring caption = Wide(title);
    BROWSEINFOW browse{};
    browse.hwndOwner = owner_ != nullptr && IsWindowVisible(owner_) ? owner_ : nullptr;
    browse.lpszTitle = caption.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;  // the classic picker: it needs no COM, as on XP
    LPITEMIDLIST chosen = SHBrowseForFolderW(&browse);
    if (chosen == nullptr) return {};
    std::wstring path(MAX_PATH, L'\0');
    const bool ok = SHGetPathFromIDListW(chosen, path.data()) != FALSE;
    CoTaskMemFree(chosen);  // the shell's allocation
    return ok ? Narrow(path.c_str(), path.size()) : std::string();
}
