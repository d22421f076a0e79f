// The about box's "System Info..." button: finding and starting the system information program.
#pragma once
#include <windows.h>

#include <string>

#include "platform/Prompts.h"

// Reads the value `SubKeyRef` of the key `KeyName` below `KeyRoot` as text into `KeyVal`: REG_SZ as
// its text (one final NUL dropped), REG_DWORD as decimal text, any other type leaves `KeyVal` as it
// was. A missing key or value, or a value over 1024 characters, empties `KeyVal` and returns false.
// The key is opened for reading only, so that it works without administrator rights.
[[nodiscard]] bool GetKeyValue(HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                               std::string& KeyVal);

// Starts MSINFO32 from the path that Windows records for it, or tells the user it is unavailable.
void StartSysInfo(Prompts& prompts);
