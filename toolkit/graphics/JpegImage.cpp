#include "toolkit/graphics/JpegImage.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/JpegDecoder.h"

TJPEGImage::TJPEGImage() : bitmap_(std::make_unique<TBitmap>()) {}

TJPEGImage::~TJPEGImage() = default;

int TJPEGImage::Width() const
{
    return bitmap_->Width();
}

int TJPEGImage::Height() const
{
    return bitmap_->Height();
}

bool TJPEGImage::Empty() const
{
    return bitmap_->Empty();
}

void TJPEGImage::SetTransparent(bool value)
{
    bitmap_->SetTransparent(value);
    TGraphic::SetTransparent(value);
}

void TJPEGImage::Take(std::unique_ptr<TBitmap> bitmap)
{
    bitmap->SetTransparent(Transparent());
    bitmap_ = std::move(bitmap);
    Changed();
}

void TJPEGImage::LoadFromStream(TByteSpan data)
{
    Take(JpegDecoder::Decode(data));
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const
{
    auto copy = std::make_unique<TJPEGImage>();
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Assign(*bitmap_);
    copy->TGraphic::SetTransparent(Transparent());
    copy->Take(std::move(bitmap));
    return copy;
}

void TJPEGImage::Draw(TCanvas& canvas, const RECT& rect)
{
    canvas.StretchDraw(rect, *bitmap_);
}
