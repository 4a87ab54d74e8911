#pragma once
// The skinned windows in a contrast theme: plain faces and frames in the system's colours and
// captions as text, in place of pictures whose colours and words the theme cannot reach.
#include "toolkit/graphics/Color.h"

#include <windows.h>

#include <string>

class TCanvas;

// The mark a title-bar button draws in place of its name, which would not fit.
enum class TWindowGlyph { wgNone, wgMinimize, wgClose };
using enum TWindowGlyph;

struct TContrastButton {
    std::string Caption; // "&" marks the access key
    TWindowGlyph Glyph = wgNone;
    bool Pressed = false;  // held down or latched
    bool Hot = false;      // under the pointer
    bool Disabled = false;
    bool Focused = false;  // has the focus and the focus is to be shown
    bool ShowAccessKey = true;
};
// The whole button over the rectangle.
void DrawContrastButton(TCanvas& canvas, const RECT& client, const TContrastButton& button);

// A skinned window's body: the face colour, with the outline of the window's region (or its
// rectangle) framed, over the client rectangle.
void DrawContrastSkin(TCanvas& canvas, HWND window, const RECT& client);

// The skin's colour, or the system's while a contrast theme is on.
TColor SkinColour(TColor skinned, TColor system) noexcept;
