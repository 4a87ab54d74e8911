#include "skin/FormShape.h"
#include "skin/SkinTestSupport.h"
#include "toolkit/core/Application.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"
#include "toolkit/controls/Panel.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kMagenta = RGBColor(255, 0, 255);

// A shape that counts how often it builds a region.
class CountingShape : public TFormShape {
public:
    using TFormShape::TFormShape;
    ScopedRegion RegionFromBitmap(TBitmap& bitmap) override
    {
        ++built;
        return TFormShape::RegionFromBitmap(bitmap);
    }
    int built = 0;
};

// A skinned form that keeps the system moves it is asked for instead of running them.
class ShapedForm : public TForm {
public:
    ShapedForm()
    {
        OnShow = [this](TObject*) { ++ownShowHandler; };
        BuildLayout(*this, {Place<CountingShape>("FormShape1", 0, 0, 10, 10)});
        SetClientSize(120, 80);
        Shape().Picture().Bitmap().Assign(*PictureFromText(Ring(), {{'.', kMagenta}, {'#', clNavy}}));
    }
    CountingShape& Shape() { return Component<CountingShape>("FormShape1"); }

    static std::vector<std::string> Ring()
    {
        std::vector<std::string> rows(80, std::string(120, '#'));
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 120; ++x)
                if ((x < 10 && y < 10) || (x >= 50 && x < 70 && y >= 30 && y < 50) || y == 79)
                    rows[y][x] = '.';
        return rows;
    }

    int ownShowHandler = 0;
    std::vector<WPARAM> systemCommands;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_SYSCOMMAND) {
            systemCommands.push_back(wParam);
            return 0;
        }
        return TForm::WndProc(msg, wParam, lParam);
    }
};

TEST(FormShape, TakesTheFormsFrameAndFillsIt)
{
    ShapedForm form;
    auto& shape = form.Shape();
    EXPECT_EQ(form.BorderStyle(), bsNone);
    EXPECT_EQ(shape.Align(), alClient);
    EXPECT_TRUE(shape.Transparent());
    EXPECT_TRUE(shape.AllowFormDrag());
    EXPECT_EQ(shape.Width(), form.ClientWidth());
    EXPECT_EQ(shape.Height(), form.ClientHeight());
}

TEST(FormShape, OnlyAFormCanOwnIt)
{
    ShapedForm form;
    TPanel& panel = form.Own<TPanel>();
    EXPECT_THROW(TFormShape{panel}, EInvalidCast);
}

TEST(FormShape, FirstShowCutsTheOutlineEveryShowFiresTheEvent)
{
    ShapedForm form;
    auto& shape = form.Shape();
    int shows = 0;
    shape.OnFormShow = [&](TObject* sender) {
        EXPECT_EQ(sender, &shape);
        // The outline is in place before the show handler runs.
        EXPECT_TRUE(shape.RegionApplied());
        ++shows;
    };
    form.Show();
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(shape.built, 1);
    // The form's own handler was replaced by the shape's hook.
    EXPECT_EQ(form.ownShowHandler, 0);

    auto picture = PictureFromText(ShapedForm::Ring(), {{'.', kMagenta}, {'#', clNavy}});
    ScopedRegion applied(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(form.Handle(), applied.get()), COMPLEXREGION);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(bool(PtInRegion(applied.get(), x, y)), PixelAt(*picture, x, y) != kMagenta) << x << ", " << y;

    // A new picture does not rebuild the outline; a second show keeps the region.
    shape.Picture().Bitmap().Assign(*SolidBitmap(120, 80, clNavy));
    form.Hide();
    form.Show();
    EXPECT_EQ(shows, 2);
    EXPECT_EQ(shape.built, 1);
    ScopedRegion kept(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(form.Handle(), kept.get()), COMPLEXREGION);
    EXPECT_TRUE(EqualRgn(kept.get(), applied.get()));
    form.Hide();
}

TEST(FormShape, ASkinForAnotherScaleCutsTheOutlineAgainOnceItWasCut)
{
    // Before the first show a new skin only replaces the picture: the show cuts it.
    ShapedForm form;
    auto& shape = form.Shape();
    const auto larger = [](int width, int height) {
        std::vector<std::string> rows(height, std::string(width, '#'));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (x + y < 15 || y == height - 1)
                    rows[y][x] = '.';
        return PictureFromText(rows, {{'.', kMagenta}, {'#', clNavy}});
    };
    shape.ChangeSkin(larger(150, 100));
    EXPECT_EQ(shape.built, 0);
    EXPECT_FALSE(shape.RegionApplied());
    form.SetClientSize(180, 120);
    form.Show();
    EXPECT_EQ(shape.built, 1);
    const auto expectOutlineOf = [&form](TBitmap& picture) {
        ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
        ASSERT_EQ(GetWindowRgn(form.Handle(), region.get()), COMPLEXREGION);
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 180; ++x) {
                const bool opaque = x < picture.Width() && y < picture.Height() && PixelAt(picture, x, y) != kMagenta;
                ASSERT_EQ(bool(PtInRegion(region.get(), x, y)), opaque) << x << ", " << y;
            }
    };
    expectOutlineOf(*larger(150, 100));

    // Once the window is cut, a skin for another scale cuts it again, at once.
    shape.ChangeSkin(larger(180, 120));
    EXPECT_EQ(shape.built, 2);
    EXPECT_TRUE(shape.RegionApplied());
    expectOutlineOf(*larger(180, 120));
    form.Hide();
}

TEST(FormShape, APictureWithoutOpaquePixelsLeavesTheWindowWhole)
{
    ShapedForm form;
    form.Shape().Picture().Bitmap().Assign(*SolidBitmap(120, 80, kMagenta));
    form.Show();
    ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(form.Handle(), region.get()), ERROR); // no region set
    EXPECT_TRUE(form.Shape().RegionApplied());
    form.Hide();
}

TEST(FormShape, AnyButtonPressedOnTheShapeMovesTheWindow)
{
    ShapedForm form;
    auto& shape = form.Shape();
    std::vector<TMouseButton> pressed;
    shape.OnMouseDown = [&](TObject*, TMouseButton button, TShiftState, int, int) { pressed.push_back(button); };
    form.Show();
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
    SendMessageA(form.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 30));
    ASSERT_EQ(pressed.size(), 2u);
    EXPECT_EQ(pressed[1], mbRight);
    EXPECT_EQ(form.systemCommands, (std::vector<WPARAM>{0xF012, 0xF012}));
    EXPECT_NE(GetCapture(), form.Handle()); // the move loop needs the mouse to itself

    shape.SetAllowFormDrag(false);
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
    SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
    EXPECT_EQ(pressed.size(), 3u);
    EXPECT_EQ(form.systemCommands.size(), 2u);
    form.Hide();
}

} // namespace

namespace {

// The shape paints only the part a device context shows, and that part as the whole would be.
TEST(FormShape, PaintsTheVisiblePartOfThePictureAsTheWholeWouldBe)
{
    ShapedForm form;
    form.SetColor(clYellow);
    auto picture = PictureFromText(ShapedForm::Ring(), {{'.', kMagenta}, {'#', clNavy}});
    picture->Canvas().SetPixel(20, 20, clRed);
    form.Shape().Picture().Bitmap().Assign(*picture);
    const HWND window = form.Handle();
    auto paint = [&](TBitmap& surface, int left, int top) {
        HDC dc = surface.Canvas().Handle();
        SetViewportOrgEx(dc, -left, -top, nullptr);
        IntersectClipRect(dc, left, top, left + surface.Width(), top + surface.Height());
        SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        SendMessageA(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        SetViewportOrgEx(dc, 0, 0, nullptr);
        SelectClipRgn(dc, nullptr);
    };
    auto whole = SolidBitmap(120, 80, clBlack);
    paint(*whole, 0, 0);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) {
            const TColor p = PixelAt(*picture, x, y);
            ASSERT_EQ(PixelAt(*whole, x, y), p == kMagenta ? clYellow : p) << x << ", " << y;
        }
    auto part = SolidBitmap(30, 25, clBlack);
    paint(*part, 45, 28);
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(PixelAt(*part, x, y), PixelAt(*whole, 45 + x, 28 + y)) << x << ", " << y;
}

} // namespace
