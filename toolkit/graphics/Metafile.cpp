#include "toolkit/graphics/Metafile.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Exception.h"

#include <cstring>

namespace {
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
// The placeable header in front of a Windows metafile: key, handle, bounds, units per inch,
// reserved, checksum.
#pragma pack(push, 2)
struct PlaceableHeader {
    std::uint32_t key;
    std::uint16_t handle;
    std::int16_t left, top, right, bottom;
    std::uint16_t inch;
    std::uint32_t reserved;
    std::uint16_t checksum;
};
#pragma pack(pop)
static_assert(sizeof(PlaceableHeader) == 22);

[[noreturn]] void InvalidMetafile()
{
    throw EInvalidGraphic("Metafile is not valid");
}

int ScreenDpi(int axis)
{
    ScopedWindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), axis);
}

// The frame of an enhanced metafile (0.01 mm) in screen pixels.
SIZE FrameInPixels(HENHMETAFILE metafile)
{
    ENHMETAHEADER header{};
    if (!GetEnhMetaFileHeader(metafile, sizeof header, &header))
        return {0, 0};
    const RECTL& frame = header.rclFrame;
    return {MulDiv(frame.right - frame.left, ScreenDpi(LOGPIXELSX), 2540),
            MulDiv(frame.bottom - frame.top, ScreenDpi(LOGPIXELSY), 2540)};
}
} // namespace

TMetafile::TMetafile()
{
    // Only what the metafile draws covers the destination.
    TGraphic::SetTransparent(true);
}

void TMetafile::Take(HENHMETAFILE metafile, int width, int height)
{
    handle_.reset(metafile);
    width_ = metafile ? width : 0;
    height_ = metafile ? height : 0;
    Changed();
}

void TMetafile::SetHandle(HENHMETAFILE metafile)
{
    if (metafile && metafile == handle_.get())
        return;
    SIZE size = metafile ? FrameInPixels(metafile) : SIZE{0, 0};
    Take(metafile, size.cx, size.cy);
}

void TMetafile::LoadFromStream(TByteSpan data)
{
    std::uint32_t first = 0, signature = 0;
    if (data.size() >= 4)
        std::memcpy(&first, data.data(), 4);
    if (data.size() >= 44)
        std::memcpy(&signature, data.data() + 40, 4);

    if (first == EMR_HEADER && signature == ENHMETA_SIGNATURE) {
        HENHMETAFILE metafile = SetEnhMetaFileBits(UINT(data.size()), data.data());
        if (!metafile)
            InvalidMetafile();
        SetHandle(metafile);
        return;
    }
    if (first == kPlaceableKey) {
        PlaceableHeader header;
        if (data.size() < sizeof header + 18)
            InvalidMetafile();
        std::memcpy(&header, data.data(), sizeof header);
        if (header.inch == 0)
            InvalidMetafile();
        const int width = header.right - header.left, height = header.bottom - header.top;
        METAFILEPICT picture{MM_ANISOTROPIC, MulDiv(width, 2540, header.inch), MulDiv(height, 2540, header.inch),
                             nullptr};
        HENHMETAFILE metafile =
            SetWinMetaFileBits(UINT(data.size() - sizeof header), data.data() + sizeof header, nullptr, &picture);
        if (!metafile)
            InvalidMetafile();
        Take(metafile, MulDiv(width, ScreenDpi(LOGPIXELSX), header.inch),
             MulDiv(height, ScreenDpi(LOGPIXELSY), header.inch));
        return;
    }
    // A plain Windows metafile: METAHEADER type 1 or 2, header size 9 words.
    std::uint16_t head[2] = {};
    if (data.size() >= 18)
        std::memcpy(head, data.data(), sizeof head);
    if ((head[0] != 1 && head[0] != 2) || head[1] != 9)
        InvalidMetafile();
    HENHMETAFILE metafile = SetWinMetaFileBits(UINT(data.size()), data.data(), nullptr, nullptr);
    if (!metafile)
        InvalidMetafile();
    SetHandle(metafile);
}

std::unique_ptr<TGraphic> TMetafile::Clone() const
{
    auto copy = std::make_unique<TMetafile>();
    if (handle_)
        copy->Take(CopyEnhMetaFile(handle_.get(), nullptr), width_, height_);
    return copy;
}

void TMetafile::Draw(TCanvas& canvas, const RECT& rect)
{
    PlayEnhMetaFile(canvas.Handle(), handle_.get(), &rect);
}
