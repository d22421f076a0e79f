// Small helpers for the repeated Win32 window chores.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

std::string GetText(HWND window);
void SetText(HWND window, std::string_view text);
// Handles every pending message (dialog messages included), then returns.
void YieldToEvents();
// Shows a kept-alive dialog modally over `owner`: the owner is disabled and messages are pumped
// until the dialog hides itself; then the owner is enabled and activated again.
void ShowModal(HWND dialog, HWND owner);
void CentreOnOwner(HWND window, HWND owner);
