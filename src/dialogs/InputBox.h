// A small modal question with a prompt and one line of text to edit.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

// The edited text for OK; the empty text for Cancel or closing the box.
std::string ShowInputBox(HWND owner, std::string_view prompt, std::string_view title, std::string_view defaultText);
