#pragma once
// The region of a bitmap's pixels that differ from its key colour (the colour set for it, or
// its bottom-left pixel): row by row, one rectangle per run of such pixels. A bitmap without
// any gives no region (an empty owner).
#include "toolkit/core/Scoped.h"

class TBitmap;

// Reads the whole picture in one call and makes the region from all runs at once.
ScopedRegion RegionFromBitmapBits(TBitmap& bitmap);
// Reads one pixel at a time through the bitmap's canvas and unites one rectangle per run:
// slow, kept as the reference the fast one is checked and measured against.
ScopedRegion RegionFromBitmapPixels(TBitmap& bitmap);
