#include "GraphicsTestSupport.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Exception.h"
#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>
#include <vector>

namespace {
// Every pixel of a bitmap that differs from `background`.
std::vector<std::pair<int, int>> MarkedPixels(TBitmap& bitmap, TColor background)
{
    std::vector<std::pair<int, int>> marked;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Canvas().Pixel(x, y) != background)
                marked.emplace_back(x, y);
    return marked;
}

// Black text without background on a white bitmap.
void PrepareForText(TBitmap& bitmap)
{
    bitmap.Canvas().Font().SetColor(clBlack);
    bitmap.Canvas().Brush().SetStyle(bsClear);
}
} // namespace

TEST(Color, SystemColoursResolveToTheirCurrentValue)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clBtnShadow), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ColorToRGB(clOlive), 0x008080u);
    EXPECT_EQ(ColorToRGB(RGBColor(1, 2, 3)), 0x030201u);
    EXPECT_TRUE(IsSystemColor(clWindowText));
    EXPECT_FALSE(IsSystemColor(clWhite));
}

TEST(Canvas, FillFrameAndRectangleUseBrushAndPen)
{
    TBitmap bitmap(10, 10);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(RECT{0, 0, 10, 10});
    // A changed brush must replace the one already selected.
    canvas.Brush().SetColor(clBlue);
    canvas.FrameRect(RECT{2, 2, 8, 8});
    EXPECT_EQ(canvas.Pixel(0, 0), clRed);
    EXPECT_EQ(canvas.Pixel(2, 2), clBlue);
    EXPECT_EQ(canvas.Pixel(7, 7), clBlue);
    EXPECT_EQ(canvas.Pixel(3, 3), clRed);
    EXPECT_EQ(canvas.Pixel(8, 8), clRed);

    canvas.Pen().SetColor(clLime);
    canvas.Brush().SetColor(clWhite);
    canvas.Rectangle(0, 0, 5, 5);
    EXPECT_EQ(canvas.Pixel(0, 0), clLime);
    EXPECT_EQ(canvas.Pixel(4, 4), clLime);
    EXPECT_EQ(canvas.Pixel(2, 2), clWhite);
    EXPECT_EQ(canvas.Pixel(5, 5), clRed); // right and bottom exclusive

    canvas.Brush().SetStyle(bsClear);
    canvas.FillRect(RECT{0, 0, 10, 10});
    EXPECT_EQ(canvas.Pixel(2, 2), clWhite) << "a clear brush fills nothing";

    canvas.SetPixel(9, 9, clBtnFace);
    EXPECT_EQ(canvas.Pixel(9, 9), ColorToRGB(clBtnFace));
}

TEST(Canvas, ToolsDeleteTheObjectsTheyMadeWhenTheirSettingsChange)
{
    TBitmap bitmap(4, 4);
    TBrush& brush = bitmap.Canvas().Brush();
    brush.SetColor(clRed);
    bitmap.Canvas().FillRect({0, 0, 4, 4}); // selected into a context, then let go on change
    const HGDIOBJ red = brush.Handle();
    brush.SetStyle(bsClear);
    EXPECT_EQ(GetObjectType(red), 0u);
    EXPECT_EQ(brush.Handle(), GetStockObject(NULL_BRUSH)) << "a clear brush is the system's own";
    bitmap.Canvas().FillRect({0, 0, 2, 2});
    brush.SetColor(clBlue);
    const HGDIOBJ blue = brush.Handle();
    EXPECT_EQ(GetObjectType(blue), static_cast<DWORD>(OBJ_BRUSH));
    bitmap.Canvas().FillRect({0, 0, 1, 1});
    EXPECT_EQ(bitmap.Canvas().Pixel(0, 0), clBlue);
    EXPECT_EQ(bitmap.Canvas().Pixel(3, 3), clRed);
    bitmap.Canvas().Pen().SetColor(clGreen);
    brush.SetColor(clLime);
    EXPECT_EQ(GetObjectType(blue), 0u);
}

TEST(Canvas, PatternBrushTilesItsBitmapFromTheOrigin)
{
    TBitmap pattern(8, 8);
    pattern.Canvas().Brush().SetColor(clRed);
    pattern.Canvas().FillRect(RECT{0, 0, 8, 8});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (x % 2 == y % 2)
                pattern.Canvas().SetPixel(x, y, clWhite);

    TBitmap target(16, 16);
    target.Canvas().Brush().SetBitmap(&pattern);
    target.Canvas().FillRect(RECT{0, 0, 16, 16});
    EXPECT_EQ(target.Canvas().Pixel(0, 0), clWhite);
    EXPECT_EQ(target.Canvas().Pixel(1, 0), clRed);
    EXPECT_EQ(target.Canvas().Pixel(9, 0), clRed);
    EXPECT_EQ(target.Canvas().Pixel(9, 9), clWhite);
}

TEST(Canvas, FocusRectangleIsDrawnByXor)
{
    TBitmap bitmap(12, 12);
    bitmap.Canvas().Brush().SetColor(clOlive);
    bitmap.Canvas().FillRect(RECT{0, 0, 12, 12});
    bitmap.Canvas().DrawFocusRect(RECT{1, 1, 11, 11});
    const auto drawn = MarkedPixels(bitmap, clOlive);
    EXPECT_FALSE(drawn.empty());
    for (auto [x, y] : drawn)
        EXPECT_TRUE(x == 1 || y == 1 || x == 10 || y == 10) << x << "," << y;
    bitmap.Canvas().DrawFocusRect(RECT{1, 1, 11, 11});
    EXPECT_TRUE(MarkedPixels(bitmap, clOlive).empty());
}

TEST(Canvas, AmpersandUnderlinesTheNextCharacterOnlyInFormattedText)
{
    const RECT area{0, 0, 40, 24};
    TBitmap plain(40, 24);
    PrepareForText(plain);
    RECT r = area;
    plain.Canvas().DrawText("O", r, DT_SINGLELINE | DT_LEFT | DT_TOP);
    TBitmap marked(40, 24);
    PrepareForText(marked);
    r = area;
    marked.Canvas().DrawText("&O", r, DT_SINGLELINE | DT_LEFT | DT_TOP);

    const auto glyph = MarkedPixels(plain, clWhite);
    const auto withLine = MarkedPixels(marked, clWhite);
    ASSERT_FALSE(glyph.empty());
    int glyphBottom = 0;
    for (auto [x, y] : glyph)
        glyphBottom = std::max(glyphBottom, y);
    // Everything of the plain letter is there, plus a line at or below its lowest row.
    int extra = 0, lineRow = -1;
    for (auto p : withLine) {
        if (std::find(glyph.begin(), glyph.end(), p) != glyph.end())
            continue;
        ++extra;
        EXPECT_GE(p.second, glyphBottom);
        if (lineRow < 0)
            lineRow = p.second;
        EXPECT_EQ(p.second, lineRow) << "the underline is one row";
    }
    EXPECT_GE(extra, 4);
    EXPECT_EQ(withLine.size(), glyph.size() + std::size_t(extra));

    // "&&" is one literal ampersand; with DT_NOPREFIX and in TextOut an ampersand shows as is.
    TBitmap measure(4, 4);
    RECT twice{0, 0, 100, 100}, once{0, 0, 100, 100}, literal{0, 0, 100, 100};
    measure.Canvas().DrawText("&&", twice, DT_SINGLELINE | DT_CALCRECT);
    measure.Canvas().DrawText("&", once, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    measure.Canvas().DrawText("&&", literal, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(twice.right, once.right);
    EXPECT_GT(literal.right, once.right);
    EXPECT_EQ(measure.Canvas().TextWidth("&&"), literal.right);

    TBitmap byTextOut(40, 24);
    PrepareForText(byTextOut);
    byTextOut.Canvas().TextOut(0, 0, "&O");
    TBitmap noPrefix(40, 24);
    PrepareForText(noPrefix);
    r = area;
    noPrefix.Canvas().DrawText("&O", r, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX);
    EXPECT_EQ(MarkedPixels(byTextOut, clWhite), MarkedPixels(noPrefix, clWhite));
}

TEST(Canvas, TextTakesFontColourAndBrushBackground)
{
    TBitmap bitmap(30, 20);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Font().SetColor(clRed);
    canvas.Brush().SetColor(clBlue);
    canvas.TextOut(0, 0, "W");
    const SIZE size = canvas.TextExtent("W");
    ASSERT_GT(size.cx, 0);
    // Smoothed edges may mix the two, but nothing else shows.
    int reddish = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            TColor c = canvas.Pixel(x, y);
            EXPECT_EQ(GreenOf(c), 0) << std::hex << c;
            reddish += RedOf(c) > 0xC0;
        }
    EXPECT_GE(reddish, 5);
    EXPECT_EQ(canvas.Pixel(size.cx + 1, 0), clWhite) << "nothing beyond the text cell";

    // A bold font is wider: the font object is rebuilt when a setting changes.
    const int normal = canvas.TextWidth("WWWW");
    canvas.Font().SetBold(true);
    EXPECT_GT(canvas.TextWidth("WWWW"), normal);
    canvas.Font().SetHeight(22);
    EXPECT_GT(canvas.TextHeight("W"), size.cy);
}

TEST(Canvas, CopyRectStretchesWithTheCopyMode)
{
    TBitmap source(2, 2);
    source.Canvas().SetPixel(0, 0, clRed);
    source.Canvas().SetPixel(1, 1, clBlue);
    TBitmap target(4, 4);
    target.Canvas().CopyRect(RECT{0, 0, 4, 4}, source.Canvas(), RECT{0, 0, 2, 2});
    EXPECT_EQ(target.Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(target.Canvas().Pixel(3, 3), clBlue);
    EXPECT_EQ(target.Canvas().Pixel(3, 0), clWhite);

    target.Canvas().SetCopyMode(SRCAND);
    target.Canvas().CopyRect(RECT{0, 0, 4, 2}, source.Canvas(), RECT{1, 1, 2, 2});
    EXPECT_EQ(target.Canvas().Pixel(0, 0), clBlack) << "red AND blue";
    EXPECT_EQ(target.Canvas().Pixel(3, 0), clBlue) << "white AND blue";
    EXPECT_EQ(target.Canvas().Pixel(0, 2), clWhite) << "outside the rectangle";
}

TEST(Canvas, BorrowedContextIsLeftWithStockObjectsAndStaysAlive)
{
    ScopedDC dc(CreateCompatibleDC(nullptr));
    ScopedBitmap bitmap(CreateCompatibleBitmap(ScopedWindowDC(nullptr).get(), 4, 4));
    ScopedSelect select(dc.get(), bitmap.get());
    {
        TCanvas canvas(dc.get());
        canvas.Brush().SetColor(clRed);
        canvas.Font().SetBold(true);
        canvas.FillRect(RECT{0, 0, 4, 4});
        canvas.TextOut(0, 0, "x");
        EXPECT_EQ(canvas.Handle(), dc.get());
        EXPECT_NE(GetCurrentObject(dc.get(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(GetPixel(dc.get(), 3, 3), clRed);
}

TEST(Canvas, WithoutContextDrawingIsRefused)
{
    TCanvas canvas;
    EXPECT_FALSE(canvas.HandleAllocated());
    EXPECT_THROW(canvas.FillRect(RECT{0, 0, 1, 1}), Exception);
}

TEST(Canvas, ClipRectCoversTheBitmap)
{
    TBitmap bitmap(7, 5);
    RECT clip = bitmap.Canvas().ClipRect();
    EXPECT_EQ(clip.right - clip.left, 7);
    EXPECT_EQ(clip.bottom - clip.top, 5);
}

TEST(Canvas, LockKeepsOtherThreadsOutUntilTheLastUnlock)
{
    TBitmap bitmap(2, 2);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Lock();
    canvas.Lock(); // the owning thread may lock again
    std::atomic<bool> entered{false};
    std::thread other([&] {
        canvas.Lock();
        entered = true;
        canvas.Unlock();
    });
    canvas.Unlock();
    // Still locked once: the other thread must not get in, however long it is given.
    Sleep(100);
    EXPECT_FALSE(entered);
    canvas.Unlock();
    other.join();
    EXPECT_TRUE(entered);
    EXPECT_EQ(canvas.LockCount(), 0);
}
