#include "toolkit/graphics/Pen.h"

void TPen::SetColor(TColor color)
{
    Update(color_, color);
}

void TPen::SetWidth(int width)
{
    Update(width_, width);
}

void TPen::SetStyle(TPenStyle style)
{
    Update(style_, style);
}

void TPen::SetMode(int mode)
{
    Update(mode_, mode);
}

void TPen::Assign(const TPen& source)
{
    if (&source == this)
        return;
    color_ = source.color_;
    width_ = source.width_;
    style_ = source.style_;
    mode_ = source.mode_;
    Changed();
}

TToolObject TPen::CreateObject() const
{
    static constexpr int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL};
    return TToolObject::Made(CreatePen(kStyles[int(style_)], width_, ColorToRGB(color_)));
}
