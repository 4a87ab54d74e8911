#pragma once
// Pictures drawn from text for the skin tests, and reading pixels back.
#include "toolkit/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// A bitmap drawn from rows of characters, one pixel each, coloured through the legend.
std::unique_ptr<TBitmap> PictureFromText(const std::vector<std::string>& rows, const std::map<char, TColor>& legend);
// A bitmap of one colour.
std::unique_ptr<TBitmap> SolidBitmap(int width, int height, TColor color);
// The plain RGB value of a pixel of a bitmap.
TColor PixelAt(TBitmap& bitmap, int x, int y);
// Every pixel of two bitmaps of the same size equal; names the first difference.
testing::AssertionResult SamePixels(TBitmap& actual, TBitmap& expected);
// A bitmap resource of this test program (the generated artwork, named like BTN_ADORN_UP).
std::unique_ptr<TBitmap> ArtBitmap(const std::string& name);
