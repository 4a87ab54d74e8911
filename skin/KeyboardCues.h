#pragma once
// The keyboard's marks on a skinned button whose picture carries its word: the focus
// rectangle inside the picture's rim, and the line under the access-key letter, found where
// the picture shows the word (the pictures are drawn apart from the program, at any scale).
#include "toolkit/core/DpiScale.h"
#include "toolkit/graphics/Color.h"

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

class TBitmap;
class TCanvas;

// Where the access key stands in the caption as read: "&Adorn" -> 0, "Sa&ve" -> 2; none when
// the caption has no access key ("&&" is a literal ampersand).
std::optional<std::size_t> AccessKeyIndex(const std::string& caption);

struct TAccessKeyLine {
    RECT Line{};         // one pixel high, under the letter
    TColor Colour = clNone; // the word's own colour
    bool Found() const noexcept { return Line.right > Line.left; }
};
// The line under letter `index` of `word` in a picture that shows the word in its brightest
// colour (key-coloured pixels left out): the word's extent is read from the picture and the
// letter's share of it measured in `measure`'s font. Nothing found when the picture shows no
// bright word.
TAccessKeyLine AccessKeyLineIn(TBitmap& picture, TColor keyColour, const std::string& word, std::size_t index,
                               TCanvas& measure);

// The focus rectangle of a button of this size, inside the rim of its picture at this DPI.
RECT FocusCueRect(int width, int height, int dpi = kDesignDpi) noexcept;
