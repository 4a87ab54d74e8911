#pragma once
// The DPI windows are shown at. The program is aware of each monitor's DPI where the system
// offers it (Windows 10 1607 and later), else of the system's; the functions of newer systems
// are looked up at run time so the program still starts on older ones.
#include "toolkit/core/DpiScale.h"

#include <windows.h>

// Asked of a window before WM_DPICHANGED: its size at the new DPI (Windows 10 1703 and later;
// the headers of older targets lack the name).
inline constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;

// The system's DPI (the primary display's at sign-in): what a window takes before it knows
// its monitor.
int SystemDpi() noexcept;
// The DPI of a window: its monitor's where the system scales per monitor, else the system's.
int WindowDpi(HWND window) noexcept;
// The window rectangle around a client rectangle for a style at a DPI. Systems without the
// per-DPI function answer for their own DPI.
RECT WindowRectForDpi(RECT client, DWORD style, DWORD exStyle, int dpi) noexcept;
