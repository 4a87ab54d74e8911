#include "toolkit/core/DpiScale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
struct Box {
    int left, top, right, bottom;
};
} // namespace

TEST(DpiScale, RoundsHalfAwayFromZeroAsMulDivDoes)
{
    EXPECT_EQ(MulDivRounded(3, 1, 2), 2);
    EXPECT_EQ(MulDivRounded(-3, 1, 2), -2);
    EXPECT_EQ(MulDivRounded(3, -1, 2), -2);
    EXPECT_EQ(MulDivRounded(3, 1, -2), -2);
    EXPECT_EQ(MulDivRounded(5, 120, 96), 6);   // 6.25
    EXPECT_EQ(MulDivRounded(38, 120, 96), 48); // 47.5
    EXPECT_EQ(MulDivRounded(7, 1, 0), -1);
    // No overflow on the way: the product is taken wide.
    EXPECT_EQ(MulDivRounded(2000000000, 3, 4), 1500000000);
}

TEST(DpiScale, EveryLengthLandsWhereTheArtworkRoundsIt)
{
    // The generator sizes its pictures as floor(v * dpi / 96 + 0.5); the windows must agree
    // to the pixel for every length of the layout, or a picture and its place differ by one.
    for (int dpi : {96, 110, 120, 144, 168, 192, 240, 288})
        for (int v = 0; v <= 1200; ++v)
            ASSERT_EQ(ScaledToDpi(v, dpi), int(std::floor(v * dpi / 96.0 + 0.5))) << v << " at " << dpi;
}

TEST(DpiScale, ALengthScaledUpComesBackExactly)
{
    for (int dpi : {96, 97, 110, 120, 144, 168, 192, 240, 288, 480})
        for (int v = 0; v <= 1200; ++v)
            ASSERT_EQ(UnscaledFromDpi(ScaledToDpi(v, dpi), dpi), v) << v << " at " << dpi;
}

TEST(DpiScale, RectanglesScaleTheirPlaceAndSizeEachAlone)
{
    // The main window's tree: 12, 92, 353 x 219.
    const Box tree{12, 92, 365, 311};
    const Box at150 = ScaledRectToDpi(tree, 144);
    EXPECT_EQ(at150.left, 18);
    EXPECT_EQ(at150.top, 138);
    EXPECT_EQ(at150.right - at150.left, 530); // 529.5
    EXPECT_EQ(at150.bottom - at150.top, 329); // 328.5
    const Box same = ScaledRectToDpi(tree, 96);
    EXPECT_EQ(same.left, 12);
    EXPECT_EQ(same.bottom, 311);
}

TEST(DpiScale, ThePercentOfEachCommonDpi)
{
    EXPECT_EQ(ScalePercentForDpi(96), 100);
    EXPECT_EQ(ScalePercentForDpi(120), 125);
    EXPECT_EQ(ScalePercentForDpi(144), 150);
    EXPECT_EQ(ScalePercentForDpi(168), 175);
    EXPECT_EQ(ScalePercentForDpi(192), 200);
    EXPECT_EQ(ScalePercentForDpi(240), 250);
    EXPECT_EQ(ScalePercentForDpi(110), 115);
}
