#include "toolkit/graphics/DecodedImage.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

TDecodedImage::TDecodedImage() : bitmap_(std::make_unique<TBitmap>()) {}

TDecodedImage::~TDecodedImage() = default;

int TDecodedImage::Width() const
{
    return bitmap_->Width();
}

int TDecodedImage::Height() const
{
    return bitmap_->Height();
}

bool TDecodedImage::Empty() const
{
    return bitmap_->Empty();
}

void TDecodedImage::SetTransparent(bool value)
{
    bitmap_->SetTransparent(value);
    TGraphic::SetTransparent(value);
}

void TDecodedImage::Take(std::unique_ptr<TBitmap> bitmap)
{
    bitmap->SetTransparent(Transparent());
    bitmap_ = std::move(bitmap);
    Changed();
}

void TDecodedImage::CopyInto(TDecodedImage& copy) const
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Assign(*bitmap_);
    copy.TGraphic::SetTransparent(Transparent());
    copy.Take(std::move(bitmap));
}

void TDecodedImage::Draw(TCanvas& canvas, const RECT& rect)
{
    canvas.StretchDraw(rect, *bitmap_);
}
