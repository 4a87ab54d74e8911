#pragma once
// Drawing bitmaps in which one colour, the key colour, marks where the picture is absent, and
// painting under a control what its parent shows there, so a borderless control looks
// see-through. Every transparent draw makes two scratch bitmaps of the destination size (the
// picture at its final size and a one-bit mask) and releases them before it returns, also when
// a platform call fails. Rectangles are right- and bottom-exclusive.
#include "toolkit/graphics/Color.h"

#include <windows.h>

class TBitmap;
class TCanvas;
class TControl;

// Paints into the device context what the control's parent shows under the control (the
// parent erases and paints itself and its windowless children there). A control without a
// parent leaves the context untouched. With invalidateParent the parent is also invalidated,
// unless it draws itself (a custom-drawn control or a form).
void CopyParentBackground(TControl& control, HDC dc, bool invalidateParent);
void CopyParentBackground(TControl& control, TCanvas& canvas, bool invalidateParent);

// Stretches the source rectangle of the bitmap onto the destination rectangle; pixels that
// have the key colour after stretching are not drawn. A system colour is keyed by its current
// value. Drawn with a mask and two raster operations (AND, then OR).
void DrawTransparentRect(TCanvas& canvas, TBitmap& bitmap, const RECT& dest, const RECT& source, TColor key);
// The same picture, drawn with the platform's masked blit.
void BlitTransparent(TCanvas& canvas, TBitmap& bitmap, const RECT& dest, const RECT& source, TColor key);
// The whole bitmap stretched onto the rectangle.
void DrawTransparentStretched(TCanvas& canvas, TBitmap& bitmap, const RECT& dest, TColor key);
// The bitmap repeated over the rectangle at its natural size from the top-left corner, the
// last column and row of tiles cut. An empty bitmap draws nothing.
void DrawTransparentTiled(TCanvas& canvas, TBitmap& bitmap, const RECT& dest, TColor key);
