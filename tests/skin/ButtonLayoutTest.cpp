#include "skin/ButtonLayout.h"

#include <gtest/gtest.h>

namespace {

TLayoutPlaces Place(TLayoutSize content, TLayoutSize glyph, TLayoutSize text, TButtonLayout layout, int spacing,
                    int margin)
{
    return PlaceGlyphAndText(content, glyph, text, layout, spacing, margin);
}

TEST(ButtonLayout, AutomaticMarginCentresPictureGapAndCaptionTogether)
{
    const TLayoutSize cs{100, 40}, gs{20, 10}, ts{30, 12};
    TLayoutPlaces left = Place(cs, gs, ts, blGlyphLeft, 4, -1);
    EXPECT_EQ(left.Glyph.X, 23); // 50 - (20 + 4 + 30) / 2
    EXPECT_EQ(left.Glyph.Y, 15);
    EXPECT_EQ(left.Text.X, 47);
    EXPECT_EQ(left.Text.Y, 14);
    TLayoutPlaces right = Place(cs, gs, ts, blGlyphRight, 4, -1);
    EXPECT_EQ(right.Glyph.X, 57);
    EXPECT_EQ(right.Text.X, 23);
}

TEST(ButtonLayout, BothAutomaticSpreadsInThirdsAlongTheAxis)
{
    TLayoutPlaces top = Place({100, 40}, {20, 10}, {30, 12}, blGlyphTop, -1, -1);
    EXPECT_EQ(top.Glyph.X, 40);
    EXPECT_EQ(top.Text.X, 35);
    EXPECT_EQ(top.Glyph.Y, 6); // (40 - 22) / 3
    EXPECT_EQ(top.Text.Y, 22);
    // Too small a rectangle: the division truncates toward zero, not down.
    TLayoutPlaces tight = Place({10, 40}, {20, 10}, {30, 12}, blGlyphLeft, -1, -1);
    EXPECT_EQ(tight.Glyph.X, -13);
    EXPECT_EQ(tight.Text.X, -13 + 20 - 13);
}

TEST(ButtonLayout, AutomaticSpacingWithAFixedMargin)
{
    TLayoutPlaces bottom = Place({100, 40}, {20, 10}, {30, 12}, blGlyphBottom, -1, 2);
    EXPECT_EQ(bottom.Glyph.Y, 28);
    EXPECT_EQ(bottom.Text.Y, 8); // spacing (40 - 12) / 2 - 6 = 8
}

TEST(ButtonLayout, NoGapWithoutCaptionOrPicture)
{
    // The picture alone is centred; the spacing counts only between two things.
    TLayoutPlaces alone = Place({108, 38}, {20, 10}, {0, 0}, blGlyphLeft, 4, -1);
    EXPECT_EQ(alone.Glyph.X, 44);
    // A picture that fills the rectangle: the caption is centred in it.
    TLayoutPlaces text = Place({108, 38}, {0, 0}, {40, 13}, blGlyphLeft, 4, -1);
    EXPECT_EQ(text.Text.X, 34);
    EXPECT_EQ(text.Text.Y, 13);
}

} // namespace
