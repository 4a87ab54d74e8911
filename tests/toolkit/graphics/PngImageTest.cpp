#include "GraphicsTestSupport.h"

#include "support/TempDir.h"
#include "toolkit/core/Exception.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/PngImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace {
// A PNG written byte by byte here, so the decoder meets files it did not make itself: stored
// (uncompressed) deflate blocks, every row with filter type 0.
std::uint32_t Crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

std::string BigEndian(std::uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string Chunk(const std::string& type, const std::string& data)
{
    return BigEndian(std::uint32_t(data.size())) + type + data + BigEndian(Crc32(type + data));
}

std::string Zlib(const std::string& raw)
{
    std::string out = "\x78\x01";
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - at, 65535);
        const bool last = at + n == raw.size();
        out += char(last ? 1 : 0);
        out += {char(n & 0xFF), char(n >> 8), char(~n & 0xFF), char((~n >> 8) & 0xFF)};
        out += raw.substr(at, n);
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    return out + BigEndian((b << 16) | a);
}

struct PngLayout {
    int width, height;
    int bitDepth, colourType; // 2 RGB, 3 palette, 4 grey with alpha, 6 RGB with alpha
    std::string before;       // chunks between the header and the data (PLTE, gAMA, ...)
};

// rows: the packed samples of each row, without the filter byte.
std::string Png(const PngLayout& layout, const std::vector<std::string>& rows)
{
    std::string header = BigEndian(layout.width) + BigEndian(layout.height);
    header += {char(layout.bitDepth), char(layout.colourType), 0, 0, 0};
    std::string raw;
    for (const std::string& row : rows)
        raw += '\0' + row;
    return std::string("\x89PNG\r\n\x1A\n", 8) + Chunk("IHDR", header) + layout.before + Chunk("IDAT", Zlib(raw)) +
           Chunk("IEND", "");
}

std::string Rgb(TColor c)
{
    return {char(RedOf(c)), char(GreenOf(c)), char(BlueOf(c))};
}

TByteSpan Span(const std::string& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

TColor PixelOf(TPngImage& png, int x, int y)
{
    const std::uint8_t* p = png.Bitmap().ScanLine(y) + 3 * x;
    return RGBColor(p[2], p[1], p[0]);
}

// The key colours of the artwork, a colour one step from a key, and mid-tones that gamma or
// colour management would move.
const TColor kMagenta = clFuchsia;
const std::vector<std::vector<TColor>> kPicture = {
    {clOlive, kMagenta, RGBColor(128, 128, 1), RGBColor(128, 64, 32)},
    {clBlack, clWhite, RGBColor(1, 2, 3), RGBColor(200, 100, 50)},
    {clOlive, RGBColor(37, 91, 163), clOlive, kMagenta},
};

std::string PictureRgb(const std::string& before = "")
{
    std::vector<std::string> rows;
    for (const auto& row : kPicture) {
        std::string bytes;
        for (TColor c : row)
            bytes += Rgb(c);
        rows.push_back(bytes);
    }
    return Png({4, 3, 8, 2, before}, rows);
}

void ExpectPicture(TPngImage& png)
{
    ASSERT_EQ(png.Width(), 4);
    ASSERT_EQ(png.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(PixelOf(png, x, y), kPicture[y][x]) << x << ", " << y;
}
} // namespace

TEST(PngImage, EveryPixelComesOutAsStoredWhateverTheFileSaysAboutColour)
{
    TPngImage plain;
    plain.LoadFromStream(Span(PictureRgb()));
    ExpectPicture(plain);

    // A gamma of 1.0 and an sRGB intent: a decoder that corrected colours would move the
    // mid-tones, and a key colour one step off no longer cuts the window.
    const std::string gamma = Chunk("gAMA", BigEndian(100000));
    const std::string srgb = Chunk("sRGB", std::string(1, '\0'));
    for (const std::string& chunks : {gamma, srgb, gamma + srgb}) {
        TPngImage png;
        png.LoadFromStream(Span(PictureRgb(chunks)));
        ExpectPicture(png);
    }
}

TEST(PngImage, OtherLayoutsComeOutAsTwentyFourBitsOverWhite)
{
    // Palette, two bits per pixel: indices 0 1 2 3.
    TPngImage palette;
    palette.LoadFromStream(Span(Png({4, 1, 2, 3, Chunk("PLTE", Rgb(clOlive) + Rgb(kMagenta) + Rgb(clRed) + Rgb(clNavy))},
                                    {std::string(1, char(0x1B))})));
    ASSERT_EQ(palette.Width(), 4);
    EXPECT_EQ(PixelOf(palette, 0, 0), clOlive);
    EXPECT_EQ(PixelOf(palette, 1, 0), kMagenta);
    EXPECT_EQ(PixelOf(palette, 2, 0), clRed);
    EXPECT_EQ(PixelOf(palette, 3, 0), clNavy);

    // RGB with alpha: opaque pixels exact, clear ones white, half-covered ones blended.
    TPngImage alpha;
    alpha.LoadFromStream(Span(Png({3, 1, 8, 6, ""}, {Rgb(clOlive) + '\xFF' + Rgb(clBlack) + '\0' + Rgb(clBlack) + '\x80'})));
    EXPECT_EQ(PixelOf(alpha, 0, 0), clOlive);
    EXPECT_EQ(PixelOf(alpha, 1, 0), clWhite);
    EXPECT_TRUE(ColorNear(PixelOf(alpha, 2, 0), RGBColor(127, 127, 127), 1));

    // Sixteen bits per channel: the high byte of each sample.
    TPngImage deep;
    deep.LoadFromStream(Span(Png({1, 1, 16, 2, ""}, {std::string("\x80\x80\x80\x80\x00\x00", 6)})));
    EXPECT_EQ(PixelOf(deep, 0, 0), clOlive);

    // Grey with alpha.
    TPngImage grey;
    grey.LoadFromStream(Span(Png({2, 1, 8, 4, ""}, {std::string("\x40\xFF\x40\x00", 4)})));
    EXPECT_EQ(PixelOf(grey, 0, 0), RGBColor(64, 64, 64));
    EXPECT_EQ(PixelOf(grey, 1, 0), clWhite);
}

TEST(PngImage, CorruptDataRaisesAClearErrorAndKeepsThePicture)
{
    TPngImage png;
    png.LoadFromStream(Span(PictureRgb()));
    int changes = 0;
    png.OnChange = [&](TObject*) { ++changes; };

    const std::string good = PictureRgb();
    const std::size_t data = good.find("IDAT");
    ASSERT_NE(data, std::string::npos);
    std::string damaged = good; // a pixel byte changed: the chunk's checksum no longer fits
    damaged[data + 4 + 2 + 5 + 3] ^= 0x5A;
    std::string noSize = good; // the header claims a width of 0
    noSize.replace(16, 4, std::string(4, '\0'));
    const std::string cases[] = {
        "",
        "not a picture at all",
        std::string("BM") + std::string(60, '\0'),
        good.substr(0, 8),
        good.substr(0, data + 20), // ends in the middle of the image data
        damaged,
        noSize,
    };
    for (const std::string& bytes : cases) {
        try {
            png.LoadFromStream(Span(bytes));
            ADD_FAILURE() << "accepted " << bytes.size() << " bytes";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(std::string(e.what()).rfind("PNG image is not valid: ", 0), 0u) << e.what();
        }
    }
    ExpectPicture(png);
    EXPECT_EQ(changes, 0);
}

TEST(PngImage, LoadsFromAFileCopiesAndDrawsWithoutItsKeyColour)
{
    TempDir dir;
    TPngImage png;
    png.LoadFromFile(dir.WriteFile("picture.png", PictureRgb()));
    ExpectPicture(png);

    auto copy = png.Clone();
    ExpectPicture(dynamic_cast<TPngImage&>(*copy));

    // Transparent: the key colour is the bottom-left pixel (olive), and those pixels leave
    // the canvas as it was.
    png.SetTransparent(true);
    TBitmap canvas(4, 3);
    canvas.Canvas().Brush().SetColor(clRed);
    canvas.Canvas().FillRect(RECT{0, 0, 4, 3});
    canvas.Canvas().Draw(0, 0, png);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(canvas.Canvas().Pixel(x, y), kPicture[y][x] == clOlive ? clRed : kPicture[y][x]) << x << ", " << y;

    try {
        png.LoadFromFile(dir.Path() + "missing.png");
        ADD_FAILURE() << "a missing file loaded";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find("missing.png"), std::string::npos) << e.what();
    }
    EXPECT_EQ(png.Width(), 4);
}

TEST(PngImage, DecodesOnThreadsWithoutComAndGivesItBack)
{
    const std::string bytes = PictureRgb();
    for (const DWORD apartment : {DWORD(0), DWORD(COINIT_MULTITHREADED)}) {
        HRESULT after = E_FAIL;
        bool decoded = false;
        std::thread worker([&] {
            const bool own = apartment != 0;
            if (own)
                CoInitializeEx(nullptr, apartment);
            try {
                TPngImage png;
                png.LoadFromStream(Span(bytes));
                decoded = png.Width() == 4 && PixelOf(png, 0, 0) == clOlive;
            } catch (const Exception&) {
                // reported below as not decoded
            }
            if (own)
                CoUninitialize();
            // Nothing of COM is left on the thread: it can start afresh.
            after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            if (SUCCEEDED(after))
                CoUninitialize();
        });
        worker.join();
        EXPECT_TRUE(decoded) << apartment;
        EXPECT_EQ(after, S_OK) << apartment;
    }
}
