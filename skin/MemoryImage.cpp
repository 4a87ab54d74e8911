#include "skin/MemoryImage.h"

#include "toolkit/Exception.h"

#include <string>

namespace {
ScopedBitmap CreateImage(int width, int height, bool monochrome)
{
    ScopedBitmap bitmap;
    if (monochrome) {
        bitmap.reset(CreateBitmap(width, height, 1, 1, nullptr));
    } else {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    }
    if (!bitmap)
        throw EOSError("Cannot create a bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                       " pixels");
    return bitmap;
}

ScopedDC CreateMemoryDC()
{
    ScopedDC dc(CreateCompatibleDC(nullptr));
    if (!dc)
        throw EOSError("Cannot create a memory device context");
    return dc;
}
} // namespace

TMemoryImage::TMemoryImage(int width, int height, bool monochrome)
    : width_(width), height_(height), bitmap_(CreateImage(width, height, monochrome)), dc_(CreateMemoryDC())
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
