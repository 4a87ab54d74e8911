#pragma once
// A drawing surface over a device context, with a brush, a pen, a font and a copy mode.
// The tools are selected into the context lazily, just before an operation needs them:
// the brush sets the background colour (and opaque or transparent text background), the
// font sets the text colour. Those two colours are also what the platform uses when a
// one-bit picture is copied onto colour (0 bits: text colour, 1 bits: background colour)
// and when colour is copied onto one bit (the background colour becomes 1).
//
// A canvas either borrows a device context (SetHandle: a paint message's context; never
// released here) or makes its own when first asked (CreateHandle in derived canvases).
#include "toolkit/graphics/Brush.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/core/Object.h"
#include "toolkit/graphics/Pen.h"

#include <windows.h>

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class TGraphic;

class TCanvas : public TObject {
public:
    TCanvas();
    // Borrows a device context; it stays the caller's.
    explicit TCanvas(HDC dc);
    ~TCanvas() override;

    // The device context; a canvas that makes its own creates it here. Selects no tools.
    HDC Handle();
    // Borrows another device context (null detaches); tools are deselected from the old one.
    void SetHandle(HDC dc) noexcept;
    bool HandleAllocated() const noexcept { return dc_ != nullptr; }

    TBrush& Brush() noexcept { return brush_; }
    TPen& Pen() noexcept { return pen_; }
    TFont& Font() noexcept { return font_; }
    // Raster operation for Draw, StretchDraw and CopyRect; SRCCOPY by default.
    DWORD CopyMode() const noexcept { return copyMode_; }
    void SetCopyMode(DWORD mode) noexcept { copyMode_ = mode; }

    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    POINT PenPos() const noexcept { return penPos_; }
    void Polyline(const std::vector<POINT>& points);
    void Polygon(const std::vector<POINT>& points);
    // Pen outline, brush inside; right and bottom exclusive.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const RECT& rect) { Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
    // Paints the rectangle with the brush (nothing for a clear brush).
    void FillRect(const RECT& rect);
    // A one-pixel frame in the brush.
    void FrameRect(const RECT& rect);
    // The platform's dotted focus frame, drawn by XOR: a second call removes it.
    void DrawFocusRect(const RECT& rect);

    // The graphic at its natural size with its top-left corner at (x, y); a transparent graphic
    // leaves its key-coloured pixels out.
    void Draw(int x, int y, TGraphic& graphic);
    // The graphic scaled into the rectangle.
    void StretchDraw(const RECT& rect, TGraphic& graphic);
    // Stretches a rectangle of another canvas onto a rectangle of this one with CopyMode.
    void CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect);

    // Text as it stands (an ampersand is an ampersand), with the brush as background unless
    // the brush is clear.
    void TextOut(int x, int y, std::string_view text);
    // TextOut clipped to the rectangle.
    void TextRect(const RECT& rect, int x, int y, std::string_view text);
    // The platform's formatted text: without DT_NOPREFIX "&" underlines the next character
    // and "&&" shows one "&". Returns the text height; DT_CALCRECT measures into rect.
    int DrawText(std::string_view text, RECT& rect, UINT format);
    SIZE TextExtent(std::string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }

    // The bounds of the current clipping region.
    RECT ClipRect();

    // Serialises drawing from several threads; reentrant on one thread.
    void Lock();
    void Unlock();
    int LockCount() const noexcept { return lockCount_; }

    // Forgets which tools are selected, so they are chosen afresh before the next operation
    // (for code that drew on Handle() directly and changed its selections).
    void Refresh();

    // Before and after each drawing operation (a bitmap reports itself changed here).
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    // Derived canvases make their device context here (SetHandle); the plain canvas has none.
    virtual void CreateHandle() {}
    // Deselects the tools and forgets the context, which the caller then releases.
    void ReleaseContext() noexcept;

    enum : unsigned { kHandle = 1, kFont = 2, kPen = 4, kBrush = 8, kAll = 15 };
    // Makes sure the context exists and the named tools are selected.
    void RequireState(unsigned required);
    void Changing();
    void Changed();

private:
    // One drawing operation: announced before and after, with the named tools selected.
    template <typename Op>
    void Drawing(unsigned required, Op op)
    {
        Changing();
        RequireState(required);
        op(dc_);
        Changed();
    }
    void DeselectTools() noexcept;
    void ToolChanged(unsigned flag) noexcept;

    HDC dc_ = nullptr;
    unsigned state_ = 0;
    TBrush brush_;
    TPen pen_;
    TFont font_;
    DWORD copyMode_ = SRCCOPY;
    POINT penPos_{0, 0};
    std::recursive_mutex mutex_;
    int lockCount_ = 0;
};
