#include "toolkit/graphics/Bitmap.h"
#include "toolkit/core/Application.h"
#include "toolkit/core/Exception.h"
#include "toolkit/controls/GraphicControl.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"

#include <gtest/gtest.h>

namespace {

// A 32-bit memory surface whose pixels can be read back.
class MemorySurface {
public:
    MemorySurface(int width, int height) : width_(width)
    {
        BITMAPINFO info{};
        info.bmiHeader = TopDownDibHeader(width, height, 32);
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
        dc_ = MemoryDCWith(bitmap_.get());
        RECT all{0, 0, width, height};
        FillRect(dc_.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    HDC dc() const { return dc_.get(); }
    TColor Pixel(int x, int y) const
    {
        GdiFlush();
        const DWORD v = bits_[y * width_ + x]; // 0x00RRGGBB
        return RGBColor(static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
                        static_cast<std::uint8_t>(v));
    }

private:
    int width_;
    DWORD* bits_ = nullptr;
    ScopedBitmap bitmap_;
    ScopedMemoryDC dc_;
};

constexpr TColor kFormColor = RGBColor(222, 222, 222);
constexpr TColor kKey = RGBColor(255, 0, 255);

class PaintForm : public TForm {
public:
    PaintForm()
    {
        SetBorderStyle(bsNone);
        SetClientSize(120, 80);
        SetColor(kFormColor);
        BuildLayout(*this, {
            Place<TImage>("Solid", 10, 10, 20, 20),
            Place<TImage>("Keyed", 40, 10, 20, 20, {}, [](TImage& i) { i.SetTransparent(true); }),
            Place<TLabel>("Label", 70, 10, 40, 20, {}, [](TLabel& l) { l.SetColor(clYellow); }),
        });
        // Drawing on an empty image makes its picture a bitmap of the control's size.
        TCanvas& solid = Component<TImage>("Solid").Canvas();
        solid.Brush().SetColor(clBlue);
        solid.FillRect({0, 0, 20, 20});
        // A picture whose key colour (its bottom-left pixel) fills the left half.
        TCanvas& keyed = Component<TImage>("Keyed").Canvas();
        keyed.Brush().SetColor(kKey);
        keyed.FillRect({0, 0, 10, 20});
        keyed.Brush().SetColor(clRed);
        keyed.FillRect({10, 0, 20, 20});
    }
};

// Paints the form into a foreign device context the way a control asks for its parent's
// image under itself: erase, then paint, both with the context as first parameter.
void PaintInto(TForm& form, HDC dc)
{
    SendMessageA(form.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(form.Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

TEST(WindowlessControls, PaintIntoTheDeviceContextThePaintMessageCarries)
{
    PaintForm form;
    auto& solid = form.Component<TImage>("Solid");
    ASSERT_NE(dynamic_cast<TBitmap*>(solid.Picture().Graphic()), nullptr);
    EXPECT_EQ(solid.Picture().Width(), 20);
    EXPECT_EQ(solid.Picture().Height(), 20);

    MemorySurface surface(120, 80);
    PaintInto(form, surface.dc());
    EXPECT_EQ(surface.Pixel(2, 2), kFormColor);
    EXPECT_EQ(surface.Pixel(10, 10), clBlue);
    EXPECT_EQ(surface.Pixel(29, 29), clBlue);
    EXPECT_EQ(surface.Pixel(30, 30), kFormColor);
    // Key-coloured pixels of a transparent picture leave the form's colour.
    EXPECT_EQ(surface.Pixel(45, 15), kFormColor);
    EXPECT_EQ(surface.Pixel(55, 15), clRed);
    // An opaque label fills its rectangle with its colour.
    EXPECT_EQ(surface.Pixel(90, 20), clYellow);
}

TEST(WindowlessControls, PaintFollowsAShiftedOrigin)
{
    PaintForm form;
    MemorySurface surface(20, 20);
    // The asking control sits at (35, 5) of the form: the form's coordinates are shifted so
    // that its own image under the control lands at the context's origin.
    SetViewportOrgEx(surface.dc(), -35, -5, nullptr);
    PaintInto(form, surface.dc());
    SetViewportOrgEx(surface.dc(), 0, 0, nullptr);
    EXPECT_EQ(surface.Pixel(0, 0), kFormColor);   // form (35, 5)
    EXPECT_EQ(surface.Pixel(10, 10), kFormColor); // form (45, 15): key pixel of "Keyed"
    EXPECT_EQ(surface.Pixel(19, 19), clRed);      // form (54, 24)
}

// A windowless control whose painting fails.
class BrokenGraphic : public TGraphicControl {
protected:
    void Paint() override { throw Exception("broken picture"); }
};

TEST(WindowlessControls, AFailingPaintLeavesTheContextAsItWasAndIsReportedAfterIt)
{
    PaintForm form;
    auto& broken = form.Own<BrokenGraphic>();
    broken.SetParent(&form);
    broken.SetBounds(20, 30, 10, 10);
    std::vector<std::string> errors;
    Application.OnException = [&](TObject*, const std::string& m) { errors.push_back(m); };
    MemorySurface surface(120, 80);
    PaintInto(form, surface.dc());
    POINT origin{-1, -1};
    GetViewportOrgEx(surface.dc(), &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    const ScopedRegion clip(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetClipRgn(surface.dc(), clip.get()), 0) << "no clipping left behind";
    EXPECT_TRUE(errors.empty()) << "reported once the paint is over";
    Application.ProcessMessages();
    Application.OnException = nullptr;
    EXPECT_EQ(errors, std::vector<std::string>{"broken picture"});
}

TEST(WindowlessControls, HiddenControlsAreNotPainted)
{
    PaintForm form;
    form.Component<TImage>("Solid").SetVisible(false);
    MemorySurface surface(120, 80);
    PaintInto(form, surface.dc());
    EXPECT_EQ(surface.Pixel(15, 15), kFormColor);
}

TEST(WindowlessControls, ImageDestinationFollowsStretchAndCenter)
{
    PaintForm form;
    auto& image = form.Own<TImage>();
    image.SetBounds(0, 0, 100, 60);
    image.Picture().SetGraphic(std::make_unique<TBitmap>(20, 10));
    RECT r = image.DestRect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 20);
    image.SetCenter(true);
    r = image.DestRect();
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 25);
    image.SetStretch(true);
    r = image.DestRect();
    EXPECT_EQ(r.right, 100);
    EXPECT_EQ(r.bottom, 60);
}

// A custom-drawn control that fills itself with one colour.
class Swatch : public TCustomControl {
protected:
    void Paint() override
    {
        Canvas().Brush().SetColor(clGreen);
        Canvas().FillRect(ClientRect());
    }
};

TEST(CustomControl, PaintsIntoAForeignContextWithItsWindowlessChildren)
{
    PaintForm form;
    BuildLayout(form, {
        Place<Swatch>("Swatch", 0, 40, 60, 40),
        Place<TLabel>("Inner", 10, 10, 10, 10, "Swatch", [](TLabel& l) { l.SetColor(clRed); }),
    });
    auto& swatch = form.Component<Swatch>("Swatch");
    MemorySurface surface(60, 40);
    SendMessageA(swatch.Handle(), WM_PAINT, reinterpret_cast<WPARAM>(surface.dc()), 0);
    EXPECT_EQ(surface.Pixel(1, 1), clGreen);
    EXPECT_EQ(surface.Pixel(15, 15), clRed);
}

TEST(WindowlessControls, MousePressGoesToTheControlUnderThePointer)
{
    PaintForm form;
    auto& solid = form.Component<TImage>("Solid");
    int downX = -1, downY = -1, clicks = 0;
    TMouseButton pressed = mbMiddle;
    solid.OnMouseDown = [&](TObject* sender, TMouseButton button, TShiftState, int x, int y) {
        EXPECT_EQ(sender, &solid);
        pressed = button;
        downX = x;
        downY = y;
    };
    solid.OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(form.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(13, 17));
    SendMessageA(form.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(13, 17));
    EXPECT_EQ(pressed, mbRight);
    EXPECT_EQ(downX, 3);
    EXPECT_EQ(downY, 7);
    EXPECT_EQ(clicks, 0); // only the left button clicks
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 12));
    SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
    EXPECT_EQ(clicks, 1);
    // Pressed on the control, released over the form: no click, and the release still goes to it.
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 12));
    SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(100, 70));
    EXPECT_EQ(clicks, 1);
    // A press beside every control reaches none.
    downX = -1;
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 70));
    SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 70));
    EXPECT_EQ(downX, -1);
}

} // namespace
