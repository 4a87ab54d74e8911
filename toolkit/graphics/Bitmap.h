#pragma once
// A bitmap in memory: 24 bits per pixel (device independent) or one bit (monochrome), with
// its own canvas. The key colour for transparent drawing is the one set explicitly or, by
// default, the colour of the bottom-left pixel (white for a one-bit bitmap).
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Graphic.h"
#include "toolkit/core/Scoped.h"

#include <memory>

class TBitmapCanvas;

// The image behind a bitmap, one owner: a one-bit bitmap is a device-dependent monochrome one,
// so copies to and from colour follow the platform's text and background colour rules; a
// colour one is a 24-bit top-down DIB. EOSError when the platform cannot make it.
ScopedBitmap CreateBitmapImage(int width, int height, bool monochrome);
// The header of a device-independent bitmap without compression whose first row is the top one.
BITMAPINFOHEADER TopDownDibHeader(int width, int height, WORD bitsPerPixel) noexcept;
// A memory device context of its own with the bitmap selected (none when null). EOSError when
// the platform refuses either.
ScopedMemoryDC MemoryDCWith(HBITMAP bitmap);

// The resource type of a deflated bitmap: a zlib stream of a 24-bit top-down packed DIB (the
// 40-byte header, then the rows from the top, each padded to four bytes). Such a picture takes
// its compressed size in the module instead of its full one.
constexpr char kDeflatedDibType[] = "DIBZ";
// Whether the module has a bitmap resource of the name, deflated or RT_BITMAP.
bool HasBitmapResource(HINSTANCE instance, const std::string& name) noexcept;
// The width and height of such a resource, read from its header alone. EResNotFound when the
// module has none, EInvalidGraphic when its header cannot be read.
SIZE BitmapResourceSize(HINSTANCE instance, const std::string& name);

enum class TTransparentMode { tmAuto, tmFixed };
using enum TTransparentMode;

class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return !handle_; }
    // New dimensions; the image is rebuilt, its top-left part kept, new areas white.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }

    // Switching converts the image through the canvas: to one bit, pixels of the canvas's
    // brush colour become 1 (white), all others 0; to colour, 0 bits take the canvas's font
    // colour and 1 bits its brush colour.
    bool Monochrome() const noexcept { return monochrome_; }
    void SetMonochrome(bool value);

    TCanvas& Canvas();

    // Direct access to the pixels of a colour bitmap: row `row` from the top, three bytes
    // (blue, green, red) per pixel, rows ScanLineStride() bytes apart. Null for a one-bit or
    // empty bitmap. Pending drawing is flushed first.
    std::uint8_t* ScanLine(int row);
    int ScanLineStride() const noexcept { return (width_ * 3 + 3) & ~3; }

    TColor TransparentColor();
    // An explicit key colour; switches the mode to tmFixed.
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const noexcept { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);

    // The bitmap handle, still owned here. The canvas lets go of it first, so the caller may
    // select it into another device context for the moment of use.
    HBITMAP Handle();
    // Takes over a bitmap handle (any format; colour ones are converted to 24 bits). Given
    // the bitmap's own handle, nothing changes.
    void SetHandle(HBITMAP bitmap);

    void Assign(const TBitmap& source);
    void Clear() { SetSize(0, 0); }

    // A .bmp file or a stream holding one (file header first).
    void LoadFromStream(TByteSpan data) override;
    // A bitmap resource of a loaded module: the deflated one of the name when the module has
    // it, else the RT_BITMAP one.
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);
    void LoadFromResourceID(HINSTANCE instance, int id);
    // A deflated bitmap (kDeflatedDibType), inflated straight into the image. EInvalidGraphic
    // for any other header, a stream that is damaged, too short or too long, or bytes after
    // its end; the bitmap is then unchanged.
    void LoadFromDeflatedDib(TByteSpan data);
    // A .bmp file: 24 bits, or 1 bit for a monochrome bitmap.
    TBytes SaveToStream();
    void SaveToFile(const std::string& path);

    std::unique_ptr<TGraphic> Clone() const override;

protected:
    void Draw(TCanvas& canvas, const RECT& rect) override;

private:
    friend class TBitmapCanvas;
    // A packed DIB (header, colour table, bits); bitsOffset 0: bits follow the table.
    void LoadFromDib(TByteSpan dib, std::size_t bitsOffset);
    void Replace(ScopedBitmap bitmap, int width, int height, bool monochrome);
    void CopyInto(HBITMAP target, int width, int height);
    void DrawTransparent(HDC dest, const RECT& rect);
    void CanvasChanged();

    ScopedBitmap handle_;
    int width_ = 0;
    int height_ = 0;
    bool monochrome_ = false;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
    std::unique_ptr<TBitmapCanvas> canvas_;
};
