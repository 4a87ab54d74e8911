#include "skin/FormShape.h"

#include "skin/BitmapRegion.h"
#include "skin/HighContrastDrawing.h"
#include "skin/TransparentDrawing.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/core/Exception.h"
#include "toolkit/controls/Form.h"
#include "toolkit/graphics/HighContrast.h"

namespace {
TForm& FormOwner(TComponent& owner)
{
    if (auto* form = dynamic_cast<TForm*>(&owner))
        return *form;
    throw EInvalidCast();
}

// SC_MOVE with HTCAPTION: a move as if the caption bar had been grabbed.
constexpr WPARAM kMoveByCaption = 0xF012;
} // namespace

TFormShape::TFormShape(TComponent& owner) : form_(FormOwner(owner)), alive_(std::make_shared<TFormShape*>(this))
{
    SetAlign(alClient);
    SetTransparent(true);
    form_.SetBorderStyle(bsNone);
    form_.OnShow = [alive = std::weak_ptr<TFormShape*>(alive_)](TObject* sender) {
        if (auto shape = alive.lock())
            (*shape)->FormShowHook(sender);
    };
}

TFormShape::~TFormShape() = default;

void TFormShape::FormShowHook(TObject*)
{
    ApplyShape();
    if (OnFormShow)
        OnFormShow(this);
}

void TFormShape::ApplyShape()
{
    if (regionApplied_)
        return;
    regionApplied_ = true;
    TGraphic* graphic = Picture().Graphic();
    ScopedRegion region;
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic); bitmap && !bitmap->Empty()) {
        // A bitmap is its own outline: its key pixels are the holes, read without a copy.
        region = RegionFromBitmap(*bitmap);
    } else {
        TBitmap composed(Picture().Width(), Picture().Height());
        if (composed.Empty()) {
            SetWindowRgn(form_.Handle(), nullptr, TRUE);
            return;
        }
        composed.Canvas().Draw(0, 0, *graphic);
        region = RegionFromBitmap(composed);
    }
    // The window owns the region from here on.
    if (SetWindowRgn(form_.Handle(), region.get(), TRUE))
        region.release();
}

void TFormShape::ChangeSkin(std::unique_ptr<TBitmap> picture)
{
    Picture().SetGraphic(std::move(picture));
    if (!regionApplied_)
        return;
    regionApplied_ = false;
    ApplyShape();
}

ScopedRegion TFormShape::RegionFromBitmap(TBitmap& bitmap)
{
    return RegionFromBitmapBits(bitmap);
}

void TFormShape::Paint()
{
    if (HighContrastOn()) {
        DrawContrastSkin(TGraphicControl::Canvas(), form_.Handle(), ClientRect());
        return;
    }
    auto* bitmap = dynamic_cast<TBitmap*>(Picture().Graphic());
    if (!bitmap || bitmap->Empty() || !Transparent() || Stretch() || Center()) {
        TImage::Paint();
        return;
    }
    TCanvas& canvas = TGraphicControl::Canvas();
    const RECT clip = canvas.ClipRect();
    const RECT picture{0, 0, bitmap->Width(), bitmap->Height()};
    RECT part;
    if (IntersectRect(&part, &clip, &picture))
        DrawTransparentRect(canvas, *bitmap, part, part, bitmap->TransparentColor());
}

void TFormShape::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TImage::MouseDown(button, shift, x, y);
    if (!allowFormDrag_)
        return;
    // Any button moves the window; the platform's move loop returns when it is released.
    ReleaseCapture();
    SendMessageA(form_.Handle(), WM_SYSCOMMAND, kMoveByCaption, 0);
}
