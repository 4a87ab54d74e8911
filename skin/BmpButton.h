#pragma once
// The push button of the skinned windows: a focusable control that shows one of up to six
// pictures by its state (normal, hot, focused, pressed, latched, disabled), leaves out the
// pixels of the key colour so the window's skin shows around its shape, and can draw a
// caption over the picture. It can latch down as a member of a group, gives its form a modal
// result when clicked and answers to its caption's accelerator key.
//
// Every paint composes the whole button off screen and copies it in one operation, so it never
// flickers. A borderless button paints its parent's image under itself first.
//
// For the keyboard and assistive technology: the caption is the window text and the name a
// screen reader reads (also where the picture carries the word and the caption is not drawn);
// the focus and the access key are marked on top of whatever picture is shown, as the form's
// keyboard cues allow; in a contrast theme the button is drawn in the system's colours with
// its caption as text; WM_GETOBJECT answers a push button's accessible object.
#include "skin/ButtonBitmaps.h"
#include "skin/ButtonLayout.h"
#include "skin/HighContrastDrawing.h"
#include "skin/KeyboardCues.h"
#include "toolkit/controls/CustomControl.h"

#include <memory>
#include <optional>

enum class TButtonBorder { bbNone, bbSingle, bbButton };
using enum TButtonBorder;
enum class TBtnSize { bszNeither, bszButtonToBitmap, bszStretchToButton, bszTileToButton };
using enum TBtnSize;
enum class TButtonStyle { bsAutoDetect, bsWin31, bsNew };
using enum TButtonStyle;
enum class ButtonState { bstUp, bstDisabled, bstDown, bstStayDown };
using enum ButtonState;

// Sent to every control of a grouped button's parent when the button was pressed or latched:
// first parameter the group, second the sending button.
inline constexpr UINT GroupPressedMsg = 0x2420;

class TBmpButton : public TCustomControl {
public:
    TBmpButton();
    ~TBmpButton() override;

    TButtonBitmaps& Bitmaps() noexcept { return bitmaps_; }

    int GroupIndex() const noexcept { return groupIndex_; }
    virtual void SetGroupIndex(int value);
    bool Down() const noexcept { return down_; }
    virtual void SetDown(bool value);
    bool AllowAllUp() const noexcept { return allowAllUp_; }
    virtual void SetAllowAllUp(bool value);
    int CaptionDownOffset() const noexcept { return captionDownOffset_; }
    virtual void SetCaptionDownOffset(int value);
    TButtonLayout Layout() const noexcept { return layout_; }
    virtual void SetLayout(TButtonLayout value);
    int Spacing() const noexcept { return spacing_; }
    virtual void SetSpacing(int value);
    // -1: automatic; smaller values are ignored.
    int Margin() const noexcept { return margin_; }
    virtual void SetMargin(int value);
    TButtonStyle ButtonStyle() const noexcept { return buttonStyle_; }
    virtual void SetButtonStyle(TButtonStyle value);
    TButtonBorder ButtonBorder() const noexcept { return buttonBorder_; }
    virtual void SetButtonBorder(TButtonBorder value);
    TBtnSize ButtonSize() const noexcept { return buttonSize_; }
    virtual void SetButtonSize(TBtnSize value);
    bool ShowFocus() const noexcept { return showFocus_; }
    virtual void SetShowFocus(bool value);
    bool ShowDownPattern() const noexcept { return showDownPattern_; }
    virtual void SetShowDownPattern(bool value);
    int ModalResult() const noexcept { return modalResult_; }
    void SetModalResult(int value) noexcept { modalResult_ = value; }
    // The picture shows the caption's words: the caption names the button (window text,
    // screen readers, access key) and is drawn only where no picture is (a contrast theme).
    bool CaptionInPicture() const noexcept { return captionInPicture_; }
    void SetCaptionInPicture(bool value);
    // What a contrast theme draws in place of a title-bar button's name.
    TWindowGlyph WindowGlyph() const noexcept { return windowGlyph_; }
    void SetWindowGlyph(TWindowGlyph value);

    // What is drawn, and the state beside it.
    ButtonState State() const noexcept { return state_; }
    bool Tracking() const noexcept { return tracking_; }
    bool HasFocus() const noexcept { return hasFocus_; }
    bool MouseInside() const noexcept { return mouseInside_; }

    // Sizes the button to Up plus its border (in bszButtonToBitmap mode).
    void FitToBitmap();
    // Places picture and caption: `text` receives the caption's rectangle; `content` becomes
    // the picture's rectangle when it is drawn at its natural size (bszNeither).
    void ComputeLayout(RECT& text, RECT& content, TBitmap* picture);
    // The group hears of this button (or, ungrouped or without a parent, the state goes up).
    void NotifyGroup();

    // The parent form's modal result, then the action or OnClick.
    void Click() override;
    bool DialogChar(char ch) override;
    void Loaded() override;
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) override;

    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // The 8 x 8 checkerboard of latched bordered buttons, shared by all buttons and freed with
    // the last one; null until a latched button first paints.
    static TBitmap* DownPatternBitmap() noexcept;
    static int ButtonInstanceCount() noexcept;
    // The pause after a borderless button painted its parent's image, in milliseconds (10);
    // benchmarks turn it off to measure the drawing alone.
    static void SetBackgroundPause(unsigned milliseconds) noexcept;

protected:
    void Paint() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void FocusGained() override;
    void FocusLost() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Resized() override;
    void BoundsChanged(const RECT& old) override;
    void CaptionChanged() override;
    void FontChanged() override;

    void BitmapsChanged();
    // Ends a mouse or space-bar press: toggles a grouped button, repaints, clicks when asked.
    void FinishPress(bool click);

private:
    bool NewLook() const noexcept;
    bool Inside(int x, int y) const noexcept;
    // The state of a button at rest: latched or up.
    ButtonState RestingState() const noexcept { return down_ ? bstStayDown : bstUp; }
    void GroupPressed(WPARAM group, LPARAM sender);
    TBitmap* ChoosePicture(std::unique_ptr<TBitmap>& generated);
    // The keyboard cues of the button's form: focus rectangle, access-key underline.
    bool ShowsFocus() const noexcept;
    bool ShowsAccessKey() const noexcept;
    // The focus and the access key marked over a picture that carries the caption.
    void DrawPictureCues(TCanvas& frame, TBitmap* picture);
    // The whole button in the system's colours (a contrast theme is on).
    void PaintInContrast(TCanvas& frame);
    // Answers the platform's questions about the button that ordinary input does not ask.
    bool AccessibilityMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    int groupIndex_ = 0;
    TButtonBitmaps bitmaps_;
    bool down_ = false;
    int captionDownOffset_ = 1;
    bool tracking_ = false;
    bool allowAllUp_ = false;
    TButtonLayout layout_ = blGlyphLeft;
    int spacing_ = 4;
    int margin_ = -1;
    TButtonStyle buttonStyle_ = bsAutoDetect;
    TButtonBorder buttonBorder_ = bbNone;
    TBtnSize buttonSize_ = bszButtonToBitmap;
    bool showFocus_ = true;
    bool showDownPattern_ = true;
    bool hasFocus_ = false;
    int modalResult_ = 0;
    ButtonState state_ = bstUp;
    bool mouseInside_ = false;
    bool captionInPicture_ = false;
    TWindowGlyph windowGlyph_ = wgNone;
    // Where the Up picture has the access key's letter; found on first use.
    std::optional<TAccessKeyLine> accessKeyLine_;
};

// The disabled picture made from a button's normal one: its black pixels embossed
// (clBtnShadow with a white edge one pixel down and right) on clBtnFace.
std::unique_ptr<TBitmap> DisabledImage(TBitmap& up);
// A push-button face over the rectangle, with bevels BW pixels wide; returns its inner
// rectangle (moved one pixel right and down when sunken).
RECT DrawButtonFace(TCanvas& canvas, const RECT& client, int bevelWidth, bool newLook, bool rounded, bool sunken,
                    bool focused);
