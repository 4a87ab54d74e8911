#include "skin/MemoryImage.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/core/Exception.h"


namespace {
ScopedDC CreateMemoryDC()
{
    ScopedDC dc(CreateCompatibleDC(nullptr));
    if (!dc)
        throw EOSError("Cannot create a memory device context");
    return dc;
}
} // namespace

TMemoryImage::TMemoryImage(int width, int height, bool monochrome)
    : width_(width), height_(height), bitmap_(CreateBitmapImage(width, height, monochrome)), dc_(CreateMemoryDC())
{
    DC();
}

TMemoryImage::~TMemoryImage()
{
    Bitmap(); // the bitmap leaves the context before either is deleted
}

HDC TMemoryImage::DC() noexcept
{
    if (!previous_)
        previous_ = SelectObject(dc_.get(), bitmap_.get());
    return dc_.get();
}

HBITMAP TMemoryImage::Bitmap() noexcept
{
    if (previous_)
        SelectObject(dc_.get(), previous_);
    previous_ = nullptr;
    return bitmap_.get();
}
