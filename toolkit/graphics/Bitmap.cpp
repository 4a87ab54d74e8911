#include "toolkit/graphics/Bitmap.h"

#include "toolkit/graphics/BitmapCanvas.h"
#include "toolkit/core/Exception.h"
#include "toolkit/core/Format.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

BITMAPINFOHEADER TopDownDibHeader(int width, int height, WORD bitsPerPixel) noexcept
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = bitsPerPixel;
    header.biCompression = BI_RGB;
    return header;
}

ScopedBitmap CreateBitmapImage(int width, int height, bool monochrome)
{
    ScopedBitmap bitmap;
    if (monochrome) {
        bitmap.reset(CreateBitmap(width, height, 1, 1, nullptr));
    } else {
        BITMAPINFO info{};
        info.bmiHeader = TopDownDibHeader(width, height, 24);
        void* bits = nullptr;
        bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    }
    if (!bitmap)
        throw EOSError("Cannot create a bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                       " pixels");
    return bitmap;
}

ScopedMemoryDC MemoryDCWith(HBITMAP bitmap)
{
    ScopedMemoryDC dc(nullptr);
    if (!dc)
        throw EOSError("Cannot create a memory device context");
    if (bitmap && !dc.Select(bitmap))
        throw EOSError("Cannot select a bitmap into a memory device context");
    return dc;
}

namespace {
constexpr char kInvalidBitmap[] = "Bitmap image is not valid";
constexpr long long kMaxPixels = 1LL << 28;

std::uint32_t Read32(const std::uint8_t* p)
{
    std::uint32_t value;
    std::memcpy(&value, p, 4);
    return value;
}

[[noreturn]] void InvalidBitmap()
{
    throw EInvalidGraphic(kInvalidBitmap);
}

// One inflation of a stream held in memory; the inflater's state is released on every path.
class TInflater {
public:
    explicit TInflater(TByteSpan data)
    {
        stream_.next_in = const_cast<Bytef*>(data.data());
        stream_.avail_in = uInt(data.size());
        if (inflateInit(&stream_) != Z_OK)
            throw EOSError("Cannot start inflating a picture");
    }
    ~TInflater() { inflateEnd(&stream_); }
    TInflater(const TInflater&) = delete;
    TInflater& operator=(const TInflater&) = delete;

    // Fills `size` bytes; false when the stream is damaged or ends before.
    bool Fill(void* out, std::size_t size)
    {
        stream_.next_out = static_cast<Bytef*>(out);
        stream_.avail_out = uInt(size);
        while (stream_.avail_out > 0 && !ended_) {
            const int status = inflate(&stream_, Z_NO_FLUSH);
            if (status == Z_STREAM_END)
                ended_ = true;
            else if (status != Z_OK) // Z_BUF_ERROR: the input ran out
                return false;
        }
        return stream_.avail_out == 0;
    }

    // Whether the stream ends right here (its check sum read and right) with nothing after it.
    bool AtEnd()
    {
        Bytef spare = 0;
        while (!ended_) {
            stream_.next_out = &spare;
            stream_.avail_out = 1;
            const int status = inflate(&stream_, Z_NO_FLUSH);
            if (status != Z_STREAM_END || stream_.avail_out == 0)
                return false;
            ended_ = true;
        }
        return stream_.avail_in == 0;
    }

private:
    z_stream stream_{};
    bool ended_ = false;
};

// The header of a deflated bitmap; EInvalidGraphic unless it is one the format allows.
BITMAPINFOHEADER DeflatedHeader(TInflater& stream)
{
    BITMAPINFOHEADER header{};
    if (!stream.Fill(&header, sizeof header))
        InvalidBitmap();
    const long long width = header.biWidth;
    const long long height = -static_cast<long long>(header.biHeight);
    if (header.biSize != sizeof header || header.biPlanes != 1 || header.biBitCount != 24 ||
        header.biCompression != BI_RGB || header.biClrUsed != 0 || width <= 0 || height <= 0 ||
        width * height > kMaxPixels)
        InvalidBitmap();
    return header;
}
} // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height)
{
    SetSize(width, height);
}

TBitmap::~TBitmap()
{
    // The canvas goes first: its context still holds the bitmap.
    canvas_.reset();
}

TCanvas& TBitmap::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TBitmapCanvas>(*this);
    return *canvas_;
}

void TBitmap::CanvasChanged()
{
    Changed();
}

std::uint8_t* TBitmap::ScanLine(int row)
{
    if (Empty() || monochrome_ || row < 0 || row >= height_)
        return nullptr;
    GdiFlush();
    DIBSECTION section{};
    if (GetObjectA(handle_.get(), sizeof section, &section) != sizeof section)
        return nullptr;
    return static_cast<std::uint8_t*>(section.dsBm.bmBits) + std::size_t(row) * ScanLineStride();
}

HBITMAP TBitmap::Handle()
{
    if (canvas_)
        canvas_->FreeContext();
    return handle_.get();
}

void TBitmap::Replace(ScopedBitmap bitmap, int width, int height, bool monochrome)
{
    if (canvas_)
        canvas_->FreeContext();
    handle_ = std::move(bitmap);
    width_ = handle_ ? width : 0;
    height_ = handle_ ? height : 0;
    monochrome_ = monochrome;
    Changed();
}

void TBitmap::CopyInto(HBITMAP target, int width, int height)
{
    const ScopedMemoryDC dc = MemoryDCWith(target);
    PatBlt(dc.get(), 0, 0, width, height, WHITENESS);
    if (Empty())
        return;
    // Both contexts take the canvas's colours, so whichever side is one-bit converts by them.
    HDC source = static_cast<TBitmapCanvas&>(Canvas()).PreparedHandle();
    SetBkColor(dc.get(), GetBkColor(source));
    SetTextColor(dc.get(), GetTextColor(source));
    BitBlt(dc.get(), 0, 0, std::min(width, width_), std::min(height, height_), source, 0, 0, SRCCOPY);
}

void TBitmap::SetSize(int width, int height)
{
    if (width == width_ && height == height_)
        return;
    if (width <= 0 || height <= 0) {
        Replace(ScopedBitmap(), 0, 0, monochrome_);
        return;
    }
    ScopedBitmap image = CreateBitmapImage(width, height, monochrome_);
    CopyInto(image.get(), width, height);
    Replace(std::move(image), width, height, monochrome_);
}

void TBitmap::SetMonochrome(bool value)
{
    if (value == monochrome_)
        return;
    if (Empty()) {
        monochrome_ = value;
        Changed();
        return;
    }
    ScopedBitmap image = CreateBitmapImage(width_, height_, value);
    CopyInto(image.get(), width_, height_);
    Replace(std::move(image), width_, height_, value);
}

TColor TBitmap::TransparentColor()
{
    if (transparentMode_ == TTransparentMode::tmFixed)
        return transparentColor_;
    if (Empty() || monochrome_)
        return clWhite;
    return Canvas().Pixel(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color)
{
    if (color == transparentColor_ && transparentMode_ == TTransparentMode::tmFixed)
        return;
    transparentColor_ = color;
    transparentMode_ = color == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode)
{
    if (mode == transparentMode_)
        return;
    // Fixing the mode freezes the colour seen so far.
    transparentColor_ = mode == TTransparentMode::tmFixed ? TransparentColor() : clDefault;
    transparentMode_ = mode;
    Changed();
}

void TBitmap::SetHandle(HBITMAP bitmap)
{
    // Its own handle is in the right format already; taking it over as a stranger's would
    // delete it twice.
    if (bitmap && bitmap == handle_.get())
        return;
    ScopedBitmap taken(bitmap);
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) {
        Replace(ScopedBitmap(), 0, 0, monochrome_);
        return;
    }
    const bool monochrome = info.bmBitsPixel == 1 && info.bmPlanes == 1;
    ScopedBitmap image = CreateBitmapImage(info.bmWidth, info.bmHeight, monochrome);
    {
        const ScopedMemoryDC from = MemoryDCWith(bitmap);
        const ScopedMemoryDC to = MemoryDCWith(image.get());
        BitBlt(to.get(), 0, 0, info.bmWidth, info.bmHeight, from.get(), 0, 0, SRCCOPY);
    }
    Replace(std::move(image), info.bmWidth, info.bmHeight, monochrome);
}

void TBitmap::Assign(const TBitmap& source)
{
    if (&source == this)
        return;
    ScopedBitmap image;
    if (!source.Empty()) {
        image = CreateBitmapImage(source.width_, source.height_, source.monochrome_);
        const ScopedMemoryDC to = MemoryDCWith(image.get());
        // Same format on both sides: a plain copy, no colour rules involved.
        HDC from = const_cast<TBitmap&>(source).Canvas().Handle();
        BitBlt(to.get(), 0, 0, source.width_, source.height_, from, 0, 0, SRCCOPY);
    }
    transparentColor_ = source.transparentColor_;
    transparentMode_ = source.transparentMode_;
    TGraphic::SetTransparent(source.Transparent());
    Replace(std::move(image), source.width_, source.height_, source.monochrome_);
}

std::unique_ptr<TGraphic> TBitmap::Clone() const
{
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(*this);
    return copy;
}

void TBitmap::Draw(TCanvas& canvas, const RECT& rect)
{
    if (Empty())
        return;
    HDC dest = canvas.Handle();
    if (Transparent()) {
        DrawTransparent(dest, rect);
        return;
    }
    HDC source = Canvas().Handle();
    const int oldMode = SetStretchBltMode(dest, COLORONCOLOR);
    StretchBlt(dest, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0, width_,
               height_, canvas.CopyMode());
    SetStretchBltMode(dest, oldMode);
}

void TBitmap::DrawTransparent(HDC dest, const RECT& rect)
{
    const COLORREF key = ColorToRGB(TransparentColor());
    HDC source = Canvas().Handle();

    // Mask: 1 where the picture has the key colour.
    ScopedBitmap mask = CreateBitmapImage(width_, height_, true);
    const ScopedMemoryDC maskDC = MemoryDCWith(mask.get());
    if (!monochrome_) {
        const COLORREF oldBk = SetBkColor(source, key);
        BitBlt(maskDC.get(), 0, 0, width_, height_, source, 0, 0, SRCCOPY);
        SetBkColor(source, oldBk);
    } else if (key == 0xFFFFFF || key == 0) {
        BitBlt(maskDC.get(), 0, 0, width_, height_, source, 0, 0, key ? SRCCOPY : NOTSRCCOPY);
    } else {
        PatBlt(maskDC.get(), 0, 0, width_, height_, BLACKNESS); // a one-bit picture has no such colour
    }

    // dest ^ src, then opaque places cleared, then ^ src again: key places get back the
    // destination, opaque places end up as the source.
    const ScopedSavedDC saved(dest);
    SetStretchBltMode(dest, COLORONCOLOR);
    const int x = rect.left, y = rect.top, w = rect.right - rect.left, h = rect.bottom - rect.top;
    StretchBlt(dest, x, y, w, h, source, 0, 0, width_, height_, SRCINVERT);
    // The mask goes in black and white; a one-bit picture around it takes the caller's colours.
    const COLORREF oldText = SetTextColor(dest, RGB(0, 0, 0));
    const COLORREF oldBk = SetBkColor(dest, RGB(255, 255, 255));
    StretchBlt(dest, x, y, w, h, maskDC.get(), 0, 0, width_, height_, SRCAND);
    SetTextColor(dest, oldText);
    SetBkColor(dest, oldBk);
    StretchBlt(dest, x, y, w, h, source, 0, 0, width_, height_, SRCINVERT);
}

void TBitmap::LoadFromStream(TByteSpan data)
{
    // BITMAPFILEHEADER: "BM", file size, two reserved words, offset of the pixel bits.
    if (data.size() < 14 + 12 || data[0] != 'B' || data[1] != 'M')
        InvalidBitmap();
    const std::uint32_t bitsOffset = Read32(data.data() + 10);
    TByteSpan dib = data.subspan(14);
    LoadFromDib(dib, bitsOffset >= 14 + 12 && bitsOffset < data.size() ? bitsOffset - 14 : 0);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name)
{
    if (FindResourceA(instance, name.c_str(), kDeflatedDibType))
        LoadFromDeflatedDib(ResourceBytes(instance, name.c_str(), kDeflatedDibType));
    else
        LoadFromDib(ResourceBytes(instance, name.c_str(), RT_BITMAP), 0);
}

void TBitmap::LoadFromDeflatedDib(TByteSpan data)
{
    TInflater stream(data);
    const BITMAPINFOHEADER header = DeflatedHeader(stream);
    const int width = header.biWidth, height = -header.biHeight;
    // Inflated into an image of its own, which replaces this one only when it is whole. The rows
    // arrive in the image's own layout: 24 bits, top-down, four-byte rows.
    TBitmap decoded;
    decoded.Replace(CreateBitmapImage(width, height, false), width, height, false);
    std::uint8_t* rows = decoded.ScanLine(0);
    if (!rows)
        throw EOSError("Cannot reach the bits of a bitmap");
    if (!stream.Fill(rows, std::size_t(decoded.ScanLineStride()) * std::size_t(height)) || !stream.AtEnd())
        InvalidBitmap();
    Replace(std::move(decoded.handle_), width, height, false);
}

bool HasBitmapResource(HINSTANCE instance, const std::string& name) noexcept
{
    return FindResourceA(instance, name.c_str(), kDeflatedDibType) || FindResourceA(instance, name.c_str(), RT_BITMAP);
}

SIZE BitmapResourceSize(HINSTANCE instance, const std::string& name)
{
    BITMAPINFOHEADER header{};
    if (FindResourceA(instance, name.c_str(), kDeflatedDibType)) {
        TInflater stream(ResourceBytes(instance, name.c_str(), kDeflatedDibType));
        header = DeflatedHeader(stream);
    } else {
        const TByteSpan bytes = ResourceBytes(instance, name.c_str(), RT_BITMAP);
        if (bytes.size() < sizeof header)
            InvalidBitmap();
        std::memcpy(&header, bytes.data(), sizeof header);
    }
    return {header.biWidth, header.biHeight < 0 ? -header.biHeight : header.biHeight};
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id)
{
    LoadFromDib(ResourceBytes(instance, MAKEINTRESOURCEA(id), RT_BITMAP), 0);
}

void TBitmap::LoadFromDib(TByteSpan dib, std::size_t bitsOffset)
{
    if (dib.size() < 12)
        InvalidBitmap();
    const std::uint32_t headerSize = Read32(dib.data());
    const bool core = headerSize == sizeof(BITMAPCOREHEADER);
    if (!core && (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > dib.size()))
        InvalidBitmap();

    // Everything is brought to one layout: BITMAPINFOHEADER, masks, RGBQUAD colour table.
    BITMAPINFOHEADER header{};
    if (core) {
        BITMAPCOREHEADER old;
        std::memcpy(&old, dib.data(), sizeof old);
        header.biWidth = old.bcWidth;
        header.biHeight = old.bcHeight;
        header.biPlanes = old.bcPlanes;
        header.biBitCount = old.bcBitCount;
        header.biCompression = BI_RGB;
    } else {
        std::memcpy(&header, dib.data(), sizeof header);
    }
    header.biSize = sizeof header;
    const int bpp = header.biBitCount;
    const DWORD compression = header.biCompression;
    const long long width = header.biWidth;
    const long long height = header.biHeight < 0 ? -(long long)header.biHeight : header.biHeight;
    const bool knownDepth = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    const bool knownCompression = compression == BI_RGB || (compression == BI_RLE8 && bpp == 8) ||
                                  (compression == BI_RLE4 && bpp == 4) ||
                                  (compression == BI_BITFIELDS && (bpp == 16 || bpp == 32));
    if (header.biPlanes != 1 || !knownDepth || !knownCompression || width <= 0 || height <= 0 ||
        width * height > kMaxPixels || (compression != BI_RGB && compression != BI_BITFIELDS && header.biHeight < 0))
        InvalidBitmap();

    const std::size_t maskBytes = compression == BI_BITFIELDS ? 12 : 0;
    std::size_t colors = bpp <= 8 ? (std::size_t(1) << bpp) : 0;
    if (!core && header.biClrUsed != 0 && bpp <= 8)
        colors = std::min<std::size_t>(header.biClrUsed, colors);
    const std::size_t entrySize = core ? 3 : 4;
    // With a bigger header the masks are its own fields, right after the first 40 bytes.
    const std::size_t masksAt = sizeof header;
    const std::size_t tableAt = headerSize + (headerSize == sizeof header ? maskBytes : 0);
    const std::size_t tableEnd = tableAt + colors * entrySize;
    if (tableEnd > dib.size() || masksAt + maskBytes > dib.size())
        InvalidBitmap();
    header.biClrUsed = DWORD(colors);

    std::vector<std::uint8_t> info(sizeof header + maskBytes + colors * 4);
    std::memcpy(info.data(), &header, sizeof header);
    std::memcpy(info.data() + sizeof header, dib.data() + masksAt, maskBytes);
    for (std::size_t i = 0; i < colors; ++i) {
        const std::uint8_t* entry = dib.data() + tableAt + i * entrySize;
        std::memcpy(info.data() + sizeof header + maskBytes + i * 4, entry, 3);
    }

    const std::size_t bitsAt = bitsOffset ? bitsOffset : tableEnd;
    const std::size_t stride = std::size_t((width * bpp + 31) / 32 * 4);
    std::size_t needed = stride * std::size_t(height);
    if (compression == BI_RLE8 || compression == BI_RLE4)
        needed = header.biSizeImage;
    if (bitsAt < tableAt || bitsAt > dib.size() || needed > dib.size() - bitsAt)
        InvalidBitmap();

    ScopedBitmap image = CreateBitmapImage(int(width), int(height), bpp == 1);
    ScopedDC dc(CreateCompatibleDC(nullptr));
    if (!SetDIBits(dc.get(), image.get(), 0, UINT(height), dib.data() + bitsAt,
                   reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS))
        InvalidBitmap();
    Replace(std::move(image), int(width), int(height), bpp == 1);
}

TBytes TBitmap::SaveToStream()
{
    if (Empty())
        return {};
    const int bpp = monochrome_ ? 1 : 24;
    const std::size_t colors = monochrome_ ? 2 : 0;
    const std::size_t stride = std::size_t((width_ * bpp + 31) / 32 * 4);
    const std::size_t infoSize = sizeof(BITMAPINFOHEADER) + colors * 4;
    const std::size_t bitsAt = sizeof(BITMAPFILEHEADER) + infoSize;
    TBytes bytes(bitsAt + stride * height_);

    auto* info = reinterpret_cast<BITMAPINFO*>(bytes.data() + sizeof(BITMAPFILEHEADER));
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width_;
    info->bmiHeader.biHeight = height_; // bottom-up, as files usually are
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = WORD(bpp);
    info->bmiHeader.biCompression = BI_RGB;
    info->bmiHeader.biClrUsed = DWORD(colors);
    ScopedDC dc(CreateCompatibleDC(nullptr));
    // The bitmap may not be selected anywhere while its bits are read.
    if (!GetDIBits(dc.get(), Handle(), 0, UINT(height_), bytes.data() + bitsAt, info, DIB_RGB_COLORS))
        throw EOSError("Cannot read the bits of a bitmap");
    info->bmiHeader.biClrUsed = DWORD(colors);
    info->bmiHeader.biSizeImage = DWORD(stride * height_);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfSize = DWORD(bytes.size());
    file.bfOffBits = DWORD(bitsAt);
    std::memcpy(bytes.data(), &file, sizeof file);
    return bytes;
}

void TBitmap::SaveToFile(const std::string& path)
{
    TBytes bytes = SaveToStream();
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        throw EWriteError(FormatText("Cannot create file \"%s\"", path));
}
