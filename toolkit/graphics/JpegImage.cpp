#include "toolkit/graphics/JpegImage.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/JpegDecoder.h"

void TJPEGImage::LoadFromStream(TByteSpan data)
{
    Take(JpegDecoder::Decode(data));
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const
{
    auto copy = std::make_unique<TJPEGImage>();
    CopyInto(*copy);
    return copy;
}
