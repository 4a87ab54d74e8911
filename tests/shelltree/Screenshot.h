#pragma once
// Screenshots for looking at what a test made: a window as it shows on the screen, saved as a
// PNG file by the platform's own image encoder.
#include <windows.h>

#include <string>

// The folder QUORREL_SCREENSHOTS names (build/screenshots), made when missing, with its closing
// backslash; empty when the variable is not set.
std::string ScreenshotFolder();
// Saves the window's part of the screen; false when that cannot be done.
bool SaveWindowPng(HWND window, const std::string& path);
