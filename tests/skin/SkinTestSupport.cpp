#include "skin/SkinTestSupport.h"

#include "toolkit/graphics/Canvas.h"

std::unique_ptr<TBitmap> PictureFromText(const std::vector<std::string>& rows, const std::map<char, TColor>& legend)
{
    auto bitmap = std::make_unique<TBitmap>(int(rows.at(0).size()), int(rows.size()));
    for (int y = 0; y < int(rows.size()); ++y)
        for (int x = 0; x < int(rows[y].size()); ++x)
            bitmap->Canvas().SetPixel(x, y, legend.at(rows[y][x]));
    return bitmap;
}

std::unique_ptr<TBitmap> SolidBitmap(int width, int height, TColor color)
{
    auto bitmap = std::make_unique<TBitmap>(width, height);
    bitmap->Canvas().Brush().SetColor(color);
    bitmap->Canvas().FillRect(RECT{0, 0, width, height});
    return bitmap;
}

TColor PixelAt(TBitmap& bitmap, int x, int y)
{
    const std::uint8_t* row = bitmap.ScanLine(y);
    const std::uint8_t* p = row + x * 3;
    return RGBColor(p[2], p[1], p[0]);
}

testing::AssertionResult SamePixels(TBitmap& actual, TBitmap& expected)
{
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height())
        return testing::AssertionFailure() << "sizes differ: " << actual.Width() << " x " << actual.Height()
                                           << " against " << expected.Width() << " x " << expected.Height();
    for (int y = 0; y < actual.Height(); ++y)
        for (int x = 0; x < actual.Width(); ++x)
            if (PixelAt(actual, x, y) != PixelAt(expected, x, y))
                return testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                   << PixelAt(actual, x, y) << ", expected "
                                                   << PixelAt(expected, x, y);
    return testing::AssertionSuccess();
}

std::unique_ptr<TBitmap> ArtBitmap(const std::string& name)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceName(GetModuleHandleA(nullptr), name);
    return bitmap;
}
