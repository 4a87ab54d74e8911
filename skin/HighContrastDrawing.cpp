#include "skin/HighContrastDrawing.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/HighContrast.h"
#include "toolkit/core/Scoped.h"

#include <algorithm>

namespace {

void DrawGlyph(TCanvas& canvas, const RECT& r, TWindowGlyph glyph, TColor colour)
{
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const int half = std::max<int>(2, std::min<int>(r.right - r.left, r.bottom - r.top) / 4);
    canvas.Pen().SetColor(colour);
    canvas.Pen().SetWidth(2);
    if (glyph == wgMinimize) {
        canvas.MoveTo(cx - half, cy + half);
        canvas.LineTo(cx + half + 1, cy + half);
    } else {
        canvas.MoveTo(cx - half, cy - half);
        canvas.LineTo(cx + half + 1, cy + half + 1);
        canvas.MoveTo(cx + half, cy - half);
        canvas.LineTo(cx - half - 1, cy + half + 1);
    }
    canvas.Pen().SetWidth(1);
}

} // namespace

void DrawContrastButton(TCanvas& canvas, const RECT& client, const TContrastButton& button)
{
    // Pressed reads as selected; the pointer over it as the theme's hot colour on the frame.
    const TColor face = button.Pressed ? clHighlight : clBtnFace;
    const TColor ink = button.Disabled ? clGrayText : button.Pressed ? clHighlightText : clBtnText;
    const TColor frame = button.Hot && !button.Disabled ? clHighlight : clBtnText;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(face);
    canvas.FillRect(client);
    canvas.Brush().SetColor(frame);
    canvas.FrameRect(client);
    RECT inner = client;
    InflateRect(&inner, -1, -1);
    if (button.Hot && !button.Disabled)
        canvas.FrameRect(inner);
    if (button.Glyph != wgNone) {
        DrawGlyph(canvas, inner, button.Glyph, ink);
    } else if (!button.Caption.empty()) {
        canvas.Font().SetColor(ink);
        canvas.Brush().SetStyle(bsClear);
        RECT text = inner;
        InflateRect(&text, -2, -1);
        // Words that do not fit on one line ("Home page" on a small button) break.
        RECT measured = text;
        const UINT flags = DT_CENTER | DT_WORDBREAK | (button.ShowAccessKey ? 0u : DT_HIDEPREFIX);
        canvas.DrawText(button.Caption, measured, flags | DT_CALCRECT);
        const int height = measured.bottom - measured.top;
        text.top += std::max<int>(0, (text.bottom - text.top - height) / 2);
        canvas.DrawText(button.Caption, text, flags);
        canvas.Brush().SetStyle(bsSolid);
    }
    if (button.Focused) {
        RECT focus = client;
        InflateRect(&focus, -3, -3);
        canvas.Font().SetColor(ink);
        canvas.DrawFocusRect(focus);
    }
}

void DrawContrastSkin(TCanvas& canvas, HWND window, const RECT& client)
{
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(client);
    // The outline the window is cut to, framed two pixels wide in the text colour.
    ScopedRegion outline(CreateRectRgn(0, 0, 0, 0));
    if (!outline || GetWindowRgn(window, outline.get()) == ERROR)
        outline.reset(CreateRectRgnIndirect(&client));
    if (!outline)
        return;
    const ScopedBrush frame(CreateSolidBrush(ColorToRGB(clWindowText)));
    FrameRgn(canvas.Handle(), outline.get(), frame.get(), 2, 2);
}

TColor SkinColour(TColor skinned, TColor system) noexcept
{
    return HighContrastOn() ? system : skinned;
}
