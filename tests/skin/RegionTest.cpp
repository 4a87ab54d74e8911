#include "skin/BitmapRegion.h"
#include "skin/SkinTestSupport.h"
#include "toolkit/graphics/Canvas.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kMagenta = RGBColor(255, 0, 255);
constexpr TColor kBody = RGBColor(222, 222, 222);
const std::map<char, TColor> kLegend{{'.', kMagenta}, {'#', kBody}, {'x', RGBColor(20, 30, 160)}};

using RegionFunction = ScopedRegion (*)(TBitmap&);

// Every pixel inside the region exactly when the picture has a non-key colour there, and no
// point of the region outside the picture.
testing::AssertionResult RegionMatchesPicture(HRGN region, TBitmap& picture, TColor key)
{
    for (int y = -1; y <= picture.Height(); ++y)
        for (int x = -1; x <= picture.Width(); ++x) {
            const bool onPicture = x >= 0 && y >= 0 && x < picture.Width() && y < picture.Height();
            const bool opaque = onPicture && PixelAt(picture, x, y) != key;
            const bool inRegion = region && PtInRegion(region, x, y);
            if (opaque != inRegion)
                return testing::AssertionFailure() << "(" << x << ", " << y << ") is " << (inRegion ? "" : "not ")
                                                   << "in the region";
        }
    return testing::AssertionSuccess();
}

class Regions : public testing::TestWithParam<RegionFunction> {};

TEST_P(Regions, RowsGiveTheirRunsUpToTheRightEdge)
{
    auto picture = PictureFromText({"..##.",  // a run inside
                                    ".....",  // no opaque pixel: nothing
                                    "#####",  // all opaque: the whole row
                                    "...##",  // a run reaching the right edge
                                    ".x#.#"}, // two runs; the key comes from this row's first pixel
                                   kLegend);
    ScopedRegion region = GetParam()(*picture);
    ASSERT_TRUE(region);
    EXPECT_TRUE(RegionMatchesPicture(region.get(), *picture, kMagenta));
    RECT box;
    GetRgnBox(region.get(), &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 5);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.bottom, 5);
}

TEST_P(Regions, ARingLeavesAHole)
{
    auto picture = PictureFromText({".......",
                                    ".#####.",
                                    ".##.##.",
                                    ".#...#.",
                                    ".##.##.",
                                    ".#####.",
                                    "......."},
                                   kLegend);
    ScopedRegion region = GetParam()(*picture);
    ASSERT_TRUE(region);
    EXPECT_TRUE(RegionMatchesPicture(region.get(), *picture, kMagenta));
    EXPECT_FALSE(PtInRegion(region.get(), 3, 3));
    EXPECT_TRUE(PtInRegion(region.get(), 1, 3));
}

TEST_P(Regions, TheBottomLeftPixelChoosesTheKey)
{
    auto picture = PictureFromText({"..##", ".###", "x..#"}, kLegend);
    ScopedRegion byBlue = GetParam()(*picture);
    EXPECT_TRUE(RegionMatchesPicture(byBlue.get(), *picture, RGBColor(20, 30, 160)));
    EXPECT_TRUE(PtInRegion(byBlue.get(), 0, 0)); // magenta is opaque now
    picture->Canvas().SetPixel(0, 2, kMagenta);
    ScopedRegion byMagenta = GetParam()(*picture);
    EXPECT_TRUE(RegionMatchesPicture(byMagenta.get(), *picture, kMagenta));
    EXPECT_FALSE(PtInRegion(byMagenta.get(), 0, 0));
}

TEST_P(Regions, AnExplicitKeyOverridesTheCorner)
{
    auto picture = PictureFromText({"x.#", "#x."}, kLegend);
    picture->SetTransparentColor(kBody);
    ScopedRegion region = GetParam()(*picture);
    EXPECT_TRUE(RegionMatchesPicture(region.get(), *picture, kBody));
}

TEST_P(Regions, NoOpaquePixelGivesNoRegion)
{
    auto picture = SolidBitmap(6, 3, kMagenta);
    EXPECT_FALSE(GetParam()(*picture));
    TBitmap empty;
    EXPECT_FALSE(GetParam()(empty));
}

TEST_P(Regions, TheSkinGetsItsRoundedOutline)
{
    auto skin = ArtBitmap("SKIN_MAIN");
    ASSERT_EQ(skin->Width(), 491);
    ASSERT_EQ(skin->Height(), 342);
    ScopedRegion region = GetParam()(*skin);
    ASSERT_TRUE(region);
    EXPECT_TRUE(RegionMatchesPicture(region.get(), *skin, kMagenta));
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0)); // a cut corner
    EXPECT_TRUE(PtInRegion(region.get(), 245, 170));
}

INSTANTIATE_TEST_SUITE_P(BitsAndPixels, Regions, testing::Values(&RegionFromBitmapBits, &RegionFromBitmapPixels));

// Compared point by point: the platform may merge rows, so rectangle counts say nothing.
TEST(Regions, ReadingTheBitsGivesThePixelByPixelRegion)
{
    for (const char* name : {"SKIN_MAIN", "SKIN_DIALOG"}) {
        auto skin = ArtBitmap(name);
        ScopedRegion fast = RegionFromBitmapBits(*skin);
        ScopedRegion slow = RegionFromBitmapPixels(*skin);
        ASSERT_TRUE(fast && slow);
        ScopedRegion difference(CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(CombineRgn(difference.get(), fast.get(), slow.get(), RGN_XOR), NULLREGION) << name;
        for (int y = -1; y <= skin->Height(); y += 1)
            for (int x = -1; x <= skin->Width(); x += 1)
                ASSERT_EQ(bool(PtInRegion(fast.get(), x, y)), bool(PtInRegion(slow.get(), x, y)))
                    << name << " (" << x << ", " << y << ")";
    }
}

} // namespace
