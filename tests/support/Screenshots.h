#pragma once
// Where the tests that show windows save their screenshots: $QUORREL_SCREENSHOTS as a Windows
// path ending in a backslash (made when missing), or empty when the variable is not set.
#include <windows.h>

#include <string>

class TBitmap;

std::string ScreenshotFolder();
// The smallest rectangle around the pixels of a picture that differ from `background`, leaving
// out `inset` pixels at each edge (a panel's border); empty (right <= left) when there are none.
RECT InkBounds(TBitmap& picture, COLORREF background, int inset = 0);
