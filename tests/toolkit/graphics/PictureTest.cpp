#include "GraphicsTestSupport.h"

#include "support/TempDir.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Exception.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/JpegImage.h"
#include "toolkit/graphics/Metafile.h"
#include "toolkit/graphics/Picture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
constexpr int kJpegTolerance = 24;

// Paints the graphic onto a white bitmap of its own size and reads one pixel back.
TColor DrawnPixel(TGraphic& graphic, int width, int height, int x, int y)
{
    TBitmap target(width, height);
    target.Canvas().StretchDraw(RECT{0, 0, width, height}, graphic);
    return target.Canvas().Pixel(x, y);
}

void ExpectBlocks(TJPEGImage& jpeg)
{
    ASSERT_EQ(jpeg.Width(), 48);
    ASSERT_EQ(jpeg.Height(), 16);
    TCanvas& pixels = jpeg.Bitmap().Canvas();
    for (int y : {2, 8, 13}) {
        EXPECT_TRUE(ColorNear(pixels.Pixel(8, y), clRed, kJpegTolerance));
        EXPECT_TRUE(ColorNear(pixels.Pixel(24, y), clLime, kJpegTolerance));
        EXPECT_TRUE(ColorNear(pixels.Pixel(40, y), clBlue, kJpegTolerance));
    }
}

std::string ReadData(const std::string& name)
{
    return BytesToString(ReadPictureFile(TestDataPath(name)));
}

TByteSpan Span(const std::string& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

std::string EnhancedMetafileBytes()
{
    // One inch square, the left half blue.
    RECT frame{0, 0, 2540, 2540};
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    ScopedBrush blue(CreateSolidBrush(clBlue));
    RECT half{0, 0, 48, 96};
    FillRect(dc, &half, blue.get());
    ScopedEnhMetaFile metafile(CloseEnhMetaFile(dc));
    std::string bytes(GetEnhMetaFileBits(metafile.get(), 0, nullptr), '\0');
    GetEnhMetaFileBits(metafile.get(), UINT(bytes.size()), reinterpret_cast<BYTE*>(bytes.data()));
    return bytes;
}

std::string PlaceableMetafileBytes()
{
    HDC dc = CreateMetaFileA(nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, 100, 50, nullptr);
    ScopedBrush red(CreateSolidBrush(clRed));
    RECT all{0, 0, 100, 50};
    FillRect(dc, &all, red.get());
    HMETAFILE metafile = CloseMetaFile(dc);
    std::string body(GetMetaFileBitsEx(metafile, 0, nullptr), '\0');
    GetMetaFileBitsEx(metafile, UINT(body.size()), body.data());
    DeleteMetaFile(metafile);

    // Placeable header: 100 x 50 units at 50 units per inch, so 2 x 1 inches.
    std::uint16_t words[11] = {0xCDD7, 0x9AC6, 0, 0, 0, 100, 50, 50, 0, 0, 0};
    for (int i = 0; i < 10; ++i)
        words[10] ^= words[i];
    std::string bytes(sizeof words, '\0');
    std::memcpy(bytes.data(), words, sizeof words);
    return bytes + body;
}
} // namespace

TEST(JpegImage, DecodesSizeAndColours)
{
    TJPEGImage baseline;
    baseline.LoadFromFile(TestDataPath("blocks.jpg"));
    ExpectBlocks(baseline);

    TJPEGImage progressive;
    progressive.LoadFromStream(Span(ReadData("blocks-prog.jpg")));
    ExpectBlocks(progressive);

    TJPEGImage gray;
    gray.LoadFromFile(TestDataPath("gray.jpg"));
    ASSERT_EQ(gray.Width(), 16);
    ASSERT_EQ(gray.Height(), 8);
    EXPECT_TRUE(ColorNear(gray.Bitmap().Canvas().Pixel(2, 4), clBlack, kJpegTolerance));
    EXPECT_TRUE(ColorNear(gray.Bitmap().Canvas().Pixel(13, 4), clWhite, kJpegTolerance));

    // Drawn through a canvas, scaled.
    EXPECT_TRUE(ColorNear(DrawnPixel(baseline, 24, 8, 20, 4), clBlue, kJpegTolerance));
}

TEST(JpegImage, CorruptDataRaisesAndKeepsTheOldPicture)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFile(TestDataPath("blocks.jpg"));
    int changes = 0;
    jpeg.OnChange = [&](TObject*) { ++changes; };

    const std::string good = ReadData("blocks.jpg");
    std::string noWidth = good; // the frame header claims a width of 0
    const std::size_t frame = good.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    noWidth[frame + 7] = noWidth[frame + 8] = '\0';
    const std::string cases[] = {
        "",
        "not a picture at all",
        good.substr(0, good.size() / 2), // ends in the middle of the image data
        good.substr(0, 20),
        noWidth,
    };
    for (const std::string& bytes : cases) {
        try {
            jpeg.LoadFromStream(Span(bytes));
            ADD_FAILURE() << "accepted " << bytes.size() << " bytes";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(std::string(e.Message()).rfind("JPEG image is not valid: ", 0), 0u) << e.Message();
        }
        ExpectBlocks(jpeg);
    }
    EXPECT_EQ(changes, 0);

    jpeg.LoadFromFile(TestDataPath("gray.jpg"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(jpeg.Width(), 16);
}

TEST(Picture, PicksTheKindByExtensionInAnyCase)
{
    TempDir dir;
    const std::string jpeg = ReadData("blocks.jpg");
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &picture);
        ++changes;
    };

    picture.LoadFromFile(dir.WriteFile("PHOTO.JPG", jpeg));
    EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 48);
    EXPECT_EQ(changes, 1);
    picture.LoadFromFile(dir.WriteFile("photo.Jpeg", jpeg));
    EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);

    TBitmap bitmap(5, 6);
    bitmap.SaveToFile(dir.Path() + "b.BMP");
    picture.LoadFromFile(dir.Path() + "b.BMP");
    ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Height(), 6);

    picture.LoadFromFile(dir.WriteFile("i.Ico", SolidIconFile(16, clRed)));
    EXPECT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);
    picture.LoadFromFile(dir.WriteFile("m.EMF", EnhancedMetafileBytes()));
    EXPECT_NE(dynamic_cast<TMetafile*>(picture.Graphic()), nullptr);
    picture.LoadFromFile(dir.WriteFile("m.wmf", PlaceableMetafileBytes()));
    EXPECT_NE(dynamic_cast<TMetafile*>(picture.Graphic()), nullptr);
    EXPECT_EQ(changes, 6);
}

TEST(Picture, UnknownExtensionIsRefusedByName)
{
    TempDir dir;
    TPicture picture;
    picture.LoadFromFile(TestDataPath("blocks.jpg"));
    const std::pair<std::string, std::string> cases[] = {
        {"picture.png", "Unknown picture file extension (.png)"},
        {"PICTURE.GIF", "Unknown picture file extension (.GIF)"},
        {"no-extension", "Unknown picture file extension (.)"},
        {"dotted.folder\\file", "Unknown picture file extension (.)"},
        {"archive.jpg.txt", "Unknown picture file extension (.txt)"},
    };
    for (const auto& [name, message] : cases) {
        try {
            picture.LoadFromFile(dir.Path() + name);
            ADD_FAILURE() << name;
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), message);
        }
    }
    EXPECT_EQ(picture.Width(), 48) << "the previous picture stays";
}

TEST(Picture, FailedLoadsKeepThePreviousPicture)
{
    TempDir dir;
    TPicture picture;
    picture.LoadFromFile(TestDataPath("blocks.jpg"));
    TGraphic* before = picture.Graphic();

    const std::string missing = dir.Path() + "missing.jpg";
    try {
        picture.LoadFromFile(missing);
        ADD_FAILURE();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message().rfind("Cannot open picture file \"" + missing + "\"", 0), 0u) << e.Message();
    }
    EXPECT_THROW(picture.LoadFromFile(dir.WriteFile("broken.jpg", "garbage")), EInvalidGraphic);
    EXPECT_THROW(picture.LoadFromFile(dir.WriteFile("broken.bmp", "garbage")), EInvalidGraphic);
    EXPECT_THROW(picture.LoadFromFile(dir.WriteFile("broken.emf", "garbage")), EInvalidGraphic);
    try {
        picture.LoadFromFile(dir.WriteFile("broken.ico", "garbage"));
        ADD_FAILURE();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Icon image is not valid");
    }
    EXPECT_EQ(picture.Graphic(), before);
    EXPECT_EQ(picture.Width(), 48);
}

TEST(Picture, BitmapAccessAssignAndChangeEvents)
{
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    picture.LoadFromFile(TestDataPath("gray.jpg"));
    TBitmap& bitmap = picture.Bitmap(); // a JPEG is replaced by an empty bitmap
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(&picture.Bitmap(), &bitmap);
    const int afterReplace = changes;
    bitmap.SetSize(3, 2);
    bitmap.Canvas().SetPixel(0, 0, clRed);
    EXPECT_GT(changes, afterReplace) << "changes of the held graphic reach the picture";

    TPicture copy;
    copy.Assign(picture);
    ASSERT_NE(copy.Graphic(), picture.Graphic());
    EXPECT_EQ(copy.Bitmap().Canvas().Pixel(0, 0), clRed);
    bitmap.Canvas().SetPixel(0, 0, clBlue);
    EXPECT_EQ(copy.Bitmap().Canvas().Pixel(0, 0), clRed);

    copy.Clear();
    EXPECT_EQ(copy.Graphic(), nullptr);
    EXPECT_EQ(copy.Width(), 0);
}

TEST(Icon, ASizeAskedForTakesThatEntryOrTheNextLargerOrTheLargestAndMakesItThatSize)
{
    TempDir dir;
    const std::string file = dir.WriteFile("sizes.ico", IconFile({{16, clRed}, {48, clLime}, {24, clBlue}}));
    const auto loaded = [&file](int wanted) {
        TIcon icon;
        icon.SetWantedSize(wanted);
        icon.LoadFromFile(file);
        return std::pair{icon.Width(), DrawnPixel(icon, icon.Width(), icon.Height(), icon.Width() / 2, icon.Height() / 2)};
    };
    EXPECT_EQ(loaded(48), (std::pair{48, clLime}));
    EXPECT_EQ(loaded(24), (std::pair{24, clBlue}));
    EXPECT_EQ(loaded(20), (std::pair{20, clBlue}));  // the next larger
    EXPECT_EQ(loaded(32), (std::pair{32, clLime}));  // the next larger, made smaller
    EXPECT_EQ(loaded(64), (std::pair{64, clLime}));  // none larger: the largest, made larger
    // Without a size asked for, the system's icon size or else the first entry, as it stands.
    ASSERT_EQ(GetSystemMetrics(SM_CXICON), 32);
    EXPECT_EQ(loaded(0), (std::pair{16, clRed}));

    // A PNG entry only when there is no bitmap one: older systems cannot make an icon of it.
    const std::string withPng = dir.WriteFile("png.ico", IconFile({{16, clRed}, {256, clBlack, true}}));
    TIcon icon;
    icon.SetWantedSize(40);
    icon.LoadFromFile(withPng);
    EXPECT_EQ(icon.Width(), 40);
    EXPECT_EQ(DrawnPixel(icon, 40, 40, 20, 20), clRed);
}

TEST(Icon, LoadsFromFileAndFromHandleAndDrawsThroughItsMask)
{
    TempDir dir;
    TIcon icon;
    icon.LoadFromFile(dir.WriteFile("red.ico", SolidIconFile(16, clRed)));
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);
    EXPECT_TRUE(icon.Transparent());
    EXPECT_EQ(DrawnPixel(icon, 16, 16, 8, 8), clRed);

    TBitmap target(40, 40);
    target.Canvas().Draw(10, 12, icon);
    EXPECT_EQ(target.Canvas().Pixel(10, 12), clRed);
    EXPECT_EQ(target.Canvas().Pixel(25, 27), clRed);
    EXPECT_EQ(target.Canvas().Pixel(26, 12), clWhite);
    EXPECT_EQ(target.Canvas().Pixel(9, 12), clWhite);

    TIcon system;
    system.SetHandle(CopyIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32512) /* IDI_APPLICATION */)));
    EXPECT_FALSE(system.Empty());
    EXPECT_EQ(system.Width(), GetSystemMetrics(SM_CXICON));
    auto copy = system.Clone();
    EXPECT_EQ(copy->Width(), system.Width());
    const HICON held = system.Handle();
    const ScopedIcon released = system.ReleaseHandle();
    EXPECT_TRUE(system.Empty());
    EXPECT_EQ(released.get(), held);

    // Directory entries that point outside the data.
    std::string bad = SolidIconFile(16, clRed);
    bad[18] = char(0x7F);
    EXPECT_THROW(icon.LoadFromStream(Span(bad)), EInvalidGraphic);
    EXPECT_EQ(icon.Width(), 16);
}

TEST(Metafile, EnhancedAndPlaceableFilesKeepTheirSizeAndDraw)
{
    TempDir dir;
    const int dpi = GetDeviceCaps(ScopedWindowDC(nullptr).get(), LOGPIXELSX);
    TMetafile emf;
    emf.LoadFromFile(dir.WriteFile("a.emf", EnhancedMetafileBytes()));
    EXPECT_NEAR(emf.Width(), dpi, 1);
    EXPECT_NEAR(emf.Height(), dpi, 1);
    EXPECT_EQ(DrawnPixel(emf, 40, 40, 5, 20), clBlue);
    EXPECT_EQ(DrawnPixel(emf, 40, 40, 35, 20), clWhite) << "only what the metafile draws covers";

    TMetafile wmf;
    wmf.LoadFromFile(dir.WriteFile("a.wmf", PlaceableMetafileBytes()));
    EXPECT_NEAR(wmf.Width(), 2 * dpi, 1);
    EXPECT_NEAR(wmf.Height(), dpi, 1);
    EXPECT_EQ(DrawnPixel(wmf, 20, 10, 10, 5), clRed);

    auto copy = wmf.Clone();
    EXPECT_EQ(copy->Width(), wmf.Width());
    EXPECT_THROW(wmf.LoadFromStream(Span(std::string(64, 'x'))), EInvalidGraphic);
    EXPECT_FALSE(wmf.Empty());
}
