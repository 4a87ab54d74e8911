#include "toolkit/controls/Label.h"

#include "toolkit/graphics/Font.h"

TLabel::TLabel()
{
    SetControlStyle(ControlStyle() & ~csOpaque);
}

void TLabel::SetTransparent(bool transparent)
{
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    Invalidate();
}

void TLabel::Paint()
{
    TCanvas& canvas = Canvas();
    RECT r = ClientRect();
    if (!transparent_) {
        canvas.Brush().SetColor(Color());
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        canvas.FillRect(r);
    }
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    if (!Enabled())
        canvas.Font().SetColor(clGrayText);
    canvas.DrawText(Caption(), r, DT_LEFT | DT_TOP | DT_EXPANDTABS);
}
