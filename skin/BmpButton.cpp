#include "skin/BmpButton.h"

#include "skin/ButtonAccessible.h"
#include "skin/TransparentDrawing.h"
#include "toolkit/controls/Form.h"
#include "toolkit/graphics/HighContrast.h"

#include <utility>

namespace {
std::unique_ptr<TBitmap> gDownPattern;
int gInstanceCount = 0;
unsigned gBackgroundPause = 10;

TBitmap& DownPattern()
{
    if (!gDownPattern) {
        auto pattern = std::make_unique<TBitmap>(8, 8);
        TCanvas& c = pattern->Canvas();
        c.Brush().SetColor(clBtnFace);
        c.FillRect(RECT{0, 0, 8, 8});
        for (int y = 0; y < 8; ++y)
            for (int x = y % 2; x < 8; x += 2)
                c.SetPixel(x, y, clWhite);
        gDownPattern = std::move(pattern);
    }
    return *gDownPattern;
}
} // namespace

TBmpButton::TBmpButton()
{
    SetBounds(0, 0, 80, 30);
    SetTabStop(true);
    SetParentFont(true);
    SetControlStyle(csCaptureMouse | csOpaque | csDoubleClicks);
    bitmaps_.OnChange = [this](TObject*) { BitmapsChanged(); };
    ++gInstanceCount;
}

TBmpButton::~TBmpButton()
{
    bitmaps_.OnChange = nullptr;
    DestroyHandle();
    if (--gInstanceCount == 0)
        gDownPattern.reset();
}

TBitmap* TBmpButton::DownPatternBitmap() noexcept
{
    return gDownPattern.get();
}

int TBmpButton::ButtonInstanceCount() noexcept
{
    return gInstanceCount;
}

void TBmpButton::SetBackgroundPause(unsigned milliseconds) noexcept
{
    gBackgroundPause = milliseconds;
}

// Properties ---------------------------------------------------------------------------------

void TBmpButton::SetGroupIndex(int value)
{
    if (value == groupIndex_)
        return;
    groupIndex_ = value;
    // Only a group member can stay down; the latched picture goes with the latch.
    const bool released = value == 0 && std::exchange(down_, false);
    NotifyGroup();
    if (released)
        Invalidate();
}

void TBmpButton::SetAllowAllUp(bool value)
{
    if (value == allowAllUp_)
        return;
    allowAllUp_ = value;
    NotifyGroup();
}

void TBmpButton::SetDown(bool value)
{
    if (groupIndex_ == 0)
        value = false;
    if (value == down_ || (down_ && !allowAllUp_))
        return;
    down_ = value;
    state_ = value ? bstStayDown : bstUp;
    Invalidate();
    if (value)
        NotifyGroup();
}

void TBmpButton::SetCaptionDownOffset(int value)
{
    if (value == captionDownOffset_)
        return;
    captionDownOffset_ = value;
    Invalidate();
}

void TBmpButton::SetLayout(TButtonLayout value)
{
    if (value == layout_)
        return;
    layout_ = value;
    Invalidate();
}

void TBmpButton::SetSpacing(int value)
{
    if (value == spacing_)
        return;
    spacing_ = value;
    Invalidate();
}

void TBmpButton::SetMargin(int value)
{
    if (value == margin_ || value < -1)
        return;
    margin_ = value;
    Invalidate();
}

void TBmpButton::SetButtonStyle(TButtonStyle value)
{
    if (value == buttonStyle_)
        return;
    buttonStyle_ = value;
    FitToBitmap();
    Invalidate();
}

void TBmpButton::SetButtonBorder(TButtonBorder value)
{
    if (value == buttonBorder_)
        return;
    buttonBorder_ = value;
    FitToBitmap();
    Invalidate();
}

void TBmpButton::SetButtonSize(TBtnSize value)
{
    if (value == buttonSize_)
        return;
    buttonSize_ = value;
    FitToBitmap();
    Invalidate();
}

void TBmpButton::SetShowFocus(bool value)
{
    if (value == showFocus_)
        return;
    showFocus_ = value;
    Invalidate();
}

void TBmpButton::SetCaptionInPicture(bool value)
{
    if (value == captionInPicture_)
        return;
    captionInPicture_ = value;
    Invalidate();
}

void TBmpButton::SetWindowGlyph(TWindowGlyph value)
{
    if (value == windowGlyph_)
        return;
    windowGlyph_ = value;
    Invalidate();
}

void TBmpButton::SetShowDownPattern(bool value)
{
    if (value == showDownPattern_)
        return;
    showDownPattern_ = value;
    Invalidate();
}

// Size ----------------------------------------------------------------------------------------

bool TBmpButton::NewLook() const noexcept
{
    return buttonStyle_ == bsNew || (buttonStyle_ == bsAutoDetect && LOBYTE(LOWORD(GetVersion())) >= 4);
}

void TBmpButton::FitToBitmap()
{
    if (Loading() || buttonSize_ == bszNeither || bitmaps_.Up().Empty())
        return;
    if (buttonSize_ == bszButtonToBitmap) {
        const int border = buttonBorder_ == bbNone ? 0 : buttonBorder_ == bbSingle ? 1 : NewLook() ? 2 : 3;
        SetWidth(bitmaps_.Up().Width() + 2 * border);
        SetHeight(bitmaps_.Up().Height() + 2 * border);
    }
    Invalidate();
}

void TBmpButton::BitmapsChanged()
{
    accessKeyLine_.reset();
    if (buttonSize_ == bszButtonToBitmap)
        FitToBitmap();
    Invalidate();
}

void TBmpButton::CaptionChanged()
{
    accessKeyLine_.reset();
    TCustomControl::CaptionChanged();
}

void TBmpButton::FontChanged()
{
    accessKeyLine_.reset();
    TCustomControl::FontChanged();
}

void TBmpButton::Loaded()
{
    TCustomControl::Loaded();
    FitToBitmap();
}

void TBmpButton::Resized()
{
    // The window may have been sized behind our back (SetWindowPos): take its real bounds, so
    // that fitting sees the difference. The framework's own size handling is not wanted here.
    if (HWND window = AllocatedHandle()) {
        RECT r;
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
        SyncBounds(r);
    }
    FitToBitmap();
}

void TBmpButton::BoundsChanged(const RECT& old)
{
    TCustomControl::BoundsChanged(old);
    // With a window the size message does this.
    if (!HandleAllocated())
        FitToBitmap();
}

// Groups and clicks ---------------------------------------------------------------------------

void TBmpButton::NotifyGroup()
{
    TWinControl* parent = Parent();
    if (groupIndex_ == 0 || !parent) {
        state_ = RestingState();
        return;
    }
    for (std::size_t i = 0; i < parent->ControlCount(); ++i)
        parent->Controls(i).Perform(GroupPressedMsg, WPARAM(groupIndex_), reinterpret_cast<LPARAM>(this));
}

void TBmpButton::GroupPressed(WPARAM group, LPARAM sender)
{
    if (int(group) != groupIndex_ || groupIndex_ == 0 || sender == reinterpret_cast<LPARAM>(this) || !Parent())
        return;
    // Only a button among our own siblings is taken at its word.
    TBmpButton* from = nullptr;
    for (std::size_t i = 0; i < Parent()->ControlCount() && !from; ++i)
        if (reinterpret_cast<LPARAM>(&Parent()->Controls(i)) == sender)
            from = dynamic_cast<TBmpButton*>(&Parent()->Controls(i));
    if (!from)
        return;
    if (from->down_ && down_) {
        down_ = false;
        state_ = bstUp;
        Invalidate();
    }
    allowAllUp_ = from->allowAllUp_;
}

void TBmpButton::FinishPress(bool click)
{
    if (groupIndex_ == 0) {
        Repaint();
    } else if (click) {
        SetDown(!down_);
        Update();
    } else {
        state_ = RestingState();
        Repaint();
    }
    if (click)
        Click();
}

void TBmpButton::Click()
{
    if (TForm* form = GetParentForm(*this))
        form->SetModalResult(modalResult_);
    TCustomControl::Click();
}

bool TBmpButton::DialogChar(char ch)
{
    if (Enabled() && IsAccelerator(ch, Caption())) {
        Click();
        return true;
    }
    return TCustomControl::DialogChar(ch);
}

LRESULT TBmpButton::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The group hears of a press also before the windows exist.
    if (msg == GroupPressedMsg) {
        GroupPressed(wParam, lParam);
        return 0;
    }
    return TCustomControl::Perform(msg, wParam, lParam);
}

LRESULT TBmpButton::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT result = 0; AccessibilityMessage(msg, wParam, lParam, result))
        return result;
    switch (msg) {
    case GroupPressedMsg:
        GroupPressed(wParam, lParam);
        return 0;
    case WM_LBUTTONDBLCLK: {
        // The second press of a double click is a press like the first: two clicks.
        const LRESULT result = TCustomControl::WndProc(WM_LBUTTONDOWN, wParam, lParam);
        if (down_)
            DblClick();
        return result;
    }
    default:
        return TCustomControl::WndProc(msg, wParam, lParam);
    }
}

bool TBmpButton::AccessibilityMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_GETOBJECT:
        result = ButtonAccessibleObject(Handle(), wParam, lParam);
        return result != 0;
    case DefaultActionMsg:
        // Asked for through the accessibility interface: a press like the user's, unless the
        // window has become unavailable meanwhile (a modal window opened over it).
        if (Enabled() && IsWindowEnabled(GetAncestor(Handle(), GA_ROOT)))
            FinishPress(true);
        result = 0;
        return true;
    case WM_GETDLGCODE: {
        // A push button: Enter presses it rather than the form's default.
        const TForm* form = GetParentForm(*this);
        result = DLGC_BUTTON | (form && form->DefaultControl() == this ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        return true;
    }
    default:
        return false;
    }
}

// Input ----------------------------------------------------------------------------------------

bool TBmpButton::Inside(int x, int y) const noexcept
{
    return x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight();
}

void TBmpButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (!Enabled())
        return;
    if (!hasFocus_)
        SetFocus();
    if (button != mbLeft || !Focused())
        return;
    if (!down_) {
        state_ = bstDown;
        Repaint();
    }
    tracking_ = true;
}

void TBmpButton::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (!tracking_)
        return;
    const ButtonState target = down_ ? bstStayDown : Inside(x, y) ? bstDown : bstUp;
    if (target != state_) {
        state_ = target;
        Repaint();
    }
}

void TBmpButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    if (!tracking_)
        return;
    tracking_ = false;
    const bool inside = Inside(x, y);
    NotifyGroup();
    FinishPress(inside);
}

void TBmpButton::KeyDown(WORD& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if (key == VK_RETURN) {
        Click();
    } else if (key == VK_SPACE && Enabled()) {
        if (!down_) {
            state_ = bstDown;
            Repaint();
        }
        tracking_ = true;
    }
}

void TBmpButton::KeyUp(WORD& key, TShiftState shift)
{
    TCustomControl::KeyUp(key, shift);
    if (!tracking_)
        return;
    tracking_ = false;
    state_ = RestingState();
    FinishPress(true);
}

void TBmpButton::FocusGained()
{
    TCustomControl::FocusGained();
    hasFocus_ = true;
    Invalidate();
}

void TBmpButton::FocusLost()
{
    TCustomControl::FocusLost();
    hasFocus_ = false;
    Invalidate();
}

void TBmpButton::MouseEnter()
{
    DoMouseEnter();
    if (!bitmaps_.Hot().Empty())
        Invalidate();
}

void TBmpButton::MouseLeave()
{
    DoMouseLeave();
    if (!bitmaps_.Hot().Empty())
        Invalidate();
}

void TBmpButton::DoMouseEnter()
{
    mouseInside_ = true;
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TBmpButton::DoMouseLeave()
{
    mouseInside_ = false;
    if (OnMouseLeave)
        OnMouseLeave(this);
}

// Painting -------------------------------------------------------------------------------------

void TBmpButton::ComputeLayout(RECT& text, RECT& content, TBitmap* picture)
{
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(Font());
    const TLayoutSize cs{int(content.right - content.left), int(content.bottom - content.top)};
    TLayoutSize gs;
    if (picture && !picture->Empty() && buttonSize_ == bszNeither)
        gs = {picture->Width(), picture->Height()};
    text = RECT{0, 0, 0, 0};
    if (!Caption().empty()) {
        // Lines break only where the caption has line breaks.
        text.right = cs.X;
        canvas.DrawText(Caption(), text, DT_CALCRECT);
    }
    const TLayoutSize ts{int(text.right - text.left), int(text.bottom - text.top)};
    const TLayoutPlaces p = PlaceGlyphAndText(cs, gs, ts, layout_, spacing_, margin_);
    OffsetRect(&text, p.Text.X + content.left, p.Text.Y + content.top);
    if (gs.X != 0 && gs.Y != 0) {
        const int left = content.left + p.Glyph.X, top = content.top + p.Glyph.Y;
        content = RECT{left, top, left + gs.X, top + gs.Y};
    }
}

TBitmap* TBmpButton::ChoosePicture(std::unique_ptr<TBitmap>& generated)
{
    TButtonBitmaps& b = bitmaps_;
    if (b.Up().Empty() && !(state_ == bstDisabled && !b.Disabled().Empty()))
        return nullptr;
    switch (state_) {
    case bstUp:
        if (mouseInside_ && !b.Hot().Empty())
            return &b.Hot();
        if (hasFocus_ && showFocus_ && !b.UpAndFocused().Empty())
            return &b.UpAndFocused();
        return &b.Up();
    case bstDisabled:
        if (!b.Disabled().Empty())
            return &b.Disabled();
        generated = DisabledImage(b.Up());
        return generated.get();
    case bstDown:
        return b.Down().Empty() ? &b.Up() : &b.Down();
    case bstStayDown:
        if (!b.StayDown().Empty())
            return &b.StayDown();
        return b.Down().Empty() ? &b.Up() : &b.Down();
    }
    return nullptr;
}

void TBmpButton::Paint()
{
    const int width = ClientWidth(), height = ClientHeight();
    if (width <= 0 || height <= 0)
        return;
    TBitmap frame(width, height);
    TCanvas& fc = frame.Canvas();

    if (!Enabled()) {
        state_ = bstDisabled;
        tracking_ = false;
    } else if (state_ == bstDisabled) {
        state_ = RestingState();
    }
    if (HighContrastOn()) {
        PaintInContrast(fc);
        Canvas().Draw(0, 0, frame);
        return;
    }
    const bool newLook = NewLook();
    const int bevel = newLook ? 1 : 2;
    const bool sunken = state_ == bstDown || state_ == bstStayDown;

    RECT r = ClientRect();
    fc.Brush().SetColor(Color());
    switch (buttonBorder_) {
    case bbNone:
        CopyParentBackground(*this, fc, false);
        if (gBackgroundPause)
            Sleep(gBackgroundPause);
        break;
    case bbSingle:
        fc.FillRect(r);
        fc.Brush().SetColor(clBlack);
        fc.FrameRect(r);
        fc.Brush().SetColor(Color());
        InflateRect(&r, -1, -1);
        break;
    case bbButton:
        r = DrawButtonFace(fc, ClientRect(), bevel, newLook, !newLook, sunken, hasFocus_ && showFocus_);
        InflateRect(&r, -1, -1);
        fc.Brush().SetColor(Color());
        fc.Brush().SetStyle(bsSolid);
        break;
    }

    if (state_ == bstStayDown) {
        if (showDownPattern_)
            fc.Brush().SetBitmap(&DownPattern());
        if (buttonBorder_ != bbNone) {
            RECT p = r;
            p.right -= newLook ? 2 : 1;
            p.bottom -= newLook ? 2 : 1;
            InflateRect(&p, bevel, bevel);
            fc.FillRect(p);
        }
        fc.Brush().SetBitmap(nullptr);
    }

    std::unique_ptr<TBitmap> generated;
    TBitmap* picture = ChoosePicture(generated);
    RECT textRect;
    ComputeLayout(textRect, r, picture);
    if (picture) {
        const TColor key = bitmaps_.TransparentColor();
        const RECT source{0, 0, picture->Width(), picture->Height()};
        switch (buttonSize_) {
        case bszNeither:
            DrawTransparentRect(fc, *picture, r, source, key);
            break;
        case bszButtonToBitmap:
            BlitTransparent(fc, *picture, r, source, key);
            break;
        case bszStretchToButton:
            DrawTransparentStretched(fc, *picture, r, key);
            break;
        case bszTileToButton:
            DrawTransparentTiled(fc, *picture, r, key);
            break;
        }
    }
    fc.Font().Assign(Font());
    if (captionInPicture_)
        DrawPictureCues(fc, picture);
    generated.reset();

    if (!Caption().empty() && !captionInPicture_) {
        constexpr UINT kOneLineCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        fc.Brush().SetStyle(bsClear);
        if (state_ == bstDisabled) {
            OffsetRect(&textRect, 1, 1);
            fc.Font().SetColor(clWhite);
            fc.DrawText(Caption(), textRect, kOneLineCentred);
            OffsetRect(&textRect, -1, -1);
            fc.Font().SetColor(clGray);
            fc.DrawText(Caption(), textRect, kOneLineCentred);
        } else {
            if (sunken)
                OffsetRect(&textRect, captionDownOffset_, captionDownOffset_);
            fc.DrawText(Caption(), textRect, kOneLineCentred);
        }
        if (ShowsFocus()) {
            InflateRect(&textRect, 2, 2);
            fc.DrawFocusRect(textRect);
        }
    }
    Canvas().Draw(0, 0, frame);
}

bool TBmpButton::ShowsFocus() const noexcept
{
    const TForm* form = GetParentForm(*this);
    return hasFocus_ && showFocus_ && (!form || form->FocusCuesShown());
}

bool TBmpButton::ShowsAccessKey() const noexcept
{
    const TForm* form = GetParentForm(*this);
    return !form || form->AcceleratorCuesShown();
}

void TBmpButton::DrawPictureCues(TCanvas& frame, TBitmap* picture)
{
    // A focused picture of its own shows the focus already.
    if (ShowsFocus() && !(picture && picture == &bitmaps_.UpAndFocused()))
        frame.DrawFocusRect(FocusCueRect(ClientWidth(), ClientHeight(), Dpi()));
    // The letter is found in the resting picture; a pressed one has its word moved.
    if (!ShowsAccessKey() || state_ == bstDown || state_ == bstStayDown || state_ == bstDisabled)
        return;
    if (!accessKeyLine_) {
        accessKeyLine_.emplace();
        if (const auto index = AccessKeyIndex(Caption()); index && !bitmaps_.Up().Empty()) {
            TCanvas& measure = Canvas();
            measure.Font().Assign(Font());
            measure.Font().SetBold(true);
            *accessKeyLine_ = AccessKeyLineIn(bitmaps_.Up(), bitmaps_.TransparentColor(),
                                              SpokenCaption(Caption()), *index, measure);
        }
    }
    if (!accessKeyLine_->Found())
        return;
    frame.Brush().SetStyle(bsSolid);
    frame.Brush().SetColor(accessKeyLine_->Colour);
    frame.FillRect(accessKeyLine_->Line);
}

void TBmpButton::PaintInContrast(TCanvas& frame)
{
    frame.Font().Assign(Font());
    TContrastButton look;
    look.Caption = Caption();
    look.Glyph = windowGlyph_;
    look.Pressed = state_ == bstDown || state_ == bstStayDown;
    look.Hot = mouseInside_;
    look.Disabled = state_ == bstDisabled;
    look.Focused = ShowsFocus();
    look.ShowAccessKey = ShowsAccessKey();
    DrawContrastButton(frame, ClientRect(), look);
}

std::unique_ptr<TBitmap> DisabledImage(TBitmap& up)
{
    // M: 1 exactly where Up is black.
    TBitmap mask;
    mask.Assign(up);
    mask.SetTransparent(false);
    mask.Canvas().Brush().SetColor(clBlack);
    if (mask.Monochrome()) {
        mask.Canvas().Font().SetColor(clWhite);
        mask.SetMonochrome(false);
        mask.Canvas().Brush().SetColor(clWhite);
    }
    mask.SetMonochrome(true);

    const int w = up.Width(), h = up.Height();
    auto image = std::make_unique<TBitmap>(w, h);
    TCanvas& c = image->Canvas();
    c.Brush().SetColor(clBtnFace);
    c.FillRect(RECT{0, 0, w, h});
    // A one-bit picture on colour: 0 bits take the font colour, 1 bits the brush colour.
    c.Brush().SetColor(clBlack);
    c.Font().SetColor(clWhite);
    c.SetCopyMode(MERGEPAINT); // the white edge, one pixel down and right
    c.Draw(1, 1, mask);
    c.SetCopyMode(SRCAND); // the marked pixels black
    c.Draw(0, 0, mask);
    c.Brush().SetColor(clBtnShadow);
    c.Font().SetColor(clBlack);
    c.SetCopyMode(SRCPAINT); // and then shadow-coloured
    c.Draw(0, 0, mask);
    c.SetCopyMode(SRCCOPY);
    return image;
}

RECT DrawButtonFace(TCanvas& canvas, const RECT& client, int bevelWidth, bool newLook, bool rounded, bool sunken,
                    bool focused)
{
    RECT c = client;
    if (newLook) {
        canvas.Brush().SetColor(clBtnFace);
        canvas.Brush().SetStyle(bsSolid);
        HDC dc = canvas.Handle();
        if (sunken) {
            DrawEdge(dc, &c, BDR_SUNKENINNER, BF_TOPLEFT);
            DrawEdge(dc, &c, BDR_SUNKENOUTER, BF_BOTTOMRIGHT);
            InflateRect(&c, -1, -1);
            DrawEdge(dc, &c, BDR_SUNKENOUTER, BF_TOPLEFT | BF_MIDDLE);
        } else {
            DrawEdge(dc, &c, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
            --c.right;
            --c.bottom;
            DrawEdge(dc, &c, BDR_RAISEDINNER, BF_TOPLEFT);
            ++c.left;
            ++c.top;
            DrawEdge(dc, &c, BDR_RAISEDINNER, BF_BOTTOMRIGHT | BF_MIDDLE);
        }
    } else {
        canvas.Pen().SetColor(clWindowFrame);
        canvas.Brush().SetColor(clBtnFace);
        canvas.Brush().SetStyle(bsSolid);
        canvas.Rectangle(c);
        if (rounded) {
            canvas.SetPixel(c.left, c.top, clBtnFace);
            canvas.SetPixel(c.right - 1, c.top, clBtnFace);
            canvas.SetPixel(c.left, c.bottom - 1, clBtnFace);
            canvas.SetPixel(c.right - 1, c.bottom - 1, clBtnFace);
        }
        if (focused) {
            InflateRect(&c, -1, -1);
            canvas.Brush().SetStyle(bsClear);
            canvas.Rectangle(c);
            canvas.Brush().SetStyle(bsSolid);
        }
        InflateRect(&c, -1, -1);
        if (sunken) {
            canvas.Pen().SetColor(clBtnShadow);
            canvas.MoveTo(c.left, c.bottom - 1);
            canvas.LineTo(c.left, c.top);
            canvas.LineTo(c.right, c.top);
        } else {
            for (int i = 0; i < bevelWidth; ++i) {
                canvas.Pen().SetColor(clBtnHighlight);
                canvas.MoveTo(c.left, c.bottom - 1);
                canvas.LineTo(c.left, c.top);
                canvas.LineTo(c.right - 1, c.top);
                canvas.Pen().SetColor(clBtnShadow);
                canvas.LineTo(c.right - 1, c.bottom - 1);
                canvas.LineTo(c.left - 1, c.bottom - 1);
                InflateRect(&c, -1, -1);
            }
        }
    }
    RECT inner{client.left + 1, client.top + 1, client.right - 2, client.bottom - 2};
    if (sunken)
        OffsetRect(&inner, 1, 1);
    return inner;
}
