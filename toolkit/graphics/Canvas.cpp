#include "toolkit/graphics/Canvas.h"

#include "toolkit/core/Exception.h"
#include "toolkit/graphics/Graphic.h"

TCanvas::TCanvas()
{
    brush_.OnChange = [this](TObject*) { ToolChanged(kBrush); };
    pen_.OnChange = [this](TObject*) { ToolChanged(kPen); };
    font_.OnChange = [this](TObject*) { ToolChanged(kFont); };
}

TCanvas::TCanvas(HDC dc) : TCanvas()
{
    SetHandle(dc);
}

TCanvas::~TCanvas()
{
    DeselectTools();
}

HDC TCanvas::Handle()
{
    RequireState(kHandle);
    return dc_;
}

void TCanvas::SetHandle(HDC dc) noexcept
{
    if (dc == dc_)
        return;
    DeselectTools();
    dc_ = dc;
    state_ = dc ? unsigned(kHandle) : 0u;
}

void TCanvas::ReleaseContext() noexcept
{
    DeselectTools();
    dc_ = nullptr;
    state_ = 0;
}

void TCanvas::DeselectTools() noexcept
{
    ToolChanged(kFont);
    ToolChanged(kPen);
    ToolChanged(kBrush);
}

void TCanvas::ToolChanged(unsigned flag) noexcept
{
    if (!dc_ || !(state_ & flag))
        return;
    // A stock object goes back in, so the tool's own object can be deleted at any time.
    const int stock = flag == kFont ? SYSTEM_FONT : flag == kPen ? BLACK_PEN : WHITE_BRUSH;
    SelectObject(dc_, GetStockObject(stock));
    state_ &= ~flag;
}

void TCanvas::Refresh()
{
    DeselectTools();
}

void TCanvas::RequireState(unsigned required)
{
    unsigned missing = required & ~state_;
    if (!missing)
        return;
    if (missing & kHandle) {
        CreateHandle();
        if (!dc_)
            throw Exception("Canvas does not allow drawing");
    }
    if (missing & kFont) {
        SelectObject(dc_, font_.Handle());
        SetTextColor(dc_, ColorToRGB(font_.Color()));
    }
    if (missing & kPen) {
        SelectObject(dc_, pen_.Handle());
        SetROP2(dc_, pen_.Mode());
    }
    if (missing & kBrush) {
        UnrealizeObject(brush_.Handle());
        SetBkColor(dc_, ColorToRGB(brush_.Color()));
        SetBkMode(dc_, brush_.Style() == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE);
        SelectObject(dc_, brush_.Handle());
    }
    state_ |= required;
}

void TCanvas::Changing()
{
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

TColor TCanvas::Pixel(int x, int y)
{
    RequireState(kHandle);
    return GetPixel(dc_, x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    Drawing(kHandle | kPen, [&](HDC dc) {
        SetPixelV(dc, x, y, ColorToRGB(color));
    });
}

void TCanvas::MoveTo(int x, int y)
{
    RequireState(kHandle);
    MoveToEx(dc_, x, y, nullptr);
    penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y)
{
    Drawing(kHandle | kPen | kBrush, [&](HDC dc) {
        ::LineTo(dc, x, y);
        penPos_ = {x, y};
    });
}

void TCanvas::Polyline(const std::vector<POINT>& points)
{
    if (points.empty())
        return;
    Drawing(kHandle | kPen | kBrush, [&](HDC dc) {
        ::Polyline(dc, points.data(), int(points.size()));
    });
}

void TCanvas::Polygon(const std::vector<POINT>& points)
{
    if (points.empty())
        return;
    Drawing(kHandle | kPen | kBrush, [&](HDC dc) {
        ::Polygon(dc, points.data(), int(points.size()));
    });
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    Drawing(kHandle | kPen | kBrush, [&](HDC dc) {
        ::Rectangle(dc, left, top, right, bottom);
    });
}

void TCanvas::FillRect(const RECT& rect)
{
    Drawing(kHandle | kBrush, [&](HDC dc) {
        if (brush_.Style() != TBrushStyle::bsClear || brush_.Bitmap())
            ::FillRect(dc, &rect, brush_.Handle());
    });
}

void TCanvas::FrameRect(const RECT& rect)
{
    Drawing(kHandle | kBrush, [&](HDC dc) {
        ::FrameRect(dc, &rect, brush_.Handle());
    });
}

void TCanvas::DrawFocusRect(const RECT& rect)
{
    Drawing(kHandle | kBrush, [&](HDC dc) {
        ::DrawFocusRect(dc, &rect);
    });
}

void TCanvas::Draw(int x, int y, TGraphic& graphic)
{
    if (graphic.Empty())
        return;
    StretchDraw(RECT{x, y, x + graphic.Width(), y + graphic.Height()}, graphic);
}

void TCanvas::StretchDraw(const RECT& rect, TGraphic& graphic)
{
    if (graphic.Empty())
        return;
    Drawing(kAll, [&](HDC) {
        graphic.Draw(*this, rect);
    });
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect)
{
    Drawing(kAll, [&](HDC dc) {
        source.RequireState(kAll);
        StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source.dc_,
                   sourceRect.left, sourceRect.top, sourceRect.right - sourceRect.left,
                   sourceRect.bottom - sourceRect.top, copyMode_);
    });
}

void TCanvas::TextOut(int x, int y, std::string_view text)
{
    Drawing(kHandle | kFont | kBrush, [&](HDC dc) {
        ExtTextOutA(dc, x, y, 0, nullptr, text.data(), UINT(text.size()), nullptr);
        MoveTo(x + TextWidth(text), y);
    });
}

void TCanvas::TextRect(const RECT& rect, int x, int y, std::string_view text)
{
    Drawing(kHandle | kFont | kBrush, [&](HDC dc) {
        UINT options = ETO_CLIPPED;
        if (brush_.Style() != TBrushStyle::bsClear)
            options |= ETO_OPAQUE;
        ExtTextOutA(dc, x, y, options, &rect, text.data(), UINT(text.size()), nullptr);
    });
}

int TCanvas::DrawText(std::string_view text, RECT& rect, UINT format)
{
    const bool measuring = format & DT_CALCRECT;
    if (!measuring)
        Changing();
    RequireState(kHandle | kFont | kBrush);
    int height = ::DrawTextA(dc_, text.data(), int(text.size()), &rect, format);
    if (!measuring)
        Changed();
    return height;
}

SIZE TCanvas::TextExtent(std::string_view text)
{
    RequireState(kHandle | kFont);
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc_, text.data(), int(text.size()), &size);
    return size;
}

RECT TCanvas::ClipRect()
{
    RequireState(kHandle);
    RECT rect{};
    GetClipBox(dc_, &rect);
    return rect;
}

void TCanvas::Lock()
{
    mutex_.lock();
    ++lockCount_;
}

void TCanvas::Unlock()
{
    --lockCount_;
    mutex_.unlock();
}
