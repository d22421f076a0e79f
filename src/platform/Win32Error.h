// The platform's own description of a Win32 error, and Failure built from it.
#pragma once
#include <windows.h>

#include <string>

std::string Win32ErrorText(DWORD error);
// Throws Failure with the description of GetLastError().
[[noreturn]] void ThrowLastError();
