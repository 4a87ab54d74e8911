// The skin's two costs that grow with its pictures, at 96 DPI and at 192 DPI (200%, where
// every picture has four times the pixels). The window outline from the skin (491 x 342, or
// 982 x 684): the region read from the bitmap's bits in one call against the one-pixel-at-a-
// time loop (aim: at least 20 times faster). One Adorn button (108 x 38, or 216 x 76) painted
// from scratch (without the pause after its parent's image) against a plain BitBlt of its
// picture.
#include "bench/Runner.h"
#include "skin/BitmapRegion.h"
#include "skin/BmpButton.h"
#include "skin/FormShape.h"
#include "toolkit/core/DpiScale.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/PngImage.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

namespace {
constexpr int kPaints = 200;

// The generated artwork: build\cmake\art beside build\cmake\bench, where this program lies.
std::string ArtFile(const std::string& name)
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir.resize(dir.find_last_of('\\') + 1);
    return dir + "..\\art\\" + name;
}

// A picture of the set of a scale: skin_main.bmp at 100%, skin_main_200.png at 200%.
std::unique_ptr<TBitmap> ArtPicture(const std::string& stem, int percent)
{
    auto bitmap = std::make_unique<TBitmap>();
    if (percent == 100) {
        bitmap->LoadFromFile(ArtFile(stem + ".bmp"));
        return bitmap;
    }
    TPngImage png;
    png.LoadFromFile(ArtFile(stem + "_" + std::to_string(percent) + ".png"));
    bitmap->Assign(png.Bitmap());
    return bitmap;
}

class SkinForm : public TForm {
public:
    explicit SkinForm(int dpi)
    {
        const int percent = ScalePercentForDpi(dpi);
        BuildLayout(*this, {
            Place<TFormShape>("FormShape1", 0, 0, 496, 377, {}, [percent](TFormShape& s) {
                s.Picture().SetGraphic(ArtPicture("skin_main", percent));
            }),
            Place<TBmpButton>("BmpButton1", 368, 192, 108, 38, {}, [percent](TBmpButton& b) {
                b.Bitmaps().SetUp(*ArtPicture("btn_adorn_up", percent));
                b.Bitmaps().SetHot(*ArtPicture("btn_adorn_hot", percent));
                b.Bitmaps().SetDown(*ArtPicture("btn_adorn_down", percent));
            }),
        });
        SetBounds(0, 0, 496, 377);
        // The window laid out at the scale, as on a monitor of that DPI.
        HandleNeeded();
        ChangeDpi(dpi);
    }
};

void CheckRegion(const ScopedRegion& region, int dpi)
{
    if (!region || !PtInRegion(region.get(), ScaledToDpi(245, dpi), ScaledToDpi(170, dpi)) ||
        PtInRegion(region.get(), 0, 0))
        throw std::runtime_error("the outline is wrong");
}

void MeasureAt(int dpi, int rounds)
{
    const int percent = ScalePercentForDpi(dpi);
    const auto skin = ArtPicture("skin_main", percent);
    if (skin->Width() != ScaledToDpi(491, dpi) || skin->Height() != ScaledToDpi(342, dpi))
        throw std::runtime_error("the skin is not of its scale's size");
    ScopedRegion bits, pixels;
    bench::Rounds outline(rounds);
    outline.Group({{"bits", [&](int) { bits = RegionFromBitmapBits(*skin); }, [&](int) { CheckRegion(bits, dpi); }}});
    outline.Group(
        {{"pixels", [&](int) { pixels = RegionFromBitmapPixels(*skin); }, [&](int) { CheckRegion(pixels, dpi); }}});
    outline.Run();
    std::printf("Window outline of the %d x %d skin (%d DPI), %d rounds\n", skin->Width(), skin->Height(), dpi,
                outline.Count());
    outline.PrintTime("region from the bits, one read", "bits", bench::kMilliseconds);
    outline.PrintTime("region pixel by pixel, one rectangle a run", "pixels", bench::kMilliseconds);
    outline.PrintRatio("ratio bits / pixel by pixel", "bits", "pixels", 1.0 / 20);

    SkinForm form(dpi);
    auto& button = form.Component<TBmpButton>("BmpButton1");
    TBitmap& up = button.Bitmaps().Up();
    const int width = ScaledToDpi(108, dpi), height = ScaledToDpi(38, dpi);
    if (button.Width() != width || button.Height() != height)
        throw std::runtime_error("the button is not of its scale's size");
    TBitmap target(width, height);
    HDC dc = target.Canvas().Handle();
    const HWND window = button.Handle();
    HDC source = up.Canvas().Handle();
    bench::Rounds paint(rounds);
    paint.Group({{"button", [&](int) {
                      for (int i = 0; i < kPaints; ++i)
                          SendMessageA(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
                  },
                  {}}});
    paint.Group({{"bitblt", [&](int) {
                      for (int i = 0; i < kPaints; ++i)
                          BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
                      GdiFlush();
                  },
                  {}}});
    paint.Run();
    std::printf("One %d x %d button (%d DPI), %d paints a round, %d rounds\n", width, height, dpi, kPaints,
                paint.Count());
    paint.PrintTime("button painted from scratch (no pause), per paint", "button", {1e6 / kPaints, "us"});
    paint.PrintTime("BitBlt of its picture, per copy", "bitblt", {1e6 / kPaints, "us"});
    paint.PrintRatio("ratio button paint / BitBlt", "button", "bitblt");
}
} // namespace

int main()
{
    try {
        const int rounds = bench::RoundsFromEnvironment(7);
        TBmpButton::SetBackgroundPause(0);
        for (int dpi : {96, 192})
            MeasureAt(dpi, rounds);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "SkinDrawing: %s\n", e.what());
        return 1;
    }
}
