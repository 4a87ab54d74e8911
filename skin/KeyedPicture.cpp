#include "skin/KeyedPicture.h"

#include "skin/KeyedResample.h"
#include "toolkit/core/Exception.h"
#include "toolkit/graphics/Bitmap.h"

namespace {
TPixelRows RowsOf(TBitmap& bitmap)
{
    std::uint8_t* bits = bitmap.ScanLine(0);
    if (!bits)
        throw EInvalidGraphic("A picture to resize must have colour pixels");
    return {bits, bitmap.Width(), bitmap.Height(), bitmap.ScanLineStride()};
}


// A new picture of that size filled by `fill` from the old one's rows and its own.
template <typename Fill>
std::unique_ptr<TBitmap> Resized(TBitmap& picture, int width, int height, Fill fill)
{
    auto resized = std::make_unique<TBitmap>();
    if (picture.Width() == width && picture.Height() == height) {
        resized->Assign(picture);
        return resized;
    }
    resized->SetSize(width, height);
    if (!picture.Empty() && width > 0 && height > 0)
        fill(RowsOf(picture), RowsOf(*resized));
    return resized;
}
} // namespace

std::unique_ptr<TBitmap> ResizedKeyed(TBitmap& picture, int width, int height, TColor key)
{
    const COLORREF rgb = ColorToRGB(key);
    const std::uint32_t packed =
        (std::uint32_t(GetRValue(rgb)) << 16) | (std::uint32_t(GetGValue(rgb)) << 8) | GetBValue(rgb);
    auto resized = Resized(picture, width, height, [packed](const TPixelRows& from, const TPixelRows& to) {
        ResampleKeyed(from, to, packed);
    });
    resized->SetTransparentColor(key);
    return resized;
}

std::unique_ptr<TBitmap> ResizedSmooth(TBitmap& picture, int width, int height)
{
    return Resized(picture, width, height, &ResampleArea);
}
