#include "skin/SkinTestSupport.h"
#include "skin/TransparentDrawing.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"
#include "toolkit/controls/Image.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr TColor kBack = RGBColor(10, 20, 30);
constexpr TColor kMagenta = RGBColor(255, 0, 255);
constexpr TColor kA = RGBColor(200, 40, 40);
constexpr TColor kB = RGBColor(40, 200, 40);

using DrawFunction = void (*)(TCanvas&, TBitmap&, const RECT&, const RECT&, TColor);

// What a keyed draw must leave: for each destination pixel the source pixel it maps to, or the
// background where that pixel has the key colour (or lies outside the destination).
std::unique_ptr<TBitmap> Expected(int width, int height, TBitmap& source, const RECT& dest, const RECT& from,
                                  TColor key, const std::function<POINT(int, int)>& map)
{
    auto expected = SolidBitmap(width, height, kBack);
    const TColor rgbKey = ColorToRGB(key);
    for (int y = dest.top; y < dest.bottom; ++y)
        for (int x = dest.left; x < dest.right; ++x) {
            const POINT s = map(x - dest.left, y - dest.top);
            const TColor c = PixelAt(source, from.left + s.x, from.top + s.y);
            if (c != rgbKey)
                expected->Canvas().SetPixel(x, y, c);
        }
    return expected;
}

POINT Identity(int x, int y)
{
    return {x, y};
}

// Both drawing functions, so every case checks the mask technique and the masked blit alike.
class KeyedDraw : public testing::TestWithParam<DrawFunction> {};

TEST_P(KeyedDraw, ZeroSizedDestinationsLeaveTheCanvasAlone)
{
    auto source = SolidBitmap(4, 4, kA);
    auto canvas = SolidBitmap(10, 10, kBack);
    auto untouched = SolidBitmap(10, 10, kBack);
    GetParam()(canvas->Canvas(), *source, RECT{2, 2, 2, 8}, RECT{0, 0, 4, 4}, kMagenta);
    GetParam()(canvas->Canvas(), *source, RECT{2, 2, 8, 2}, RECT{0, 0, 4, 4}, kMagenta);
    GetParam()(canvas->Canvas(), *source, RECT{5, 5, 3, 8}, RECT{0, 0, 4, 4}, kMagenta);
    EXPECT_TRUE(SamePixels(*canvas, *untouched));
}

TEST_P(KeyedDraw, KeyPixelsKeepTheDestinationWhateverTheKey)
{
    const std::map<char, TColor> legend{{'k', kMagenta}, {'0', clBlack}, {'a', kA}, {'b', kB}};
    auto picture = PictureFromText({"kk0ab", "k0aab", "0abkk", "ab0k0"}, legend);
    const RECT all{0, 0, 5, 4};
    // Magenta key: black stays black; black key: black is left out and magenta drawn.
    for (TColor key : {kMagenta, clBlack, kA}) {
        auto canvas = SolidBitmap(5, 4, kBack);
        GetParam()(canvas->Canvas(), *picture, all, all, key);
        auto expected = Expected(5, 4, *picture, all, all, key, Identity);
        EXPECT_TRUE(SamePixels(*canvas, *expected)) << "key " << std::hex << key;
    }
}

TEST_P(KeyedDraw, SystemColourKeyMatchesItsCurrentValue)
{
    const std::map<char, TColor> legend{{'f', ColorToRGB(clBtnFace)}, {'a', kA}, {'b', kB}};
    auto picture = PictureFromText({"ffab", "fabf", "abff"}, legend);
    const RECT all{0, 0, 4, 3};
    auto canvas = SolidBitmap(4, 3, kBack);
    GetParam()(canvas->Canvas(), *picture, all, all, clBtnFace);
    auto expected = Expected(4, 3, *picture, all, all, clBtnFace, Identity);
    EXPECT_TRUE(SamePixels(*canvas, *expected));
    EXPECT_EQ(PixelAt(*canvas, 0, 0), kBack);
}

TEST_P(KeyedDraw, StretchedPicturesAreKeyedAfterStretchingAtTheirPlace)
{
    const std::map<char, TColor> legend{{'k', kMagenta}, {'a', kA}, {'b', kB}};
    auto picture = PictureFromText({"kab", "bka", "abk"}, legend);
    // The middle 2 x 2 of the picture, three times its size, at an offset destination.
    const RECT from{1, 1, 3, 3};
    const RECT dest{5, 7, 11, 13};
    auto canvas = SolidBitmap(16, 16, kBack);
    GetParam()(canvas->Canvas(), *picture, dest, from, kMagenta);
    auto expected = Expected(16, 16, *picture, dest, from, kMagenta, [](int x, int y) { return POINT{x / 3, y / 3}; });
    EXPECT_TRUE(SamePixels(*canvas, *expected));
}

INSTANTIATE_TEST_SUITE_P(MaskAndMaskedBlit, KeyedDraw, testing::Values(&DrawTransparentRect, &BlitTransparent));

TEST(TransparentDrawing, MaskedBlitDrawsWhatTheMaskTechniqueDraws)
{
    // A picture with every colour class: key, black, white, grey, colours.
    auto picture = std::make_unique<TBitmap>(23, 17);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 23; ++x) {
            const int v = (x * 7 + y * 13) % 9;
            const TColor c = v == 0 ? kMagenta : v == 1 ? clBlack : v == 2 ? clWhite : RGBColor(x * 11, y * 15, v * 28);
            picture->Canvas().SetPixel(x, y, c);
        }
    const RECT cases[][2] = {{{0, 0, 23, 17}, {0, 0, 23, 17}},
                             {{3, 4, 49, 38}, {0, 0, 23, 17}},
                             {{7, 2, 18, 11}, {5, 3, 16, 12}}};
    for (TColor key : {kMagenta, clBlack, clWhite})
        for (const auto& c : cases) {
            auto mask = SolidBitmap(50, 40, kBack);
            auto blit = SolidBitmap(50, 40, kBack);
            DrawTransparentRect(mask->Canvas(), *picture, c[0], c[1], key);
            BlitTransparent(blit->Canvas(), *picture, c[0], c[1], key);
            EXPECT_TRUE(SamePixels(*blit, *mask)) << "key " << std::hex << key << " dest left " << c[0].left;
        }
}

TEST(TransparentDrawing, StretchedDrawCoversTheRectangleWithTheWholeBitmap)
{
    const std::map<char, TColor> legend{{'k', kMagenta}, {'a', kA}, {'b', kB}};
    auto picture = PictureFromText({"ab", "bk"}, legend);
    auto canvas = SolidBitmap(10, 10, kBack);
    const RECT dest{2, 2, 10, 10};
    DrawTransparentStretched(canvas->Canvas(), *picture, dest, kMagenta);
    auto expected =
        Expected(10, 10, *picture, dest, RECT{0, 0, 2, 2}, kMagenta, [](int x, int y) { return POINT{x / 4, y / 4}; });
    EXPECT_TRUE(SamePixels(*canvas, *expected));
}

TEST(TransparentDrawing, TilesStartAtTheLeftEdgeAndTheLastIsCut)
{
    // 30 x 4 tile whose columns all differ, with a keyed column at x = 2 and x = 25.
    auto tile = std::make_unique<TBitmap>(30, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 30; ++x)
            tile->Canvas().SetPixel(x, y, x == 2 || x == 25 ? kMagenta : RGBColor(x * 8, 100 + y * 30, 50));
    auto canvas = SolidBitmap(100, 10, kBack);
    const RECT dest{0, 1, 100, 7}; // two rows of tiles, the second cut to 2 pixels
    DrawTransparentTiled(canvas->Canvas(), *tile, dest, kMagenta);
    auto expected = Expected(100, 10, *tile, dest, RECT{0, 0, 30, 4}, kMagenta,
                             [](int x, int y) { return POINT{x % 30, y % 4}; });
    EXPECT_TRUE(SamePixels(*canvas, *expected));
    // The tiles stand at x = 0, 30, 60 and 90; the last shows the tile's left 10 columns.
    for (int x : {0, 30, 60, 90})
        EXPECT_EQ(PixelAt(*canvas, x, 1), RGBColor(0, 100, 50)) << x;
    EXPECT_EQ(PixelAt(*canvas, 99, 1), RGBColor(9 * 8, 100, 50));
    EXPECT_EQ(PixelAt(*canvas, 92, 1), kBack); // the keyed column
    EXPECT_EQ(PixelAt(*canvas, 50, 8), kBack); // below the rectangle
}

TEST(TransparentDrawing, TilingWithAnEmptyBitmapReturnsAtOnce)
{
    TBitmap empty;
    auto canvas = SolidBitmap(10, 10, kBack);
    auto untouched = SolidBitmap(10, 10, kBack);
    DrawTransparentTiled(canvas->Canvas(), empty, RECT{0, 0, 10, 10}, kMagenta);
    EXPECT_TRUE(SamePixels(*canvas, *untouched));
}

// A form with a coloured face and a keyed picture on it, as a borderless button sees it.
class BackgroundForm : public TForm {
public:
    BackgroundForm()
    {
        SetBorderStyle(bsNone);
        SetClientSize(60, 40);
        SetColor(kB);
        BuildLayout(*this, {
            Place<TImage>("Picture", 10, 10, 20, 20, {}, [](TImage& i) { i.SetTransparent(true); }),
            Place<TImage>("Probe", 15, 5, 10, 10),
        });
        TCanvas& c = Component<TImage>("Picture").Canvas();
        c.Brush().SetColor(kMagenta); // the bottom-left pixel: the key
        c.FillRect({0, 0, 20, 20});
        c.Brush().SetColor(kA);
        c.FillRect({0, 0, 10, 10});
    }
};

TEST(CopyParentBackground, PaintsWhatTheParentShowsUnderTheControl)
{
    BackgroundForm form;
    auto& probe = form.Component<TImage>("Probe");
    auto surface = SolidBitmap(10, 10, kBack);
    CopyParentBackground(probe, surface->Canvas(), false);
    // The probe covers form (15..24, 5..14): the face above the picture, then its red corner
    // (form 10..19 x 10..19) and its keyed part, where the face shows.
    EXPECT_EQ(PixelAt(*surface, 0, 0), kB);
    EXPECT_EQ(PixelAt(*surface, 0, 5), kA);
    EXPECT_EQ(PixelAt(*surface, 4, 9), kA);
    EXPECT_EQ(PixelAt(*surface, 5, 5), kB);
    // The context's origin is given back.
    POINT origin{1, 1};
    GetViewportOrgEx(surface->Canvas().Handle(), &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
}

TEST(CopyParentBackground, AControlWithoutParentLeavesTheContextAlone)
{
    TImage orphan;
    orphan.SetBounds(5, 5, 10, 10);
    auto surface = SolidBitmap(10, 10, kBack);
    auto untouched = SolidBitmap(10, 10, kBack);
    CopyParentBackground(orphan, surface->Canvas(), true);
    EXPECT_TRUE(SamePixels(*surface, *untouched));
}

} // namespace
