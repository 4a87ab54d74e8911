#include "skin/TransparentDrawing.h"

#include "skin/MemoryImage.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/controls/Form.h"

#include <algorithm>

namespace {
// The scratch pair of a transparent draw: the picture at its final size and its key mask
// (1 where the stretched picture has the key colour).
struct KeyedImage {
    TMemoryImage image;
    TMemoryImage mask;

    KeyedImage(TBitmap& bitmap, const RECT& source, int width, int height, COLORREF key)
        : image(width, height, false), mask(width, height, true)
    {
        HDC from = bitmap.Canvas().Handle();
        StretchBlt(image.DC(), 0, 0, width, height, from, source.left, source.top, source.right - source.left,
                   source.bottom - source.top, SRCCOPY);
        SetBkColor(image.DC(), key);
        BitBlt(mask.DC(), 0, 0, width, height, image.DC(), 0, 0, SRCCOPY);
    }

    // Key pixels of the image turn black, so an OR or XOR of the image leaves them unchanged.
    void BlackenKey(COLORREF key)
    {
        if (key == 0)
            return; // they are black already
        SetBkColor(image.DC(), RGB(0, 0, 0));
        SetTextColor(image.DC(), RGB(255, 255, 255));
        BitBlt(image.DC(), 0, 0, image.Width(), image.Height(), mask.DC(), 0, 0, SRCAND);
    }

    // The mask onto the destination with AND: opaque places cleared to black, key places kept.
    void ClearOpaque(HDC dest, const RECT& r)
    {
        const COLORREF text = SetTextColor(dest, RGB(0, 0, 0));
        const COLORREF back = SetBkColor(dest, RGB(255, 255, 255));
        BitBlt(dest, r.left, r.top, image.Width(), image.Height(), mask.DC(), 0, 0, SRCAND);
        SetTextColor(dest, text);
        SetBkColor(dest, back);
    }
};

bool EmptyRect(const RECT& r) noexcept
{
    return r.right - r.left <= 0 || r.bottom - r.top <= 0;
}
} // namespace

void CopyParentBackground(TControl& control, HDC dc, bool invalidateParent)
{
    TWinControl* parent = control.Parent();
    if (!parent)
        return;
    const HWND window = parent->Handle();
    {
        const ScopedSavedDC saved(dc);
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x - control.Left(), origin.y - control.Top(), nullptr);
        IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
        SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        SendMessageA(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
    if (invalidateParent && !dynamic_cast<TCustomControl*>(parent) && !dynamic_cast<TForm*>(parent))
        parent->Invalidate();
}

void CopyParentBackground(TControl& control, TCanvas& canvas, bool invalidateParent)
{
    CopyParentBackground(control, canvas.Handle(), invalidateParent);
}

void DrawTransparentRect(TCanvas& canvas, TBitmap& bitmap, const RECT& dest, const RECT& source, TColor key)
{
    if (EmptyRect(dest) || bitmap.Empty())
        return;
    const COLORREF rgb = ColorToRGB(key);
    KeyedImage keyed(bitmap, source, dest.right - dest.left, dest.bottom - dest.top, rgb);
    keyed.BlackenKey(rgb);
    HDC dc = canvas.Handle();
    keyed.ClearOpaque(dc, dest);
    BitBlt(dc, dest.left, dest.top, keyed.image.Width(), keyed.image.Height(), keyed.image.DC(), 0, 0, SRCPAINT);
}

void BlitTransparent(TCanvas& canvas, TBitmap& bitmap, const RECT& dest, const RECT& source, TColor key)
{
    if (EmptyRect(dest) || bitmap.Empty())
        return;
    const COLORREF rgb = ColorToRGB(key);
    KeyedImage keyed(bitmap, source, dest.right - dest.left, dest.bottom - dest.top, rgb);
    HDC dc = canvas.Handle();
    const int w = keyed.image.Width(), h = keyed.image.Height();
    // Where the mask is 1 (key) the destination stays; elsewhere the picture is copied.
    constexpr DWORD kKeepDest = 0x00AA0029;
    if (MaskBlt(dc, dest.left, dest.top, w, h, keyed.image.DC(), 0, 0, keyed.mask.Bitmap(), 0, 0,
                MAKEROP4(kKeepDest, SRCCOPY)))
        return;
    // Without a masked blit: clear the opaque places, then XOR the picture with its key erased.
    keyed.BlackenKey(rgb);
    keyed.ClearOpaque(dc, dest);
    BitBlt(dc, dest.left, dest.top, w, h, keyed.image.DC(), 0, 0, SRCINVERT);
}

void DrawTransparentStretched(TCanvas& canvas, TBitmap& bitmap, const RECT& dest, TColor key)
{
    DrawTransparentRect(canvas, bitmap, dest, RECT{0, 0, bitmap.Width(), bitmap.Height()}, key);
}

void DrawTransparentTiled(TCanvas& canvas, TBitmap& bitmap, const RECT& dest, TColor key)
{
    const int bw = bitmap.Width(), bh = bitmap.Height();
    // A tile of no size would never move on.
    if (bw <= 0 || bh <= 0)
        return;
    for (int y = dest.top; y < dest.bottom; y += bh) {
        for (int x = dest.left; x < dest.right; x += bw) {
            const int w = std::min(bw, int(dest.right - x)), h = std::min(bh, int(dest.bottom - y));
            DrawTransparentRect(canvas, bitmap, RECT{x, y, x + w, y + h}, RECT{0, 0, w, h}, key);
        }
    }
}
