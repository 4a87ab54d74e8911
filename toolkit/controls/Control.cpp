#include "toolkit/controls/Control.h"

#include "toolkit/core/Action.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/WinControl.h"

#include <cctype>

TShiftState ShiftStateFromMouseKeys(WPARAM keys) noexcept
{
    TShiftState s = 0;
    if (keys & MK_SHIFT)
        s |= ssShift;
    if (keys & MK_CONTROL)
        s |= ssCtrl;
    if (keys & MK_LBUTTON)
        s |= ssLeft;
    if (keys & MK_RBUTTON)
        s |= ssRight;
    if (keys & MK_MBUTTON)
        s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0)
        s |= ssAlt;
    return s;
}

TShiftState KeyboardShiftState() noexcept
{
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        s |= ssAlt;
    return s;
}

char AcceleratorOf(const std::string& caption) noexcept
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] != '&')
            return caption[i + 1];
        ++i; // "&&" is a literal ampersand
    }
    return 0;
}

bool IsAccelerator(char ch, const std::string& caption) noexcept
{
    const char accel = AcceleratorOf(caption);
    return accel != 0 && std::toupper(static_cast<unsigned char>(accel)) == std::toupper(static_cast<unsigned char>(ch));
}

TForm* GetParentForm(const TControl& control) noexcept
{
    const TControl* c = &control;
    while (c->Parent())
        c = c->Parent();
    return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

TControl::TControl() : font_(std::make_unique<TFont>())
{
    font_->OnChange = [this](TObject*) { FontChangedByOwner(); };
}

TControl::~TControl()
{
    if (action_)
        action_->RemoveClient(*this);
    if (parent_)
        parent_->ChildRemoved(*this);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    if (parent_) {
        Invalidate();
        parent_->ChildRemoved(*this);
    }
    parent_ = parent;
    if (parent_) {
        if (parent_->Dpi() != dpi_)
            ChangeDpi(parent_->Dpi());
        parent_->ChildInserted(*this);
        if (parentFont_)
            ParentFontChanged();
        ParentColorChanged();
        if (align_ != alNone)
            parent_->AlignControls();
        Invalidate();
    }
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    ApplyBounds(RECT{left, top, left + width, top + height});
    StoreDesign();
}

void TControl::ApplyBounds(const RECT& r)
{
    if (r.left == left_ && r.top == top_ && r.right - r.left == width_ && r.bottom - r.top == height_)
        return;
    const RECT old = BoundsRect();
    left_ = r.left;
    top_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    BoundsChanged(old);
}

void TControl::StoreDesign() noexcept
{
    const int left = UnscaledFromDpi(left_, dpi_), top = UnscaledFromDpi(top_, dpi_);
    design_ = {left, top, left + UnscaledFromDpi(width_, dpi_), top + UnscaledFromDpi(height_, dpi_)};
}

RECT TControl::ScaledBounds(int dpi) const noexcept
{
    // Each of left, top, width and height scaled alone, as the artwork's pictures are.
    return ScaledRectToDpi(design_, dpi);
}

void TControl::ChangeDpi(int dpi)
{
    if (dpi <= 0 || dpi == dpi_)
        return;
    const int old = dpi_;
    dpi_ = dpi;
    // The font keeps following the parent's when it did: the new size is no choice of its own.
    takingParentFont_ = true;
    try {
        font_->SetDpi(dpi);
    } catch (...) {
        takingParentFont_ = false;
        throw;
    }
    takingParentFont_ = false;
    if (!PlacedByParent())
        ApplyBounds(ScaledBounds(dpi));
    if (auto* self = dynamic_cast<TWinControl*>(this)) {
        for (std::size_t i = 0; i < self->ControlCount(); ++i)
            self->Controls(i).ChangeDpi(dpi);
        self->AlignControls();
    }
    DpiChanged(old);
}

void TControl::DpiChanged(int)
{
    Invalidate();
}

void TControl::BoundsChanged(const RECT& old)
{
    if (parent_ && parent_->HandleAllocated()) {
        InvalidateRect(parent_->Handle(), &old, TRUE);
        Invalidate();
    }
}

void TControl::SetAlign(TAlign align)
{
    align_ = align;
    if (parent_ && align_ != alNone)
        parent_->AlignControls();
}

bool TControl::Showing() const noexcept
{
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible())
            return false;
    return true;
}

void TControl::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    if (!visible)
        Invalidate(); // the parent repaints what was under it
    visible_ = visible;
    VisibleChanged();
}

void TControl::VisibleChanged()
{
    Invalidate();
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    EnabledChanged();
}

void TControl::EnabledChanged()
{
    Invalidate();
}

void TControl::SetCaption(const std::string& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    CaptionChanged();
}

void TControl::CaptionChanged()
{
    Invalidate();
}

void TControl::SetColor(TColor color)
{
    parentColor_ = false;
    StoreColor(color);
}

void TControl::StoreColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    ColorChanged();
}

void TControl::SetParentColor(bool parentColor)
{
    parentColor_ = parentColor;
    ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (parentColor_ && parent_)
        StoreColor(parent_->Color());
}

void TControl::ColorChanged()
{
    Invalidate();
}

void TControl::SysColorChanged()
{
    Invalidate();
}

void TControl::FontChanged()
{
    Invalidate();
}

void TControl::FontChangedByOwner()
{
    // A font set on the control itself ends following the parent's.
    if (!takingParentFont_)
        parentFont_ = false;
    FontChanged();
    if (auto* self = dynamic_cast<TWinControl*>(this))
        for (std::size_t i = 0; i < self->ControlCount(); ++i)
            self->Controls(i).ParentFontChanged();
}

void TControl::SetParentFont(bool parentFont)
{
    parentFont_ = parentFont;
    if (parentFont_)
        ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!parentFont_ || !parent_ || font_->SameAs(parent_->Font()))
        return;
    takingParentFont_ = true;
    try {
        font_->Assign(parent_->Font());
    } catch (...) {
        takingParentFont_ = false;
        throw;
    }
    takingParentFont_ = false;
}

void TControl::SetAction(TAction* action)
{
    if (action == action_)
        return;
    if (action_)
        action_->RemoveClient(*this);
    action_ = action;
    if (action_) {
        action_->AddClient(*this);
        ActionChanged();
    }
}

void TControl::ActionChanged()
{
    if (!action_)
        return;
    SetEnabled(action_->Enabled());
    SetVisible(action_->Visible());
    if (!action_->Caption().empty())
        SetCaption(action_->Caption());
}

void TControl::Invalidate()
{
    if (!parent_ || !parent_->HandleAllocated())
        return;
    const RECT r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, (controlStyle_ & csOpaque) ? FALSE : TRUE);
}

void TControl::Update()
{
    if (parent_)
        parent_->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

POINT TControl::ClientToScreen(POINT p) const
{
    if (!parent_)
        return p;
    return parent_->ClientToScreen({p.x + left_, p.y + top_});
}

POINT TControl::ScreenToClient(POINT p) const
{
    if (!parent_)
        return p;
    const POINT q = parent_->ScreenToClient(p);
    return {q.x - left_, q.y - top_};
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
    else if (action_)
        action_->Execute();
}

void TControl::PaintTo(HDC) {}

LRESULT TControl::Perform(UINT, WPARAM, LPARAM)
{
    return 0;
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

bool TControl::DialogChar(char)
{
    return false;
}

TForm* TControl::ParentForm() const noexcept
{
    return GetParentForm(*this);
}

void TControl::DispatchMouse(UINT msg, WPARAM keys, int x, int y)
{
    TShiftState shift = ShiftStateFromMouseKeys(keys);
    const bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
    switch (msg) {
    case WM_MOUSEMOVE:
        MouseMove(shift, x, y);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        clicking_ = (controlStyle_ & csClickEvents) != 0;
        if (dbl && (controlStyle_ & csDoubleClicks)) {
            DblClick();
            shift |= ssDouble;
        }
        MouseDown(mbLeft, shift, x, y);
        return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        MouseDown(mbRight, shift | (dbl && (controlStyle_ & csDoubleClicks) ? ssDouble : 0), x, y);
        return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        MouseDown(mbMiddle, shift | (dbl && (controlStyle_ & csDoubleClicks) ? ssDouble : 0), x, y);
        return;
    case WM_LBUTTONUP: {
        const bool click = clicking_ && x >= 0 && y >= 0 && x < width_ && y < height_;
        clicking_ = false;
        MouseUp(mbLeft, shift, x, y);
        if (click)
            Click();
        return;
    }
    case WM_RBUTTONUP:
        MouseUp(mbRight, shift, x, y);
        return;
    case WM_MBUTTONUP:
        MouseUp(mbMiddle, shift, x, y);
        return;
    default:
        return;
    }
}
