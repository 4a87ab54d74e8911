#pragma once
// Resizes a picture in which one key colour marks the holes (skins, button pictures), for a
// display scale the artwork was not drawn for. Each new pixel covers an area of the old
// picture: it is a hole when less than half of that area is opaque, and otherwise the average
// colour of the opaque part alone, so the outline stays sharp and no key colour bleeds into
// the edges. No platform header: the arithmetic is tested natively too.
#include <cstdint>

// Rows of 24-bit pixels, three bytes (blue, green, red) each, `stride` bytes apart, top first.
struct TPixelRows {
    std::uint8_t* Bits;
    int Width;
    int Height;
    int Stride;
};

// Fills `target` (its own size) from `source`; `key` is 0x00RRGGBB. Holes come out in exactly
// the key colour. Either picture empty: nothing happens.
void ResampleKeyed(const TPixelRows& source, const TPixelRows& target, std::uint32_t key);
// The same for a picture without holes: every new pixel the average of the area it covers.
void ResampleArea(const TPixelRows& source, const TPixelRows& target);
