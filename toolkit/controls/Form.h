#pragma once
// A top-level window holding controls: border, centring, show and hide events, the modal loop
// with its modal result, keyboard navigation between its controls and accelerator search.
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
    // Keyboard messages of its windows, before they are dispatched: tab navigation and the
    // accelerator search. True when the message was used up.
    bool PreTranslateMessage(const MSG& msg);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

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
    std::vector<TWinControl*> TabList() const;

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
