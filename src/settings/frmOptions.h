// The options window: "Automation" with chkEmpty and chkLaunch, and OK. It hides rather than
// closes, so its boxes keep their states for the whole run; unloading it saves the options.
#pragma once
#include <windows.h>

#include "settings/SettingsStore.h"

class FileSystem;
class Processes;
class Registry;

class frmOptions final : public OptionsWindow {
public:
    frmOptions(Registry& registry, FileSystem& files, Processes& processes)
        : registry_(registry), files_(files), processes_(processes) {}
    ~frmOptions() override;
    // The owner, its "Delete cached files when un-caching" box, which is stored with the options,
    // and its path box, whose text names the game folder that launcher mode is installed in.
    void SetOwner(HWND owner, HWND delFilesBox, HWND pathBox) {
        owner_ = owner;
        delFilesBox_ = delFilesBox;
        pathBox_ = pathBox;
    }

    void Load() override;
    // Shows the window modally over its owner until OK hides it.
    void Show();
    // Saves the options and destroys the window, if it was ever created.
    void Unload();
    HWND Window() const { return hwnd_; }

    int State(Option option) override;
    void SetState(Option option, int state) override;

private:
    static INT_PTR CALLBACK s_DlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void EnsureLoaded();
    void cmdOK_Click();
    void chkLaunch_Click();
    HWND Box(Option option) const;

    Registry& registry_;
    FileSystem& files_;
    Processes& processes_;
    HWND owner_ = nullptr;
    HWND delFilesBox_ = nullptr;
    HWND pathBox_ = nullptr;
    HWND hwnd_ = nullptr;
};
