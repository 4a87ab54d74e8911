#pragma once
// The base of every visible control. A plain TControl has no window of its own: its parent
// paints it into the parent's device context and routes the mouse to it.
#include "toolkit/graphics/Color.h"
#include "toolkit/core/Component.h"
#include "toolkit/core/DpiScale.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

class TAction;
class TFont;
class TForm;
class TWinControl;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

// Modifier keys and mouse buttons held during an input event, as bits.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32,
                             ssDouble = 64;
// The shift state of a mouse message's key flags, plus Alt from the keyboard.
TShiftState ShiftStateFromMouseKeys(WPARAM keys) noexcept;
// The shift state of the keyboard right now.
TShiftState KeyboardShiftState() noexcept;

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;

// A window's border: none, or a single line (a form's caption bar and frame).
enum class TBorderStyle { bsNone, bsSingle };
using enum TBorderStyle;

enum class TAlign { alNone, alClient };
using enum TAlign;

// Sides of the parent a control keeps its distance to; stored for the layout tables.
using TAnchors = unsigned;
inline constexpr TAnchors akLeft = 1, akTop = 2, akRight = 4, akBottom = 8;

// Behaviour switches of a control.
using TControlStyle = unsigned;
inline constexpr TControlStyle csCaptureMouse = 1; // capture the mouse while a button is held
inline constexpr TControlStyle csClickEvents = 2;  // a left press and release inside is a click
inline constexpr TControlStyle csOpaque = 4;       // paints its whole surface: no erasing behind
inline constexpr TControlStyle csDoubleClicks = 8; // a second quick press is a double click

class TControl : public TComponent {
public:
    TControl();
    ~TControl() override;

    TWinControl* Parent() const noexcept { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const noexcept { return left_; }
    int Top() const noexcept { return top_; }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    RECT BoundsRect() const noexcept { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual int ClientWidth() const noexcept { return width_; }
    virtual int ClientHeight() const noexcept { return height_; }
    RECT ClientRect() const noexcept { return {0, 0, ClientWidth(), ClientHeight()}; }

    // Display scale. Bounds are pixels at the control's DPI; its design bounds, the same place
    // at 96 DPI, are what every other DPI is worked out from, so moving between displays of
    // different scales never drifts. A control starts at 96 DPI and takes its parent's.
    int Dpi() const noexcept { return dpi_; }
    // A 96-DPI length at this control's DPI.
    int Scaled(int value) const noexcept { return ScaledToDpi(value, dpi_); }
    // The bounds at 96 DPI.
    RECT DesignBounds() const noexcept { return design_; }
    // This control and everything in it take a new DPI: bounds worked out from the design,
    // fonts made at the new size; then DpiChanged runs for each.
    virtual void ChangeDpi(int dpi);

    TAlign Align() const noexcept { return align_; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const noexcept { return anchors_; }
    void SetAnchors(TAnchors anchors) noexcept { anchors_ = anchors; }

    bool Visible() const noexcept { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and so are all its parents.
    bool Showing() const noexcept;

    bool Enabled() const noexcept { return enabled_; }
    virtual void SetEnabled(bool enabled);

    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(const std::string& caption);

    TColor Color() const noexcept { return color_; }
    // A colour set on the control itself ends following the parent's.
    void SetColor(TColor color);
    // Takes the parent's colour, now and whenever it changes (a box on a skinned form).
    bool ParentColor() const noexcept { return parentColor_; }
    void SetParentColor(bool parentColor);

    TFont& Font() const noexcept { return *font_; }
    bool ParentFont() const noexcept { return parentFont_; }
    void SetParentFont(bool parentFont);

    TControlStyle ControlStyle() const noexcept { return controlStyle_; }
    void SetControlStyle(TControlStyle style) noexcept { controlStyle_ = style; }

    // Binds the control to an action: the action's Enabled and Visible rule the control, and a
    // click runs the action unless the control has an OnClick of its own.
    TAction* Action() const noexcept { return action_; }
    void SetAction(TAction* action);
    // Called by the bound action when its state changed.
    virtual void ActionChanged();

    // Repaints at the next paint cycle / at once.
    virtual void Invalidate();
    virtual void Update();
    void Repaint();

    // Points in this control's client area <-> the screen.
    virtual POINT ClientToScreen(POINT p) const;
    virtual POINT ScreenToClient(POINT p) const;

    // Hands a message straight to the control's handling; a windowless control answers 0.
    virtual LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // The click of the control: the form, action or OnClick, as the control decides.
    virtual void Click();

    // Paints a windowless control into its parent's device context, whose origin the parent
    // has moved to the control's top-left corner.
    virtual void PaintTo(HDC dc);

    // Input routed here by the parent (windowless controls) or the window (windowed ones).
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DblClick();
    // Turns a mouse message (client coordinates) into MouseDown/Move/Up, DblClick and, for a
    // left press released inside with csClickEvents, Click.
    void DispatchMouse(UINT msg, WPARAM keys, int x, int y);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    // Notifications of the framework, for controls that draw themselves.
    virtual void EnabledChanged();
    virtual void VisibleChanged();
    virtual void FontChanged();
    virtual void CaptionChanged();
    virtual void ColorChanged();
    virtual void SysColorChanged();
    // Asked with a character typed with Alt, or one the focused control does not take: true
    // when this control answered it as its accelerator.
    virtual bool DialogChar(char ch);

    // The parent changed its font; a control that follows it takes it over.
    void ParentFontChanged();
    // The same for the parent's colour.
    void ParentColorChanged();

protected:
    // For derived classes' constructors: the starting visibility, with no side effects.
    void InitVisible(bool visible) noexcept { visible_ = visible; }
    // Takes bounds the platform already gave the window, without moving it again.
    void SyncBounds(const RECT& r) noexcept
    {
        if (r.left == left_ && r.top == top_ && r.right - r.left == width_ && r.bottom - r.top == height_)
            return;
        left_ = r.left;
        top_ = r.top;
        width_ = r.right - r.left;
        height_ = r.bottom - r.top;
        StoreDesign();
    }
    // A control its parent places (an aligned one, a page): scaling leaves it to the parent.
    virtual bool PlacedByParent() const noexcept { return align_ != alNone; }
    // Its bounds at a new DPI, from the design bounds.
    virtual RECT ScaledBounds(int dpi) const noexcept;
    // Runs once the control, its fonts and its children are at the new DPI.
    virtual void DpiChanged(int oldDpi);
    // Bounds changed: a windowed control moves its window, a windowless one repaints.
    virtual void BoundsChanged(const RECT& old);
    // The form that holds this control, or null.
    TForm* ParentForm() const noexcept;

private:
    void FontChangedByOwner();
    // The design bounds of the current ones.
    void StoreDesign() noexcept;
    void ApplyBounds(const RECT& r);
    void StoreColor(TColor color);

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    RECT design_{};
    int dpi_ = kDesignDpi;
    TAlign align_ = alNone;
    TAnchors anchors_ = akLeft | akTop;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    TColor color_ = clBtnFace;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    bool parentColor_ = false;
    bool takingParentFont_ = false;
    bool clicking_ = false; // a left press is waiting for its release
    TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks;
    TAction* action_ = nullptr;
};

// The character that follows a single ampersand in a caption (an accelerator), or 0.
char AcceleratorOf(const std::string& caption) noexcept;
// True when the character and the caption's accelerator are the same letter in either case.
bool IsAccelerator(char ch, const std::string& caption) noexcept;
// The form a control belongs to, going up through its parents; null when there is none.
TForm* GetParentForm(const TControl& control) noexcept;
