#include "toolkit/graphics/Brush.h"

#include "toolkit/graphics/Bitmap.h"

void TBrush::SetColor(TColor color)
{
    if (color == color_ && style_ == TBrushStyle::bsSolid)
        return;
    color_ = color;
    // Choosing a colour makes a clear brush paint again.
    style_ = TBrushStyle::bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    Update(style_, style);
}

void TBrush::SetBitmap(TBitmap* bitmap)
{
    Update(bitmap_, bitmap);
}

void TBrush::Assign(const TBrush& source)
{
    if (&source == this)
        return;
    color_ = source.color_;
    style_ = source.style_;
    bitmap_ = source.bitmap_;
    Changed();
}

TToolObject TBrush::CreateObject() const
{
    if (bitmap_ && !bitmap_->Empty())
        return TToolObject::Made(CreatePatternBrush(bitmap_->Handle()));
    if (style_ == TBrushStyle::bsClear)
        return TToolObject::Stock(NULL_BRUSH);
    return TToolObject::Made(CreateSolidBrush(ColorToRGB(color_)));
}
