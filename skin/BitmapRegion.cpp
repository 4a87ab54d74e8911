#include "skin/BitmapRegion.h"

#include "skin/OpaqueRuns.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/core/Exception.h"

#include "toolkit/graphics/Canvas.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {
// The key as the plain colour the pixels are compared with.
COLORREF KeyOf(TBitmap& bitmap)
{
    return ColorToRGB(bitmap.TransparentColor()) & 0x00FFFFFF;
}

ScopedRegion RegionFromRuns(const std::vector<TOpaqueRun>& runs)
{
    if (runs.empty())
        return {};
    std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof header;
    header.iType = RDH_RECTANGLES;
    header.nCount = DWORD(runs.size());
    header.nRgnSize = DWORD(runs.size() * sizeof(RECT));
    header.rcBound = {runs.front().Left, runs.front().Top, runs.front().Right, runs.back().Top + 1};
    auto* rects = reinterpret_cast<RECT*>(data.data() + sizeof header);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const TOpaqueRun& run = runs[i];
        rects[i] = {run.Left, run.Top, run.Right, run.Top + 1};
        header.rcBound.left = std::min(header.rcBound.left, LONG(run.Left));
        header.rcBound.right = std::max(header.rcBound.right, LONG(run.Right));
    }
    std::memcpy(data.data(), &header, sizeof header);
    ScopedRegion region(ExtCreateRegion(nullptr, DWORD(data.size()), reinterpret_cast<const RGNDATA*>(data.data())));
    if (!region)
        throw EOSError("Cannot create a region of " + std::to_string(runs.size()) + " rectangles");
    return region;
}

// Result := Result united with the rectangle; the rectangle's own region goes at once.
void AddRectangle(ScopedRegion& result, int left, int top, int right, int bottom)
{
    ScopedRegion piece(CreateRectRgn(left, top, right, bottom));
    if (!piece)
        throw EOSError("Cannot create a region");
    if (!result)
        result = std::move(piece);
    else if (CombineRgn(result.get(), result.get(), piece.get(), RGN_OR) == ERROR)
        throw EOSError("Cannot unite two regions");
}
} // namespace

ScopedRegion RegionFromBitmapBits(TBitmap& bitmap)
{
    const int width = bitmap.Width(), height = bitmap.Height();
    if (bitmap.Empty() || width <= 0 || height <= 0)
        return {};
    const COLORREF key = KeyOf(bitmap);
    // 32-bit pixels read as 0x00RRGGBB: the key is brought to the same order.
    const std::uint32_t rowKey = (std::uint32_t(GetRValue(key)) << 16) | (std::uint32_t(GetGValue(key)) << 8) |
                                 GetBValue(key);
    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height));
    BITMAPINFO info{};
    info.bmiHeader = TopDownDibHeader(width, height, 32);
    ScopedDC dc(CreateCompatibleDC(nullptr));
    if (!dc || GetDIBits(dc.get(), bitmap.Handle(), 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS) != height)
        throw EOSError("Cannot read the bits of a bitmap");
    std::vector<TOpaqueRun> runs;
    for (int y = 0; y < height; ++y)
        AppendOpaqueRuns(pixels.data() + std::size_t(y) * std::size_t(width), width, y, rowKey, runs);
    return RegionFromRuns(runs);
}

ScopedRegion RegionFromBitmapPixels(TBitmap& bitmap)
{
    const int width = bitmap.Width(), height = bitmap.Height();
    if (bitmap.Empty())
        return {};
    const COLORREF key = KeyOf(bitmap);
    TCanvas& canvas = bitmap.Canvas();
    ScopedRegion result;
    for (int y = 0; y < height; ++y) {
        bool inside = false;
        int start = 0;
        for (int x = 0; x < width; ++x) {
            const bool opaque = (canvas.Pixel(x, y) & 0x00FFFFFF) != key;
            if (opaque != inside) {
                if (inside)
                    AddRectangle(result, start, y, x, y + 1);
                else
                    start = x;
            }
            inside = opaque;
        }
        if (inside)
            AddRectangle(result, start, y, width, y + 1);
    }
    return result;
}
