#pragma once
// The program's pictures, linked into it as bitmap resources named after the generated files in
// upper case (skin_dialog.bmp -> SKIN_DIALOG, btn_ok_up.bmp -> BTN_OK_UP).
#include <windows.h>

#include <memory>
#include <string>

class TBitmap;
class TBmpButton;

// The bitmap resource of that name; a missing one raises an Exception naming it.
std::unique_ptr<TBitmap> ArtBitmap(const std::string& name);
// The button's state pictures <stem>_UP, _HOT, _DOWN, ...; a button with no picture at all
// raises an Exception naming the stem.
void LoadButtonArt(TBmpButton& button, const std::string& stem);
// Gives the window the program's icon (big and small), which the task bar and the window
// switcher show. Shared icons of the program: the system frees them. A program without one
// (a test program) leaves the window as it is.
void SetProgramIcon(HWND window) noexcept;
