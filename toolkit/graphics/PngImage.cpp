#include "toolkit/graphics/PngImage.h"

#include "toolkit/core/Exception.h"
#include "toolkit/core/Scoped.h"
#include "toolkit/graphics/Bitmap.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr unsigned long long kMaxPixels = 1ULL << 28;

[[noreturn]] void Invalid(const std::string& reason)
{
    throw EInvalidGraphic("PNG image is not valid: " + reason);
}

std::string ErrorCode(HRESULT status)
{
    char text[24];
    std::snprintf(text, sizeof text, " (error 0x%08lX)", static_cast<unsigned long>(status));
    return text;
}

// A step that fails only when the data is at fault.
void CheckData(HRESULT status, const char* what)
{
    if (FAILED(status))
        Invalid(what + ErrorCode(status));
}

// A step that fails only when the platform's imaging component is missing or broken.
void CheckPlatform(HRESULT status, const char* what)
{
    if (FAILED(status))
        throw EOSError(std::string("The Windows Imaging Component cannot ") + what + ErrorCode(status));
}

// 0 to 255 alpha over white, rounded; an opaque pixel keeps its value exactly.
std::uint8_t OverWhite(unsigned value, unsigned alpha)
{
    return std::uint8_t((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

std::unique_ptr<TBitmap> Decode(TByteSpan data)
{
    if (data.size() < sizeof kSignature || !std::equal(std::begin(kSignature), std::end(kSignature), data.begin()))
        Invalid("the data does not start with the PNG signature");

    ScopedComApartment com;
    if (!com.Usable())
        throw EOSError("The Windows Imaging Component cannot be used on this thread: COM does not start");
    // Declared after the apartment, so every object is released before COM is given back.
    ComPtr<IWICImagingFactory> factory;
    CheckPlatform(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   factory.put_void()),
                  "be started");
    ComPtr<IWICStream> stream;
    CheckPlatform(factory->CreateStream(stream.put()), "make a stream");
    // The stream only reads the memory it is given.
    CheckPlatform(stream->InitializeFromMemory(const_cast<BYTE*>(data.data()), DWORD(data.size())),
                  "read from memory");
    ComPtr<IWICBitmapDecoder> decoder;
    CheckPlatform(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.put()), "decode PNG");
    CheckData(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand), "its header cannot be read");
    ComPtr<IWICBitmapFrameDecode> frame;
    CheckData(decoder->GetFrame(0, frame.put()), "it holds no picture");
    UINT width = 0, height = 0;
    CheckData(frame->GetSize(&width, &height), "its size cannot be read");
    if (width == 0 || height == 0 || width > 0x7FFFFFFF / 4 || 1ULL * width * height > kMaxPixels)
        Invalid("a picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is too large");

    // Eight-bit RGB (all of the program's own pictures) comes straight into the bitmap's rows;
    // every other kind (palette, grey, sixteen bits, alpha) by way of straight BGRA, which
    // every converter offers, its partly covered pixels blended onto white.
    WICPixelFormatGUID format{};
    CheckData(frame->GetPixelFormat(&format), "its pixel format cannot be read");
    const bool opaque = format == GUID_WICPixelFormat24bppBGR;
    ComPtr<IWICFormatConverter> converter;
    CheckPlatform(factory->CreateFormatConverter(converter.put()), "convert pixels");
    CheckData(converter->Initialize(frame.get(), opaque ? GUID_WICPixelFormat24bppBGR : GUID_WICPixelFormat32bppBGRA,
                                    WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom),
              "its pixel format cannot be converted");

    auto bitmap = std::make_unique<TBitmap>(int(width), int(height));
    std::uint8_t* rows = bitmap->ScanLine(0);
    const UINT stride = UINT(bitmap->ScanLineStride());
    if (opaque) {
        CheckData(converter->CopyPixels(nullptr, stride, stride * height, rows), "its pixels cannot be decoded");
        return bitmap;
    }
    const UINT from = width * 4;
    std::vector<std::uint8_t> pixels(std::size_t(from) * height);
    CheckData(converter->CopyPixels(nullptr, from, UINT(pixels.size()), pixels.data()), "its pixels cannot be decoded");
    for (UINT y = 0; y < height; ++y) {
        const std::uint8_t* source = pixels.data() + std::size_t(y) * from;
        std::uint8_t* target = rows + std::size_t(y) * stride;
        for (UINT x = 0; x < width; ++x, source += 4, target += 3) {
            const unsigned alpha = source[3];
            for (int c = 0; c < 3; ++c)
                target[c] = alpha == 255 ? source[c] : OverWhite(source[c], alpha);
        }
    }
    return bitmap;
}
} // namespace

void TPngImage::LoadFromStream(TByteSpan data)
{
    Take(Decode(data));
}

std::unique_ptr<TGraphic> TPngImage::Clone() const
{
    auto copy = std::make_unique<TPngImage>();
    CopyInto(*copy);
    return copy;
}
