// Pictures of windows as the screen shows them, saved for people to look at after a test run.
#pragma once
#include <windows.h>

#include <string>

// Saves `window`, frame and controls, as a PNG file named `name`.png in the "screenshots" folder
// beside the test program; false if it could not be written.
bool SaveScreenshot(HWND window, const std::string& name);
