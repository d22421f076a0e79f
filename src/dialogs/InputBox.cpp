// The input box: a dialog of ours with the prompt, an edit holding the default text, OK and Cancel.
#include "dialogs/InputBox.h"

#include "platform/DialogLayout.h"
#include "platform/WinUi.h"
#include "resource.h"

namespace {

struct InputBoxData {
    std::string prompt, title, text;
    bool ok = false;
};

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        auto* data = reinterpret_cast<InputBoxData*>(GetWindowLongPtrW(dialog, DWLP_USER));
        switch (message) {
            case WM_INITDIALOG: {
                data = reinterpret_cast<InputBoxData*>(lParam);
                SetWindowLongPtrW(dialog, DWLP_USER, lParam);
                SetText(dialog, data->title);
                SetText(GetDlgItem(dialog, IDC_INPUTPROMPT), data->prompt);
                HWND edit = GetDlgItem(dialog, IDC_INPUTTEXT);
                SetText(edit, data->text);
                LayOutToFit(dialog);
                CentreOnOwner(dialog, GetWindow(dialog, GW_OWNER));
                SetFocus(edit);
                SendMessageW(edit, EM_SETSEL, 0, -1);
                return FALSE;  // the focus is set
            }
            case WM_COMMAND:
                if (LOWORD(wParam) == IDOK && data != nullptr) {
                    data->text = GetText(GetDlgItem(dialog, IDC_INPUTTEXT));
                    data->ok = true;
                    EndDialog(dialog, IDOK);
                    return TRUE;
                }
                if (LOWORD(wParam) == IDCANCEL) {
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                }
                break;
        }
    } catch (...) {
        EndDialog(dialog, IDCANCEL);
    }
    return FALSE;
}

}  // namespace

std::string ShowInputBox(HWND owner, std::string_view prompt, std::string_view title, std::string_view defaultText) {
    InputBoxData data{std::string(prompt), std::string(title), std::string(defaultText)};
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_INPUTBOX), owner, InputBoxProc,
                    reinterpret_cast<LPARAM>(&data));
    return data.ok ? data.text : std::string();
}
