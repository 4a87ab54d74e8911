#include "GraphicsTestSupport.h"

#include "support/TempDir.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Exception.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <stdexcept>
#include <utility>

namespace {
void Fill(TBitmap& bitmap, TColor color)
{
    bitmap.Canvas().Brush().SetColor(color);
    bitmap.Canvas().FillRect(RECT{0, 0, bitmap.Width(), bitmap.Height()});
}

// Olive with one red pixel at (1, 1).
void OliveWithRedDot(TBitmap& bitmap)
{
    Fill(bitmap, clOlive);
    bitmap.Canvas().SetPixel(1, 1, clRed);
}
} // namespace

TEST(Bitmap, KeyColourIsTheBottomLeftPixelUnlessSetOrOneBit)
{
    TBitmap bitmap(5, 4);
    Fill(bitmap, clOlive);
    bitmap.Canvas().SetPixel(0, 3, clFuchsia);
    EXPECT_EQ(bitmap.TransparentColor(), clFuchsia);
    bitmap.Canvas().SetPixel(0, 3, clTeal);
    EXPECT_EQ(bitmap.TransparentColor(), clTeal) << "follows the pixel while automatic";
    EXPECT_EQ(bitmap.TransparentMode(), tmAuto);

    bitmap.SetTransparentColor(clOlive);
    EXPECT_EQ(bitmap.TransparentMode(), tmFixed);
    bitmap.Canvas().SetPixel(0, 3, clRed);
    EXPECT_EQ(bitmap.TransparentColor(), clOlive);
    bitmap.SetTransparentMode(tmAuto);
    EXPECT_EQ(bitmap.TransparentColor(), clRed);

    TBitmap mono(3, 3);
    mono.SetMonochrome(true);
    Fill(mono, clBlack);
    EXPECT_EQ(mono.TransparentColor(), clWhite);
}

TEST(Bitmap, SetSizeKeepsTheTopLeftAndWhitensNewArea)
{
    TBitmap bitmap(2, 2);
    Fill(bitmap, clRed);
    bitmap.SetSize(4, 3);
    EXPECT_EQ(bitmap.Width(), 4);
    EXPECT_EQ(bitmap.Height(), 3);
    EXPECT_EQ(bitmap.Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(bitmap.Canvas().Pixel(3, 2), clWhite);
    bitmap.SetSize(0, 3);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 0);
}

TEST(Bitmap, ColourToOneBitMakesTheBrushColourOne)
{
    TBitmap bitmap(3, 1);
    bitmap.Canvas().SetPixel(0, 0, clRed);
    bitmap.Canvas().SetPixel(1, 0, clBlack);
    bitmap.Canvas().SetPixel(2, 0, clWhite);
    bitmap.Canvas().Brush().SetColor(clRed);
    bitmap.SetMonochrome(true);
    EXPECT_TRUE(bitmap.Monochrome());
    EXPECT_EQ(bitmap.Canvas().Pixel(0, 0), clWhite);
    EXPECT_EQ(bitmap.Canvas().Pixel(1, 0), clBlack);
    EXPECT_EQ(bitmap.Canvas().Pixel(2, 0), clBlack) << "white is not the brush colour";
}

TEST(Bitmap, OneBitToColourTakesFontColourForZeroAndBrushColourForOne)
{
    TBitmap bitmap(2, 1);
    bitmap.SetMonochrome(true);
    bitmap.Canvas().SetPixel(0, 0, clBlack);
    bitmap.Canvas().SetPixel(1, 0, clWhite);
    bitmap.Canvas().Font().SetColor(clLime);
    bitmap.Canvas().Brush().SetColor(clBlue);
    bitmap.SetMonochrome(false);
    EXPECT_FALSE(bitmap.Monochrome());
    EXPECT_EQ(bitmap.Canvas().Pixel(0, 0), clLime);
    EXPECT_EQ(bitmap.Canvas().Pixel(1, 0), clBlue);
}

// The embossed disabled look of a button picture, built from the conversions and copy modes.
TEST(Bitmap, MonochromeMaskAndCopyModesEmbossBlackPixels)
{
    TBitmap up(4, 4);
    Fill(up, clOlive);
    up.Canvas().SetPixel(1, 1, clBlack);

    TBitmap mask;
    mask.Assign(up);
    mask.Canvas().Brush().SetColor(clBlack);
    mask.SetMonochrome(true);
    EXPECT_EQ(mask.Canvas().Pixel(1, 1), clWhite);
    EXPECT_EQ(mask.Canvas().Pixel(0, 0), clBlack);

    TBitmap result(4, 4);
    Fill(result, clBtnFace);
    TCanvas& canvas = result.Canvas();
    canvas.Brush().SetColor(clBlack);
    canvas.Font().SetColor(clWhite);
    canvas.SetCopyMode(MERGEPAINT);
    canvas.Draw(1, 1, mask);
    canvas.SetCopyMode(SRCAND);
    canvas.Draw(0, 0, mask);
    canvas.Brush().SetColor(clBtnShadow);
    canvas.Font().SetColor(clBlack);
    canvas.SetCopyMode(SRCPAINT);
    canvas.Draw(0, 0, mask);
    canvas.SetCopyMode(SRCCOPY);

    const TColor face = ColorToRGB(clBtnFace);
    EXPECT_EQ(canvas.Pixel(1, 1), ColorToRGB(clBtnShadow));
    EXPECT_EQ(canvas.Pixel(2, 2), clWhite);
    EXPECT_EQ(canvas.Pixel(0, 0), face);
    EXPECT_EQ(canvas.Pixel(3, 3), face);
    EXPECT_EQ(canvas.Pixel(2, 1), face);
}

TEST(Bitmap, TransparentDrawLeavesKeyPixelsOut)
{
    TBitmap picture(4, 4);
    OliveWithRedDot(picture);
    picture.SetTransparent(true);

    TBitmap target(8, 8);
    Fill(target, clBlue);
    target.Canvas().Draw(2, 2, picture);
    EXPECT_EQ(target.Canvas().Pixel(3, 3), clRed);
    EXPECT_EQ(target.Canvas().Pixel(2, 2), clBlue);
    EXPECT_EQ(target.Canvas().Pixel(5, 5), clBlue);

    // Scaled: the dot covers 2 x 2 pixels, the rest keeps the destination.
    Fill(target, clBlue);
    target.Canvas().StretchDraw(RECT{0, 0, 8, 8}, picture);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(target.Canvas().Pixel(x, y), (x / 2 == 1 && y / 2 == 1) ? clRed : clBlue) << x << "," << y;

    // A black key works like any other.
    Fill(picture, clBlack);
    picture.Canvas().SetPixel(1, 1, clRed);
    Fill(target, clBlue);
    target.Canvas().Draw(0, 0, picture);
    EXPECT_EQ(target.Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(target.Canvas().Pixel(0, 0), clBlue);

    // Opaque drawing copies everything.
    picture.SetTransparent(false);
    target.Canvas().Draw(0, 0, picture);
    EXPECT_EQ(target.Canvas().Pixel(0, 0), clBlack);
}

TEST(Bitmap, TransparentOneBitPictureDrawsItsBlackInTheTextColour)
{
    TBitmap mono(2, 1);
    mono.SetMonochrome(true);
    mono.Canvas().SetPixel(0, 0, clBlack);
    mono.Canvas().SetPixel(1, 0, clWhite);
    mono.SetTransparent(true);
    TBitmap target(2, 1);
    Fill(target, clBlue);
    target.Canvas().Font().SetColor(clRed);
    target.Canvas().Draw(0, 0, mono);
    EXPECT_EQ(target.Canvas().Pixel(0, 0), clRed);
    EXPECT_EQ(target.Canvas().Pixel(1, 0), clBlue);
}

TEST(Bitmap, AssignCopiesPictureAndSettings)
{
    TBitmap original(3, 2);
    OliveWithRedDot(original);
    original.SetTransparentColor(clRed);
    original.SetTransparent(true);
    TBitmap copy;
    copy.Assign(original);
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_EQ(copy.Height(), 2);
    EXPECT_EQ(copy.Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(copy.TransparentColor(), clRed);
    EXPECT_TRUE(copy.Transparent());
    // The copy is independent.
    Fill(original, clBlue);
    EXPECT_EQ(copy.Canvas().Pixel(0, 0), clOlive);
}

TEST(Bitmap, HandleCanBeUsedElsewhereAndCanvasStillDraws)
{
    TBitmap bitmap(2, 2);
    Fill(bitmap, clRed);
    {
        ScopedDC dc(CreateCompatibleDC(nullptr));
        ScopedSelect select(dc.get(), bitmap.Handle());
        EXPECT_EQ(GetPixel(dc.get(), 1, 1), clRed) << "the bitmap is free to be selected";
        SetPixelV(dc.get(), 0, 0, clLime);
    }
    EXPECT_EQ(bitmap.Canvas().Pixel(0, 0), clLime);
    bitmap.Canvas().SetPixel(1, 0, clBlue);
    EXPECT_EQ(bitmap.Canvas().Pixel(1, 0), clBlue);
}

TEST(Bitmap, TakingItsOwnHandleKeepsThatHandleAndPicture)
{
    TBitmap bitmap(4, 3);
    Fill(bitmap, clRed);
    bitmap.Canvas().SetPixel(2, 1, clBlue);
    const HBITMAP own = bitmap.Handle();
    bitmap.SetHandle(own);
    EXPECT_EQ(GetObjectType(own), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(bitmap.Handle(), own);
    EXPECT_EQ(bitmap.Width(), 4);
    EXPECT_EQ(bitmap.Height(), 3);
    EXPECT_EQ(bitmap.Canvas().Pixel(2, 1), clBlue);
    EXPECT_EQ(bitmap.Canvas().Pixel(0, 0), clRed);

    // A stranger's handle is taken over as before: copied, and the original deleted.
    ScopedBitmap made(CreateBitmap(5, 2, 1, 1, nullptr));
    bitmap.SetHandle(made.release());
    EXPECT_TRUE(bitmap.Monochrome());
    EXPECT_EQ(bitmap.Width(), 5);
}

TEST(ScopedHandle, TakingOverTheHandleItHoldsKeepsItAlive)
{
    ScopedBitmap bitmap(CreateBitmap(2, 2, 1, 1, nullptr));
    const HBITMAP held = bitmap.get();
    bitmap.reset(held);
    EXPECT_EQ(GetObjectType(held), static_cast<DWORD>(OBJ_BITMAP));
    bitmap = ScopedBitmap(CreateBitmap(2, 2, 1, 1, nullptr));
    EXPECT_EQ(GetObjectType(held), 0u) << "replaced by another, it is deleted";
}

TEST(ScopedMemoryDC, WhatWasSelectedGoesBackOnDeselectAndWithTheContext)
{
    ScopedBitmap bitmap = CreateBitmapImage(4, 4, false);
    ScopedBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    ScopedPen pen(CreatePen(PS_SOLID, 1, RGB(4, 5, 6)));
    ScopedMemoryDC dc(nullptr);
    ASSERT_TRUE(dc);
    const HGDIOBJ originalBitmap = GetCurrentObject(dc.get(), OBJ_BITMAP);
    const HGDIOBJ originalBrush = GetCurrentObject(dc.get(), OBJ_BRUSH);
    const HGDIOBJ originalPen = GetCurrentObject(dc.get(), OBJ_PEN);
    EXPECT_TRUE(dc.Select(bitmap.get()));
    EXPECT_TRUE(dc.Select(brush.get()));
    EXPECT_TRUE(dc.Select(pen.get()));
    EXPECT_TRUE(dc.Select(bitmap.get())) << "selected again, nothing changes";
    EXPECT_FALSE(dc.Select(nullptr));
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen.get());

    // A second bitmap replaces the first; the context's own one still comes back at the end.
    ScopedBitmap second = CreateBitmapImage(2, 2, false);
    EXPECT_TRUE(dc.Select(second.get()));
    dc.Deselect();
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), originalBitmap);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), originalBrush);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), originalPen);

    // Moved, the new owner gives back; the old one holds nothing.
    EXPECT_TRUE(dc.Select(bitmap.get()));
    ScopedMemoryDC moved = std::move(dc);
    EXPECT_FALSE(dc);
    const HDC context = moved.get();
    moved.reset();
    EXPECT_EQ(GetObjectType(context), 0u) << "the context is deleted";
    ScopedMemoryDC other = MemoryDCWith(bitmap.get());
    EXPECT_EQ(GetCurrentObject(other.get(), OBJ_BITMAP), bitmap.get()) << "free for another context";
}

TEST(Bitmap, DrawingOnTheCanvasReportsAChange)
{
    TBitmap bitmap(2, 2);
    int changes = 0;
    bitmap.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &bitmap);
        ++changes;
    };
    Fill(bitmap, clRed);
    EXPECT_EQ(changes, 1);
    bitmap.SetSize(3, 3);
    EXPECT_EQ(changes, 2);
    bitmap.Canvas().Pixel(0, 0);
    EXPECT_EQ(changes, 2) << "reading changes nothing";
}

TEST(Bitmap, FileRoundTripKeepsPixelsAndDepth)
{
    TempDir dir;
    TBitmap colour(3, 2); // odd width: rows are padded in the file
    colour.Canvas().SetPixel(0, 0, RGBColor(10, 20, 30));
    colour.Canvas().SetPixel(2, 1, clRed);
    colour.SaveToFile(dir.Path() + "c.bmp");
    TBitmap mono(9, 2);
    mono.SetMonochrome(true);
    Fill(mono, clWhite);
    mono.Canvas().SetPixel(8, 1, clBlack);
    mono.SaveToFile(dir.Path() + "m.bmp");

    TBitmap loaded;
    loaded.LoadFromFile(dir.Path() + "c.bmp");
    EXPECT_FALSE(loaded.Monochrome());
    EXPECT_EQ(loaded.Width(), 3);
    EXPECT_EQ(loaded.Canvas().Pixel(0, 0), RGBColor(10, 20, 30));
    EXPECT_EQ(loaded.Canvas().Pixel(2, 1), clRed);
    EXPECT_EQ(loaded.Canvas().Pixel(1, 1), clWhite);
    EXPECT_EQ(loaded.TransparentColor(), clWhite);

    loaded.LoadFromFile(dir.Path() + "m.bmp");
    EXPECT_TRUE(loaded.Monochrome());
    EXPECT_EQ(loaded.Width(), 9);
    EXPECT_EQ(loaded.Canvas().Pixel(8, 1), clBlack);
    EXPECT_EQ(loaded.Canvas().Pixel(7, 1), clWhite);
}

TEST(Bitmap, InvalidDataRaisesAndKeepsThePicture)
{
    TempDir dir;
    TBitmap bitmap(2, 2);
    Fill(bitmap, clRed);
    TBytes good = bitmap.SaveToStream();

    TBytes truncated(good.begin(), good.begin() + 60);
    TBytes badDepth = good;
    badDepth[14 + 14] = 7; // bits per pixel
    const std::string cases[] = {"", "BM", "XX" + std::string(60, '\0'), BytesToString(truncated),
                                 BytesToString(badDepth)};
    for (const std::string& bytes : cases) {
        const std::string path = dir.WriteFile("bad.bmp", bytes);
        try {
            bitmap.LoadFromFile(path);
            ADD_FAILURE() << "accepted " << bytes.size() << " bytes";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), "Bitmap image is not valid");
        }
        EXPECT_EQ(bitmap.Width(), 2);
        EXPECT_EQ(bitmap.Canvas().Pixel(1, 1), clRed);
    }
}

TEST(Bitmap, ResourcesAreFoundByNameAndMissingOnesReported)
{
    TBitmap bitmap;
    HMODULE self = GetModuleHandleA(nullptr);
    EXPECT_THROW(bitmap.LoadFromResourceName(self, "NoSuchBitmap"), EResNotFound);
    try {
        bitmap.LoadFromResourceID(self, 4711);
        ADD_FAILURE();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource 4711 not found");
    }
    EXPECT_TRUE(bitmap.Empty());

    // A bitmap resource of a system module (the check-box glyphs), compared with the
    // platform's own loading of it.
    HMODULE user32 = GetModuleHandleA("user32.dll");
    bitmap.LoadFromResourceID(user32, 32759 /* OBM_CHECKBOXES */);
    ScopedBitmap reference(LoadBitmapA(nullptr, MAKEINTRESOURCEA(32759)));
    BITMAP info{};
    ASSERT_TRUE(GetObjectA(reference.get(), sizeof info, &info));
    EXPECT_EQ(bitmap.Width(), info.bmWidth);
    EXPECT_EQ(bitmap.Height(), info.bmHeight);
    ScopedDC dc(CreateCompatibleDC(nullptr));
    ScopedSelect select(dc.get(), reference.get());
    for (int y = 0; y < info.bmHeight; y += 3)
        for (int x = 0; x < info.bmWidth; x += 3)
            ASSERT_EQ(bitmap.Canvas().Pixel(x, y), GetPixel(dc.get(), x, y)) << x << "," << y;
}

namespace {
// A deflated bitmap as the artwork generator writes one: header, then the rows from the top.
TBytes Deflated(const BITMAPINFOHEADER& header, const TBytes& rows, int level = 9)
{
    TBytes raw(sizeof header);
    std::memcpy(raw.data(), &header, sizeof header);
    raw.insert(raw.end(), rows.begin(), rows.end());
    uLongf size = compressBound(uLong(raw.size()));
    TBytes out(size);
    if (compress2(out.data(), &size, raw.data(), uLong(raw.size()), level) != Z_OK)
        throw std::runtime_error("compress2 failed");
    out.resize(size);
    return out;
}

// The rows of a colour bitmap as they lie in it, padding included.
TBytes RowsOf(TBitmap& bitmap)
{
    TBytes rows;
    for (int y = 0; y < bitmap.Height(); ++y)
        rows.insert(rows.end(), bitmap.ScanLine(y), bitmap.ScanLine(y) + bitmap.ScanLineStride());
    return rows;
}
} // namespace

TEST(DeflatedBitmap, InflatesToThePixelsItWasMadeFromWhateverTheRowPadding)
{
    for (int width = 1; width <= 5; ++width) {
        SCOPED_TRACE("width " + std::to_string(width));
        TBitmap source(width, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
                source.Canvas().SetPixel(x, y, RGB(40 * x + 7, 80 * y + 3, 11 * (x + y)));
        TBitmap loaded;
        loaded.LoadFromDeflatedDib(Deflated(TopDownDibHeader(width, 3, 24), RowsOf(source)));
        ASSERT_EQ(loaded.Width(), width);
        ASSERT_EQ(loaded.Height(), 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(loaded.Canvas().Pixel(x, y), source.Canvas().Pixel(x, y)) << x << "," << y;
    }
}

TEST(DeflatedBitmap, DamagedShortLongForeignOrTrailedStreamsAreRefusedAndThePictureKept)
{
    TBitmap source(3, 2);
    Fill(source, clTeal);
    const TBytes rows = RowsOf(source);
    const BITMAPINFOHEADER header = TopDownDibHeader(3, 2, 24);
    const TBytes good = Deflated(header, rows);

    TBytes flipped = good;
    flipped[flipped.size() / 2] ^= 0x5A;
    TBytes checkSum = good;
    checkSum.back() ^= 1;
    TBytes trailed = good;
    trailed.push_back(0);
    BITMAPINFOHEADER bottomUp = header, deeper = header, huge = header, palette = header;
    bottomUp.biHeight = 2;
    deeper.biBitCount = 32;
    huge.biWidth = 1 << 15;
    huge.biHeight = -(1 << 15);
    palette.biClrUsed = 2;
    TBytes shortRows(rows.begin(), rows.end() - 1), longRows = rows;
    longRows.push_back(0);
    TBitmap plain(3, 2);
    const std::pair<const char*, TBytes> cases[] = {
        {"nothing", {}},
        {"a plain bitmap", plain.SaveToStream()},
        {"cut short", TBytes(good.begin(), good.end() - 9)},
        {"a damaged byte", flipped},
        {"a wrong check sum", checkSum},
        {"a byte after the stream", trailed},
        {"rows a byte short", Deflated(header, shortRows)},
        {"rows a byte long", Deflated(header, longRows)},
        {"bottom-up rows", Deflated(bottomUp, rows)},
        {"32 bits", Deflated(deeper, rows)},
        {"a colour table", Deflated(palette, rows)},
        {"a billion pixels and no rows", Deflated(huge, {})},
    };
    TBitmap bitmap(2, 2);
    Fill(bitmap, clRed);
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        try {
            bitmap.LoadFromDeflatedDib(bytes);
            ADD_FAILURE() << "accepted";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), "Bitmap image is not valid");
        }
        EXPECT_EQ(bitmap.Width(), 2);
        EXPECT_EQ(bitmap.Canvas().Pixel(1, 1), clRed);
    }
    bitmap.LoadFromDeflatedDib(good);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Canvas().Pixel(2, 1), clTeal) << "the stream the damaged ones came from is good";
}
