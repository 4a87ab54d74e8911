#pragma once
// A top-level window holding controls: border, centring, show and hide events, the modal loop
// with its modal result, and the keyboard of a dialog: Tab and Shift+Tab between its controls,
// arrow keys inside a group of radio buttons (one tab stop), Ctrl+Tab through the pages of a
// page control, Enter and Esc for its default and cancel controls, the accelerator search, and
// the keyboard cues (focus rectangles, underlined access keys) shown once the keyboard is used.
#include "toolkit/controls/WinControl.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The enabled, visible top-level windows of this thread but one, disabled for a scope, as a
// modal window keeps input from the others. Restore gives them back early; the destructor does
// it otherwise, however the scope ends.
class TDisabledWindows {
public:
    explicit TDisabledWindows(HWND except);
    ~TDisabledWindows();
    TDisabledWindows(const TDisabledWindows&) = delete;
    TDisabledWindows& operator=(const TDisabledWindows&) = delete;

    void Restore() noexcept;
    const std::vector<HWND>& Windows() const noexcept { return windows_; }

private:
    std::vector<HWND> windows_;
};

// Title-bar buttons of a bordered form.
using TBorderIcons = unsigned;
inline constexpr TBorderIcons biSystemMenu = 1, biMinimize = 2;

enum class TPosition { poDesigned, poDesktopCenter };
using enum TPosition;

using TModalResult = int;
// A key pressed anywhere in a form; true when the form used it.
using TShortCutEvent = std::function<bool(WORD key, TShiftState shift)>;
inline constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2;

class TForm : public TWinControl {
public:
    TForm();
    ~TForm() override;

    // Runs OnCreate; called once the whole form object exists (CreateForm, MakeForm). An error
    // raised there goes to the application's handler and the form is still made; only
    // EApplicationEnd passes on to the caller.
    void AfterConstruction();

    TBorderStyle BorderStyle() const noexcept { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    TBorderIcons BorderIcons() const noexcept { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const noexcept { return position_; }
    void SetPosition(TPosition position) noexcept { position_ = position; }

    // The outer size that gives this client size with the current border.
    void SetClientSize(int width, int height);
    int ClientWidth() const noexcept override;
    int ClientHeight() const noexcept override;

    // Showing runs OnShow before the window appears; an error raised there goes to the
    // application's handler and the window still opens.
    void SetVisible(bool visible) override;
    // Shows the form modally: other windows are disabled and messages dispatched until the
    // modal result is set; returns it.
    TModalResult ShowModal();
    bool Modal() const noexcept { return modal_; }
    TModalResult ModalResult() const noexcept { return modalResult_; }
    void SetModalResult(TModalResult result) noexcept { modalResult_ = result; }
    // A modal form ends with mrCancel; another hides, and the main form ends the application.
    void Close();

    // The control that has (or last had) the keyboard focus.
    TWinControl* ActiveControl() const noexcept { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    void FocusMoved(TWinControl& control) noexcept;
    // Moves the focus to the next (or previous) control in tab order.
    void SelectNext(bool forward);
    // The order Tab visits the controls in, where it is not the order they were made in; tab
    // stops the list leaves out follow in their own order. A radio button stands for its group.
    void SetTabSequence(std::vector<TWinControl*> sequence);
    // The controls in the order Tab reaches them now: visible and enabled tab stops, one radio
    // button per group (the checked one, else the first).
    std::vector<TWinControl*> TabList() const;

    // Enter clicks the default control unless the focus is on a button (which takes Enter
    // itself) or in a control that wants the key (a multi-line text box); Esc clicks the cancel
    // control from anywhere. Null: the key does nothing special.
    TWinControl* DefaultControl() const noexcept { return defaultControl_; }
    void SetDefaultControl(TWinControl* control) noexcept { defaultControl_ = control; }
    TWinControl* CancelControl() const noexcept { return cancelControl_; }
    void SetCancelControl(TWinControl* control) noexcept { cancelControl_ = control; }

    // Keyboard cues: with the user's setting off, the focus and the access keys are not marked
    // until the keyboard is used in the window (Tab or an arrow: the focus; Alt: both).
    bool FocusCuesShown() const noexcept { return !(hiddenCues_ & UISF_HIDEFOCUS); }
    bool AcceleratorCuesShown() const noexcept { return !(hiddenCues_ & UISF_HIDEACCEL); }
    // Shows the cues given as UISF_HIDEFOCUS / UISF_HIDEACCEL bits and repaints the window.
    void ShowKeyboardCues(WORD cues);

    // A control of the form is going: nothing of the form points at it any longer.
    void ControlGone(TWinControl& control) noexcept;
    // Keyboard messages of its windows, before they are dispatched: tab navigation and the
    // accelerator search. True when the message was used up.
    bool PreTranslateMessage(const MSG& msg);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    // Keys pressed in the form, before its controls or its dialog keys see them (F1).
    TShortCutEvent OnShortCut;

    // A form takes the DPI of its monitor when its window is made, and another when the window
    // moves to a monitor of another scale (WM_DPICHANGED, the place the system suggests taken).
    void ChangeDpi(int dpi) override;
    // Work that depends on the scale (pictures drawn for it): run when the window is made, and
    // again after every change of DPI; at once when the window exists already.
    void WhenScaled(std::function<void()> work);

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Keeps its place on the screen (or takes the suggested one); the client area scales.
    RECT ScaledBounds(int dpi) const noexcept override;
    void DpiChanged(int oldDpi) override;
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();

private:
    DWORD WindowStyle() const noexcept;
    // The window rectangle around a client area at the form's DPI (or another).
    RECT FrameFor(int clientWidth, int clientHeight) const noexcept;
    RECT FrameFor(int clientWidth, int clientHeight, int dpi) const noexcept;
    void RunScaledWork();
    void ApplyBorder();
    void CenterOnDesktop();
    // The keys of a dialog (Tab, arrows, Ctrl+Tab, Enter, Esc); true when one was used.
    bool DialogKey(const MSG& msg);
    bool MoveInRadioGroup(TWinControl& focused, bool forward);
    bool TurnPage(bool forward);
    // Takes a change of the cues the platform announces (WM_UPDATEUISTATE).
    void UpdateCues(WORD action, WORD cues);

    std::vector<TWinControl*> tabSequence_;
    TWinControl* defaultControl_ = nullptr;
    TWinControl* cancelControl_ = nullptr;
    WORD hiddenCues_ = 0;

    TBorderStyle borderStyle_ = bsSingle;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize;
    TPosition position_ = poDesigned;
    bool modal_ = false;
    TModalResult modalResult_ = mrNone;
    TWinControl* activeControl_ = nullptr;
    std::vector<std::function<void()>> scaledWork_;
    std::optional<RECT> suggested_; // the place WM_DPICHANGED suggests, while it is taken
};

// A form of one's own (not owned by the application), with OnCreate run.
template <typename T, typename... Args>
std::unique_ptr<T> MakeForm(Args&&... args)
{
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    form->AfterConstruction();
    return form;
}
