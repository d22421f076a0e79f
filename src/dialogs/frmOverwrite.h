// The overwrite question of an un-cache run. It hides rather than closes when answered, so that
// YAll, NAll and Response keep their values for the rest of the run.
#pragma once
#include <windows.h>

#include <string>

#include "uncache/OverwritePrompt.h"

class frmOverwrite final : public OverwritePrompt {
public:
    explicit frmOverwrite(HWND owner) : owner_(owner) {}
    ~frmOverwrite() override;
    void SetOwner(HWND owner) { owner_ = owner; }

    bool YAllValue = false;
    bool NAllValue = false;
    int Response = ResponseNone;

    void ResetFrm() override;
    bool YAll() override { return YAllValue; }
    bool NAll() override { return NAllValue; }
    int Ask(std::string_view destination, std::string_view details) override;

    // The window, created on first use; null before that.
    HWND Window() const { return hwnd_; }
    void Unload();

private:
    static INT_PTR CALLBACK s_DlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void EnsureLoaded();
    void Form_Load();
    void Answer(int response, bool yesToAll, bool noToAll);
    void SetFile(std::string_view path);

    HWND owner_;
    HWND hwnd_ = nullptr;
    int width_ = 0;   // the client area's width as laid out, which a long path widens
    int margin_ = 0;  // between the file label and the window's right edge
};
