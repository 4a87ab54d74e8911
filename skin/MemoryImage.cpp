#include "skin/MemoryImage.h"

#include "toolkit/graphics/Bitmap.h"

TMemoryImage::TMemoryImage(int width, int height, bool monochrome)
    : width_(width), height_(height), bitmap_(CreateBitmapImage(width, height, monochrome)),
      dc_(MemoryDCWith(bitmap_.get()))
{
}

HDC TMemoryImage::DC() noexcept
{
    dc_.Select(bitmap_.get());
    return dc_.get();
}

HBITMAP TMemoryImage::Bitmap() noexcept
{
    dc_.Deselect();
    return bitmap_.get();
}
