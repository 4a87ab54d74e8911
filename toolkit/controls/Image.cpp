#include "toolkit/controls/Image.h"

#include "toolkit/graphics/Bitmap.h"

TImage::TImage()
{
    picture_.OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage()
{
    picture_.OnChange = nullptr;
}

TCanvas& TImage::Canvas()
{
    if (!picture_.Graphic())
        picture_.SetGraphic(std::make_unique<TBitmap>(Width(), Height()));
    auto* bitmap = dynamic_cast<TBitmap*>(picture_.Graphic());
    if (!bitmap)
        throw Exception("Can only modify an image if it contains a bitmap");
    return bitmap->Canvas();
}

void TImage::PictureChanged()
{
    // The picture follows the control's transparency; the check keeps this from recursing.
    if (TGraphic* g = picture_.Graphic(); g && !g->Empty() && g->Transparent() != transparent_)
        g->SetTransparent(transparent_);
    if (autoSize_ && picture_.Width() > 0 && picture_.Height() > 0)
        SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    Invalidate();
}

void TImage::SetAutoSize(bool autoSize)
{
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    PictureChanged();
}

void TImage::SetStretch(bool stretch)
{
    if (stretch == stretch_)
        return;
    stretch_ = stretch;
    Invalidate();
}

void TImage::SetCenter(bool center)
{
    if (center == center_)
        return;
    center_ = center;
    Invalidate();
}

void TImage::SetTransparent(bool transparent)
{
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    PictureChanged();
}

RECT TImage::DestRect() const
{
    const int w = picture_.Width(), h = picture_.Height();
    if (stretch_)
        return ClientRect();
    if (center_) {
        const int x = (ClientWidth() - w) / 2, y = (ClientHeight() - h) / 2;
        return {x, y, x + w, y + h};
    }
    return {0, 0, w, h};
}

void TImage::Paint()
{
    TGraphic* graphic = picture_.Graphic();
    if (!graphic || graphic->Empty())
        return;
    TGraphicControl::Canvas().StretchDraw(DestRect(), *graphic);
}
