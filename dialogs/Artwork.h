#pragma once
// The program's pictures, linked into it as resources named after the generated files in upper
// case. The 96-DPI set is bitmap resources (skin_dialog.bmp -> SKIN_DIALOG, btn_ok_up.bmp ->
// BTN_OK_UP); every larger display scale has its own set, drawn at that size and kept as PNG
// (RCDATA) with the scale appended (SKIN_DIALOG_150, BTN_OK_UP_150).
#include <windows.h>

#include <array>
#include <memory>
#include <string>

class TBitmap;
class TBmpButton;

// The scales, in percent of 96 DPI, that the artwork is drawn for.
inline constexpr std::array<int, 6> kArtScales{100, 125, 150, 175, 200, 250};

// The set a window at scalePercent uses: the nearest scale at or above it, so pictures are
// only ever made smaller to fit; above the largest, the largest. Below 100%, the 96-DPI set.
constexpr int ArtScaleFor(int scalePercent) noexcept
{
    for (int scale : kArtScales)
        if (scale >= scalePercent)
            return scale;
    return kArtScales.back();
}

// The picture of that name from the set for scalePercent; a missing one raises an Exception
// naming it.
std::unique_ptr<TBitmap> ArtBitmap(const std::string& name, int scalePercent = 100);
// The button's state pictures <stem>_UP, _HOT, _DOWN, ... from the set for scalePercent; a
// button with no picture at all raises an Exception naming the stem.
void LoadButtonArt(TBmpButton& button, const std::string& stem, int scalePercent = 100);

// For a window at `dpi`: the picture at exactly the size its 96-DPI picture has at that DPI
// (each side scaled and rounded as the layout is), from the set of the scale at or above and
// made smaller only when that set is larger. `keyed`: the picture's bottom-left colour marks
// holes (a skin), which stay clean holes.
std::unique_ptr<TBitmap> ArtBitmapForDpi(const std::string& name, int dpi, bool keyed);
// The button's state pictures for a window at `dpi`, the same way; the button's key colour
// marks their holes.
void LoadButtonArtForDpi(TBmpButton& button, const std::string& stem, int dpi);
