#pragma once
// A bitmap of its own selected into a memory device context of its own, for the length of one
// drawing operation: the scratch surfaces of the transparent drawing functions and the region
// builder. Both handles go with the object, on every path.
#include "toolkit/core/Scoped.h"

class TMemoryImage {
public:
    // A 24-bit colour image (device independent, top-down) or a one-bit monochrome one.
    TMemoryImage(int width, int height, bool monochrome);
    TMemoryImage(const TMemoryImage&) = delete;
    TMemoryImage& operator=(const TMemoryImage&) = delete;

    // The context, with the bitmap selected again if it was taken out.
    HDC DC() noexcept;
    // The bitmap, out of the context: some platform calls (a masked blit's mask) select it
    // into a context of their own, which fails while it sits in another one. Still owned here.
    HBITMAP Bitmap() noexcept;
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }

private:
    int width_, height_;
    ScopedBitmap bitmap_;
    ScopedMemoryDC dc_; // goes first: the bitmap leaves it before either is deleted
};
