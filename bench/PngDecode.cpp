// Times TPngImage against the platform's own PNG decode of the same bytes in the same process:
// the main window's skin and a command button at 250%, the largest pictures a window decodes
// when it opens on such a display. The floor makes the same calls (COM for the thread, the
// imaging factory, a memory stream, the PNG decoder, the conversion to 24-bit BGR rows padded
// to four bytes) into a plain buffer; ours decodes into the bitmap the windows draw from.
#include "bench/Runner.h"
#include "toolkit/core/Scoped.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Graphic.h"
#include "toolkit/graphics/PngImage.h"

#include <windows.h>
#include <wincodec.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
void Check(HRESULT status, const char* what)
{
    if (FAILED(status))
        throw std::runtime_error(std::string("the floor's ") + what + " failed");
}

struct Decoded {
    std::vector<std::uint8_t> pixels; // blue, green, red, rows padded to four bytes
    UINT width = 0, height = 0;
    UINT stride() const { return (width * 3 + 3) & ~3u; }
};

void FloorDecode(TByteSpan data, Decoded& out)
{
    ScopedComApartment com;
    ComPtr<IWICImagingFactory> factory;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           factory.put_void()),
          "factory");
    ComPtr<IWICStream> stream;
    Check(factory->CreateStream(stream.put()), "stream");
    Check(stream->InitializeFromMemory(const_cast<BYTE*>(data.data()), DWORD(data.size())), "stream");
    ComPtr<IWICBitmapDecoder> decoder;
    Check(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.put()), "decoder");
    Check(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand), "decoder");
    ComPtr<IWICBitmapFrameDecode> frame;
    Check(decoder->GetFrame(0, frame.put()), "frame");
    Check(frame->GetSize(&out.width, &out.height), "size");
    WICPixelFormatGUID format{};
    Check(frame->GetPixelFormat(&format), "pixel format");
    if (format != GUID_WICPixelFormat24bppBGR)
        throw std::runtime_error("the artwork is not 24-bit RGB");
    ComPtr<IWICFormatConverter> converter;
    Check(factory->CreateFormatConverter(converter.put()), "converter");
    Check(converter->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                WICBitmapPaletteTypeCustom),
          "converter");
    out.pixels.resize(std::size_t(out.stride()) * out.height);
    Check(converter->CopyPixels(nullptr, out.stride(), UINT(out.pixels.size()), out.pixels.data()), "pixels");
}

// The picture as the program holds it: a PNG resource of the artwork linked in.
void Compare(const std::string& name, int rounds)
{
    const TByteSpan data = ResourceBytes(GetModuleHandleA(nullptr), name.c_str(), RT_RCDATA);
    TPngImage image;
    Decoded floor;

    // Both must come to the same pixels, or they would not be doing the same work.
    image.LoadFromStream(data);
    FloorDecode(data, floor);
    if (image.Width() != int(floor.width) || image.Height() != int(floor.height))
        throw std::runtime_error(name + ": the sizes differ");
    for (UINT y = 0; y < floor.height; ++y)
        if (std::memcmp(image.Bitmap().ScanLine(int(y)), floor.pixels.data() + std::size_t(y) * floor.stride(),
                        floor.width * 3) != 0)
            throw std::runtime_error(name + ": the pixels differ in row " + std::to_string(y));

    const auto sized = [&](int width, int height) {
        return [&, width, height](int) {
            if (width != int(floor.width) || height != int(floor.height))
                throw std::runtime_error(name + " decoded to the wrong size");
        };
    };
    bench::Rounds runs(rounds);
    runs.Group({{"floor", [&](int) { FloorDecode(data, floor); }, sized(image.Width(), image.Height())}});
    runs.Group({{"ours", [&](int) { image.LoadFromStream(data); },
                 [&](int) {
                     if (image.Width() != int(floor.width))
                         throw std::runtime_error(name + ": TPngImage decoded to the wrong size");
                 }}});
    runs.Run();

    std::printf("PNG decode %s, %u x %u (%u KB), %d rounds\n", name.c_str(), floor.width, floor.height,
                unsigned(data.size() / 1024), runs.Count());
    runs.PrintTime("WIC into a memory buffer (floor)", "floor", bench::kMilliseconds);
    runs.PrintTime("TPngImage::LoadFromStream", "ours", bench::kMilliseconds);
    runs.PrintRatio("ratio TPngImage / floor", "ours", "floor", 1.2);
}
} // namespace

int main()
{
    try {
        for (const char* name : {"SKIN_MAIN_250", "BTN_ADORN_UP_250"})
            Compare(name, bench::RoundsFromEnvironment(15));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "PngDecode: %s\n", e.what());
        return 1;
    }
}
