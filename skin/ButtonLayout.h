#pragma once
// Where a button's picture and caption stand in its content rectangle: pure arithmetic on
// sizes, without platform headers, so it is tested natively too.

// Where the picture stands relative to the caption.
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using enum TButtonLayout;

struct TLayoutSize {
    int X = 0;
    int Y = 0;
};

struct TLayoutPlaces {
    TLayoutSize Glyph; // top-left corner of the picture, relative to the content rectangle
    TLayoutSize Text;  // top-left corner of the caption's rectangle
};

// content: the content rectangle's size; glyph: the picture's size, (0, 0) when it fills the
// rectangle; text: the measured caption, (0, 0) without one. Margin and spacing -1 mean
// automatic: picture, gap and caption centred together (or spread in thirds when both are
// automatic). All divisions truncate toward zero.
TLayoutPlaces PlaceGlyphAndText(TLayoutSize content, TLayoutSize glyph, TLayoutSize text, TButtonLayout layout,
                                int spacing, int margin) noexcept;
