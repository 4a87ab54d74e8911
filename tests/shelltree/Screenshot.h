#pragma once
// Screenshots for looking at what a test made: a window as it shows on the screen, saved as a
// PNG file by the platform's own image encoder.
#include "support/Screenshots.h"

#include <windows.h>

#include <string>

// Saves the window's part of the screen; false when that cannot be done.
bool SaveWindowPng(HWND window, const std::string& path);
