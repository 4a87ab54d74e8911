// Times TJPEGImage::LoadFromFile against libjpeg's own decode of the same file in the same
// process: a full-HD background picture and a 24-megapixel photo. The floor reads the file
// with the same calls and asks libjpeg for the same output (blue first, rows padded to four
// bytes) into a plain memory buffer. A third way, libjpeg straight into a new DIB section,
// shows what the bitmap's memory costs by itself.
#include "bench/Runner.h"
#include "bench/Scratch.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Graphic.h"
#include "toolkit/graphics/JpegImage.h"
#include "toolkit/core/Scoped.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

#define QUORREL_TEXT(x) #x
#define QUORREL_VALUE_TEXT(x) QUORREL_TEXT(x)

// Smooth colour gradients with fine grain, so the encoder meets detail like a photo's rather
// than the flat areas a pure gradient gives.
std::vector<std::uint8_t> MakePicture(int width, int height)
{
    std::vector<float> waveX(width), waveY(height);
    for (int x = 0; x < width; ++x)
        waveX[x] = std::sin(float(x) * 0.011f);
    for (int y = 0; y < height; ++y)
        waveY[y] = std::cos(float(y) * 0.017f);
    std::vector<std::uint8_t> rgb(std::size_t(width) * height * 3);
    std::uint32_t seed = 2463534242u;
    std::uint8_t* p = rgb.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed ^= seed << 13;
            seed ^= seed >> 17;
            seed ^= seed << 5;
            const int grain = int(seed % 25) - 12;
            const int values[3] = {x * 255 / width, y * 255 / height, 128 + int(100 * waveX[x] * waveY[y])};
            for (int v : values)
                *p++ = std::uint8_t(std::clamp(v + grain, 0, 255));
        }
    }
    return rgb;
}

// Encodes with libjpeg at quality 90 (4:2:0, as cameras and editors write by default).
// A library error ends the program with the library's message: this is our own picture.
void WriteJpeg(const std::string& path, const std::vector<std::uint8_t>& rgb, int width, int height)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(rgb.data()) + std::size_t(info.next_scanline) * width * 3;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(buffer), std::streamsize(size));
    std::free(buffer);
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

std::size_t Stride(unsigned width)
{
    return (std::size_t(width) * 3 + 3) & ~std::size_t(3);
}

// libjpeg's own decode, rows going where `target(width, height)` says. The file is read with
// the same calls TJPEGImage::LoadFromFile makes.
template <typename Target>
void LibjpegDecode(const std::string& path, Target&& target)
{
    const TBytes data = ReadPictureFile(path);
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    std::uint8_t* pixels = target(info.output_width, info.output_height);
    const std::size_t stride = Stride(info.output_width);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + std::size_t(info.output_scanline) * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
}

struct Decoded {
    std::unique_ptr<std::uint8_t[]> pixels;
    unsigned width = 0, height = 0;
};

// Fresh, uninitialised memory each time, as a new bitmap gets.
void DecodeToMemory(const std::string& path, Decoded& out)
{
    out = {};
    LibjpegDecode(path, [&out](unsigned width, unsigned height) {
        out.width = width;
        out.height = height;
        out.pixels = std::make_unique_for_overwrite<std::uint8_t[]>(Stride(width) * height);
        return out.pixels.get();
    });
}

void DecodeToDibSection(const std::string& path, ScopedBitmap& out)
{
    out.reset();
    LibjpegDecode(path, [&out](unsigned width, unsigned height) {
        BITMAPINFO info{};
        info.bmiHeader = TopDownDibHeader(int(width), int(height), 24);
        void* bits = nullptr;
        out.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!out)
            throw std::runtime_error("cannot create a DIB section");
        return static_cast<std::uint8_t*>(bits);
    });
}

void ExpectSize(unsigned width, unsigned height, int wantWidth, int wantHeight, const char* who)
{
    if (int(width) != wantWidth || int(height) != wantHeight)
        throw std::runtime_error(std::string(who) + " decoded to the wrong size");
}

void Compare(const std::string& path, int width, int height, int rounds)
{
    TJPEGImage image;
    Decoded floor;
    ScopedBitmap section;

    // Both ways must produce the same pixels, or they would not be doing the same work.
    image.LoadFromFile(path);
    DecodeToMemory(path, floor);
    ExpectSize(floor.width, floor.height, width, height, "libjpeg");
    ExpectSize(unsigned(image.Width()), unsigned(image.Height()), width, height, "TJPEGImage");
    const std::size_t stride = Stride(floor.width);
    for (int y = 0; y < height; ++y)
        if (std::memcmp(image.Bitmap().ScanLine(y), floor.pixels.get() + y * stride, floor.width * 3) != 0)
            throw std::runtime_error("TJPEGImage and libjpeg differ in row " + std::to_string(y));

    std::ifstream file(path, std::ios::binary | std::ios::ate);
    const long long bytes = file.tellg();

    bench::Rounds runs(rounds);
    runs.Group({{"floor", [&](int) { DecodeToMemory(path, floor); },
                 [&](int) { ExpectSize(floor.width, floor.height, width, height, "libjpeg"); }}});
    runs.Group({{"section", [&](int) { DecodeToDibSection(path, section); },
                 [&](int) {
                     BITMAP info{};
                     GetObjectA(section.get(), sizeof info, &info);
                     ExpectSize(unsigned(info.bmWidth), unsigned(std::abs(info.bmHeight)), width, height, "DIB section");
                 }}});
    runs.Group({{"ours", [&](int) { image.LoadFromFile(path); },
                 [&](int) { ExpectSize(unsigned(image.Width()), unsigned(image.Height()), width, height, "TJPEGImage"); }}});
    runs.Run();

    std::printf("JPEG decode %d x %d (%lld KB), %d rounds\n", width, height, bytes / 1024, runs.Count());
    runs.PrintTime("libjpeg into a memory buffer (floor)", "floor", bench::kMilliseconds);
    runs.PrintTime("libjpeg into a new DIB section", "section", bench::kMilliseconds);
    runs.PrintTime("TJPEGImage::LoadFromFile", "ours", bench::kMilliseconds);
    runs.PrintRatio("ratio DIB section / floor", "section", "floor");
    runs.PrintRatio("ratio TJPEGImage / floor", "ours", "floor", 1.2);
}

} // namespace

int main()
{
    try {
#ifdef WITH_SIMD
        const char* simd = "with SIMD";
#else
        const char* simd = "without SIMD";
#endif
        std::printf("libjpeg-turbo %s, %s\n", QUORREL_VALUE_TEXT(LIBJPEG_TURBO_VERSION), simd);
        bench::ScratchFolder scratch("quorrel-bench-jpeg");
        struct Picture {
            int width, height, rounds;
        };
        for (const Picture& picture : {Picture{1920, 1080, 15}, Picture{6000, 4000, 7}}) {
            const std::string path = scratch.Path() + std::to_string(picture.width) + ".jpg";
            WriteJpeg(path, MakePicture(picture.width, picture.height), picture.width, picture.height);
            Compare(path, picture.width, picture.height, bench::RoundsFromEnvironment(picture.rounds));
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "JpegDecode: %s\n", e.what());
        return 1;
    }
}
