#pragma once
// The fill tool of a canvas: a colour, solid or clear, or a pattern taken from a bitmap.
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/GraphicsObject.h"

class TBitmap;

enum class TBrushStyle { bsSolid, bsClear };
using enum TBrushStyle;

class TBrush : public TGraphicsObject {
public:
    TColor Color() const noexcept { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const noexcept { return style_; }
    void SetStyle(TBrushStyle style);
    // A pattern bitmap (not owned; it must outlive its use here). While set, the brush paints
    // the pattern and its colour only serves as background colour of text and mono copies.
    TBitmap* Bitmap() const noexcept { return bitmap_; }
    void SetBitmap(TBitmap* bitmap);

    void Assign(const TBrush& source);
    HBRUSH Handle() { return static_cast<HBRUSH>(ObjectHandle()); }

protected:
    TToolObject CreateObject() const override;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
    TBitmap* bitmap_ = nullptr;
};
