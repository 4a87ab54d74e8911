// The skin's two costs that grow with its pictures. The window outline from the 491 x 342
// skin: the region read from the bitmap's bits in one call against the one-pixel-at-a-time
// loop (aim: at least 20 times faster). One 108 x 38 bitmap button painted from scratch
// (without the pause after its parent's image) against a plain BitBlt of its picture.
#include "bench/Runner.h"
#include "skin/BitmapRegion.h"
#include "skin/BmpButton.h"
#include "skin/FormShape.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"

#include <windows.h>

#include <cstdio>
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

class SkinForm : public TForm {
public:
    SkinForm()
    {
        BuildLayout(*this, {
            Place<TFormShape>("FormShape1", 0, 0, 496, 377, {}, [](TFormShape& s) {
                s.Picture().LoadFromFile(ArtFile("skin_main.bmp"));
            }),
            Place<TBmpButton>("BmpButton1", 368, 192, 108, 38, {}, [](TBmpButton& b) {
                b.Bitmaps().LoadFromFiles(ArtFile(""), "btn_adorn");
            }),
        });
        SetBounds(0, 0, 496, 377);
    }
};

void CheckRegion(const ScopedRegion& region)
{
    if (!region || !PtInRegion(region.get(), 245, 170) || PtInRegion(region.get(), 0, 0))
        throw std::runtime_error("the outline is wrong");
}
} // namespace

int main()
{
    try {
        const int rounds = bench::RoundsFromEnvironment(7);

        TBitmap skin;
        skin.LoadFromFile(ArtFile("skin_main.bmp"));
        if (skin.Width() != 491 || skin.Height() != 342)
            throw std::runtime_error("the skin is not 491 x 342");
        ScopedRegion bits, pixels;
        bench::Rounds outline(rounds);
        outline.Group({{"bits", [&](int) { bits = RegionFromBitmapBits(skin); }, [&](int) { CheckRegion(bits); }}});
        outline.Group({{"pixels", [&](int) { pixels = RegionFromBitmapPixels(skin); }, [&](int) { CheckRegion(pixels); }}});
        outline.Run();
        std::printf("Window outline of the 491 x 342 skin, %d rounds\n", outline.Count());
        outline.PrintTime("region from the bits, one read", "bits", bench::kMilliseconds);
        outline.PrintTime("region pixel by pixel, one rectangle a run", "pixels", bench::kMilliseconds);
        outline.PrintRatio("ratio bits / pixel by pixel", "bits", "pixels", 1.0 / 20);

        TBmpButton::SetBackgroundPause(0);
        SkinForm form;
        auto& button = form.Component<TBmpButton>("BmpButton1");
        TBitmap& up = button.Bitmaps().Up();
        if (button.Width() != 108 || button.Height() != 38)
            throw std::runtime_error("the button is not 108 x 38");
        TBitmap target(108, 38);
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
                              BitBlt(dc, 0, 0, 108, 38, source, 0, 0, SRCCOPY);
                          GdiFlush();
                      },
                      {}}});
        paint.Run();
        std::printf("One 108 x 38 button, %d paints a round, %d rounds\n", kPaints, paint.Count());
        paint.PrintTime("button painted from scratch (no pause), per paint", "button", {1e6 / kPaints, "us"});
        paint.PrintTime("BitBlt of its picture, per copy", "bitblt", {1e6 / kPaints, "us"});
        paint.PrintRatio("ratio button paint / BitBlt", "button", "bitblt");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "SkinDrawing: %s\n", e.what());
        return 1;
    }
}
