// The task bar button's progress through ITaskbarList3.
// https://learn.microsoft.com/windows/win32/api/shobjidl_core/nn-shobjidl_core-itaskbarlist3
#include "platform/Win32TaskbarProgress.h"

#include <objbase.h>
#include <shobjidl.h>

void Win32TaskbarProgress::Begin(HWND window) {
    End();
    window_ = window;
    // COM for this thread, as long as the job lasts; S_FALSE: it was started already, and still
    // wants its CoUninitialize.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comStarted_ = SUCCEEDED(com);
    void* list = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, &list))) return;
    list_ = static_cast<ITaskbarList3*>(list);
    if (FAILED(list_->HrInit())) {
        End();
        return;
    }
    list_->SetProgressState(window_, TBPF_NORMAL);
}

void Win32TaskbarProgress::Show(std::uint64_t done, std::uint64_t total) {
    if (list_ != nullptr) list_->SetProgressValue(window_, done, total == 0 ? 1 : total);
}

void Win32TaskbarProgress::End() {
    if (list_ != nullptr) {
        list_->SetProgressState(window_, TBPF_NOPROGRESS);
        list_->Release();
        list_ = nullptr;
    }
    if (comStarted_) CoUninitialize();
    comStarted_ = false;
}
