#include "skin/KeyboardCues.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <algorithm>

namespace {
// Pixels this close to the brightest one are the word's ink; its soft edges are not.
constexpr int kInkMargin = 24;
// A picture whose brightest pixel is darker than this shows no word in a light ink.
constexpr int kLightestInk = 200;

int Luma(const std::uint8_t* bgr) noexcept
{
    return (bgr[2] * 299 + bgr[1] * 587 + bgr[0] * 114) / 1000;
}
} // namespace

std::optional<std::size_t> AccessKeyIndex(const std::string& caption)
{
    std::size_t spoken = 0;
    for (std::size_t i = 0; i < caption.size(); ++i, ++spoken) {
        if (caption[i] != '&')
            continue;
        if (i + 1 >= caption.size())
            return std::nullopt;
        if (caption[i + 1] != '&')
            return spoken;
        ++i; // "&&": one literal ampersand
    }
    return std::nullopt;
}

TAccessKeyLine AccessKeyLineIn(TBitmap& picture, TColor keyColour, const std::string& word, std::size_t index,
                               TCanvas& measure)
{
    TAccessKeyLine result;
    const int w = picture.Width(), h = picture.Height();
    if (w <= 0 || h <= 0 || index >= word.size())
        return result;
    const COLORREF key = ColorToRGB(keyColour) & 0xFFFFFF;
    const auto isKey = [key](const std::uint8_t* p) { return RGB(p[2], p[1], p[0]) == key; };
    int brightest = -1;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = picture.ScanLine(y);
        if (!row)
            return result;
        for (int x = 0; x < w; ++x)
            if (!isKey(row + 3 * x))
                brightest = std::max(brightest, Luma(row + 3 * x));
    }
    if (brightest < kLightestInk)
        return result;
    int left = w, right = -1, bottom = -1;
    COLORREF ink = 0;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = picture.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = row + 3 * x;
            if (isKey(p) || Luma(p) < brightest - kInkMargin)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
            if (Luma(p) == brightest)
                ink = RGB(p[2], p[1], p[0]);
        }
    }
    // The letter's share of the word as the font sets it, laid over the word's extent.
    const int whole = measure.TextWidth(word);
    if (whole <= 0 || right < left)
        return result;
    const int before = measure.TextWidth(word.substr(0, index));
    const int letter = measure.TextWidth(word.substr(index, 1));
    const int span = right + 1 - left;
    const int x0 = left + span * before / whole;
    const int x1 = std::max(x0 + 1, left + span * (before + letter) / whole);
    const int y = std::min(h - 1, bottom + 2);
    result.Line = RECT{x0, y, x1, y + 1};
    result.Colour = static_cast<TColor>(ink);
    return result;
}

RECT FocusCueRect(int width, int height, int dpi) noexcept
{
    // The pictures keep a pixel clear at the top and sides and three at the bottom for their
    // shadow (more at larger scales); the rectangle stands three pixels inside that rim.
    const int side = ScaledToDpi(4, dpi), bottom = ScaledToDpi(6, dpi);
    return RECT{side, side, std::max(side + 1, width - side), std::max(side + 1, height - bottom)};
}
