#pragma once
// A control with a window of its own: focus, keyboard, mouse capture, child controls and the
// window procedure. The object binds to its window at WM_NCCREATE for the framework's window
// class (the object in the window's extra bytes, read by the class's own procedure), and right
// after creation for a window class of the platform (the common controls' subclassing, under a
// subclass id of its own). Others may subclass the same window before or after; the binding
// (and FromHandle) does not depend on who comes first.
// The window procedure is the boundary: an error raised while handling a message goes to
// Application.HandleException and never into the platform's frames; one raised while painting
// or answering a notification is posted and handled after the message.
#include "toolkit/controls/Control.h"
#include "toolkit/core/Scoped.h"

#include <commctrl.h>

#include <string>
#include <vector>

using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

class TWinControl : public TControl {
public:
    TWinControl();
    ~TWinControl() override;

    // The window, created on first use (with the windows of its parents).
    HWND Handle();
    bool HandleAllocated() const noexcept { return static_cast<bool>(handle_); }
    // The window if it exists, else null; never makes one (for code that must not fail).
    HWND AllocatedHandle() const noexcept { return handle_.get(); }
    void HandleNeeded() { Handle(); }
    // The children's windows wait for CreateChildWindows instead of coming with this window's
    // (a form makes them at the latest when it is shown): what shows first appears sooner.
    void SetChildWindowsLater(bool later) noexcept { childWindowsLater_ = later; }
    // Makes the windows of the children that have none yet, in their order; later children
    // get theirs as they come.
    void CreateChildWindows();
    // The control that owns a window of ours, or null for any other window.
    static TWinControl* FromHandle(HWND window) noexcept;

    // Child controls in their order of insertion, which is also the tab order.
    std::size_t ControlCount() const noexcept { return controls_.size(); }
    TControl& Controls(std::size_t index) const { return *controls_.at(index); }
    // The topmost visible windowless child at a point of the client area, or null.
    TControl* ControlAtPos(POINT p) const noexcept;

    void SetParent(TWinControl* parent) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    int ClientWidth() const noexcept override;
    int ClientHeight() const noexcept override;
    POINT ClientToScreen(POINT p) const override;
    POINT ScreenToClient(POINT p) const override;

    bool TabStop() const noexcept { return tabStop_; }
    void SetTabStop(bool tabStop) noexcept { tabStop_ = tabStop; }
    bool Focused() const noexcept;
    virtual bool CanFocus() const noexcept;
    void SetFocus();

    void Invalidate() override;
    void Update() override;

    // Sends a message straight to this control's handling (0 while it has no window).
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) override;

    // Lays out children with alClient over the client area.
    void AlignControls();
    // Paints the visible windowless children into the device context (client coordinates).
    void PaintControls(HDC dc);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    bool DialogChar(char ch) override;
    void ChildInserted(TControl& child);
    void ChildRemoved(TControl& child) noexcept;
    // The system colours changed: this control and everything inside it hear of it.
    void SysColorChanged() override;

protected:
    struct TCreateParams {
        std::string ClassName; // empty: the framework's own window class
        DWORD Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        DWORD ExStyle = 0;
        HWND WndParent = nullptr;
    };
    virtual void CreateParams(TCreateParams& params);
    // Runs once the window exists: windowed children get theirs, fonts are handed on.
    virtual void HandleCreated();
    // Runs just before the window goes, whoever destroys it: DestroyHandle, the destruction of
    // a parent window, or DestroyWindow from anywhere. Errors go to the application.
    virtual void HandleDestroying() {}
    // Destroys the window after HandleDestroying. A destructor only reaches the overrides of
    // its own class and those above it, so every class that overrides HandleDestroying (or a
    // hook that HandleDestroying runs, such as a tree's node deletion) calls this from its own
    // destructor; then its hooks run while the whole object still exists.
    void DestroyHandle() noexcept;

    // The message handling of this control; unknown messages go to DefaultHandler.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);
    // Paints the window's own surface (controls that draw themselves override this).
    virtual void PaintWindow(HDC dc);
    // Fills the background; true when it was done.
    virtual bool EraseBackground(HDC dc);

    // Messages a child window sends to its parent, handed back to the child.
    virtual bool Command(WORD code);
    virtual bool Notify(NMHDR& header, LRESULT& result);
    // The brush (and the colours set in the DC) a platform control paints its background with.
    virtual HBRUSH ControlColor(HDC dc);

    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void FocusGained();
    virtual void FocusLost();
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // The window got a new size.
    virtual void Resized();

    void BoundsChanged(const RECT& old) override;
    void FontChanged() override;
    void CaptionChanged() override;
    // Children that follow the parent's colour take the new one.
    void ColorChanged() override;

    bool MouseInside() const noexcept { return mouseInside_; }
    // A background brush in Color, remade when the colour changes.
    HBRUSH ColorBrush();

private:
    static LRESULT CALLBACK ClassWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK SubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self) noexcept;
    // Both window procedures hand the bound object's messages here.
    static LRESULT Dispatch(TWinControl* self, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    static void RegisterWindowClass();
    // False when the platform refused the binding.
    bool Bind(HWND window) noexcept;
    // The window's messages go to the default handling from now on.
    void Unbind(HWND window) const noexcept;
    // The platform is destroying the window (WM_DESTROY): the hook runs.
    void WindowDestroying() noexcept;
    LRESULT HandleMouse(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandlePaint(WPARAM wParam);
    bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void ApplyFont();

    ScopedWindow handle_;
    // The window is of a platform class: it paints itself and keeps its own mouse capture.
    bool platformClass_ = false;
    // A platform control's procedure under every subclass, for default handling asked from
    // outside a message of this window.
    WNDPROC baseProc_ = nullptr;
    std::vector<TControl*> controls_;
    bool tabStop_ = false;
    bool childWindowsLater_ = false;
    bool mouseInside_ = false;
    TControl* mouseControl_ = nullptr; // windowless child that took the current press
    ScopedBrush brush_;
    TColor brushColor_ = clNone;
};
