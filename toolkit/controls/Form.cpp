#include "toolkit/controls/Form.h"

#include "toolkit/core/Application.h"
#include "toolkit/core/DisplayDpi.h"
#include "toolkit/graphics/Font.h"

#include <algorithm>

namespace {
BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM param) noexcept
{
    auto& list = *reinterpret_cast<std::vector<HWND>*>(param);
    try {
        if (IsWindowVisible(window) && IsWindowEnabled(window))
            list.push_back(window);
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}
} // namespace

TDisabledWindows::TDisabledWindows(HWND except)
{
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&windows_));
    windows_.erase(std::remove(windows_.begin(), windows_.end(), except), windows_.end());
    for (HWND w : windows_)
        EnableWindow(w, FALSE);
}

TDisabledWindows::~TDisabledWindows()
{
    Restore();
}

void TDisabledWindows::Restore() noexcept
{
    for (HWND w : windows_)
        EnableWindow(w, TRUE);
    windows_.clear();
}

TForm::TForm()
{
    InitVisible(false);
    SetParentFont(false);
    Application.AddForm(this);
}

TForm::~TForm()
{
    activeControl_ = nullptr;
    Application.RemoveForm(this);
}

void TForm::AfterConstruction()
{
    try {
        DoCreate();
    } catch (const EApplicationEnd&) {
        throw;
    } catch (...) {
        Application.HandleException(std::current_exception(), this);
    }
}

void TForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

void TForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

DWORD TForm::WindowStyle() const noexcept
{
    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    if (borderStyle_ == bsSingle) {
        style |= WS_CAPTION;
        if (borderIcons_ & biSystemMenu)
            style |= WS_SYSMENU;
        if (borderIcons_ & biMinimize)
            style |= WS_MINIMIZEBOX;
    }
    return style;
}

void TForm::CreateParams(TCreateParams& params)
{
    params.Style = WindowStyle();
    if (!Enabled())
        params.Style |= WS_DISABLED;
    params.ExStyle = 0;
    TForm* main = Application.MainForm();
    if (main && main != this && main->HandleAllocated())
        params.WndParent = main->Handle();
}

void TForm::HandleCreated()
{
    // The monitor's scale, before the children's windows are made at their places.
    TWinControl::ChangeDpi(WindowDpi(Handle()));
    TWinControl::HandleCreated();
    // The window takes the form's font for anything the platform draws on it.
    SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    AlignControls();
    RunScaledWork();
}

void TForm::ChangeDpi(int dpi)
{
    if (dpi == Dpi())
        return;
    TWinControl::ChangeDpi(dpi);
    if (HandleAllocated())
        RunScaledWork();
}

void TForm::DpiChanged(int oldDpi)
{
    TWinControl::DpiChanged(oldDpi);
    if (HandleAllocated())
        SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
}

void TForm::WhenScaled(std::function<void()> work)
{
    scaledWork_.push_back(std::move(work));
    if (HandleAllocated())
        scaledWork_.back()();
}

void TForm::RunScaledWork()
{
    for (const auto& work : scaledWork_)
        work();
}

RECT TForm::ScaledBounds(int dpi) const noexcept
{
    if (suggested_)
        return *suggested_;
    // The design bounds are the frame at 96 DPI around the client area at 96 DPI.
    const RECT design = DesignBounds();
    const RECT frame96 = FrameFor(0, 0, kDesignDpi);
    const int clientWidth = (design.right - design.left) - (frame96.right - frame96.left);
    const int clientHeight = (design.bottom - design.top) - (frame96.bottom - frame96.top);
    const RECT r = FrameFor(ScaledToDpi(clientWidth, dpi), ScaledToDpi(clientHeight, dpi), dpi);
    return {Left(), Top(), Left() + r.right - r.left, Top() + r.bottom - r.top};
}

RECT TForm::FrameFor(int clientWidth, int clientHeight) const noexcept
{
    return FrameFor(clientWidth, clientHeight, Dpi());
}

RECT TForm::FrameFor(int clientWidth, int clientHeight, int dpi) const noexcept
{
    return WindowRectForDpi(RECT{0, 0, clientWidth, clientHeight}, WindowStyle(), 0, dpi);
}

void TForm::SetClientSize(int width, int height)
{
    const RECT r = FrameFor(width, height);
    SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

int TForm::ClientWidth() const noexcept
{
    if (HandleAllocated())
        return TWinControl::ClientWidth();
    const RECT frame = FrameFor(0, 0);
    return Width() - (frame.right - frame.left);
}

int TForm::ClientHeight() const noexcept
{
    if (HandleAllocated())
        return TWinControl::ClientHeight();
    const RECT frame = FrameFor(0, 0);
    return Height() - (frame.bottom - frame.top);
}

void TForm::SetBorderStyle(TBorderStyle style)
{
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    ApplyBorder();
}

void TForm::SetBorderIcons(TBorderIcons icons)
{
    if (icons == borderIcons_)
        return;
    borderIcons_ = icons;
    ApplyBorder();
}

void TForm::ApplyBorder()
{
    // The outer size stays; the client area takes what the border gives up or claims.
    if (!HandleAllocated())
        return;
    const HWND window = Handle();
    const LONG_PTR keep = GetWindowLongPtrA(window, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED);
    SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(WindowStyle()) | keep);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    AlignControls();
}

void TForm::CenterOnDesktop()
{
    const int x = (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2;
    SetBounds(x, y, Width(), Height());
}

void TForm::SetVisible(bool visible)
{
    if (visible == Visible())
        return;
    const HWND window = Handle();
    if (visible) {
        if (position_ == poDesktopCenter)
            CenterOnDesktop();
        InitVisible(true);
        // The show event comes before the window appears on the screen.
        Guarded([this] { DoShow(); }, this);
        if (!Visible())
            return;
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        if (activeControl_ && activeControl_->CanFocus())
            activeControl_->SetFocus();
        else
            SelectNext(true);
    } else {
        DoHide();
        InitVisible(false);
        ShowWindow(window, SW_HIDE);
    }
}

TModalResult TForm::ShowModal()
{
    if (Visible() || modal_)
        throw Exception("Cannot make a visible window modal");
    const HWND window = Handle();
    const HWND previous = GetActiveWindow();
    modalResult_ = mrNone;
    TDisabledWindows disabled(window);
    modal_ = true;
    auto restore = [&]() noexcept {
        // Owners are enabled again before this window hides, so activation goes back to them.
        disabled.Restore();
        Guarded([this] { SetVisible(false); }, this);
        modal_ = false;
        if (previous && IsWindow(previous))
            SetActiveWindow(previous);
    };
    try {
        SetVisible(true);
        while (modalResult_ == mrNone) {
            Application.HandleMessage();
            if (Application.Terminated())
                modalResult_ = mrCancel;
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return modalResult_;
}

void TForm::Close()
{
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    SetVisible(false);
    if (Application.MainForm() == this)
        Application.Terminate();
}

void TForm::SetActiveControl(TWinControl* control)
{
    activeControl_ = control;
    if (control && Visible() && control->CanFocus())
        control->SetFocus();
}

void TForm::FocusMoved(TWinControl& control) noexcept
{
    activeControl_ = &control;
}

std::vector<TWinControl*> TForm::TabList() const
{
    std::vector<TWinControl*> list;
    auto collect = [&list](const TWinControl& parent, auto& self) -> void {
        for (std::size_t i = 0; i < parent.ControlCount(); ++i) {
            auto* w = dynamic_cast<TWinControl*>(&parent.Controls(i));
            if (!w || !w->Visible() || !w->Enabled())
                continue;
            if (w->TabStop())
                list.push_back(w);
            self(*w, self);
        }
    };
    collect(*this, collect);
    return list;
}

void TForm::SelectNext(bool forward)
{
    const std::vector<TWinControl*> list = TabList();
    if (list.empty())
        return;
    TWinControl* current = nullptr;
    for (HWND w = GetFocus(); w && !current; w = GetParent(w))
        current = FromHandle(w);
    auto it = std::find(list.begin(), list.end(), current);
    std::size_t index;
    if (it == list.end())
        index = forward ? 0 : list.size() - 1;
    else if (forward)
        index = (static_cast<std::size_t>(it - list.begin()) + 1) % list.size();
    else
        index = (static_cast<std::size_t>(it - list.begin()) + list.size() - 1) % list.size();
    list[index]->SetFocus();
}

bool TForm::PreTranslateMessage(const MSG& msg)
{
    MSG copy = msg;
    const auto dialogCode = [&] {
        return SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&copy));
    };
    switch (msg.message) {
    case WM_KEYDOWN:
        if (msg.wParam == VK_TAB && !(KeyboardShiftState() & (ssAlt | ssCtrl)) &&
            !(dialogCode() & (DLGC_WANTTAB | DLGC_WANTALLKEYS))) {
            SelectNext(!(KeyboardShiftState() & ssShift));
            return true;
        }
        return false;
    case WM_SYSCHAR:
        return DialogChar(static_cast<char>(msg.wParam));
    case WM_CHAR:
        if (dialogCode() & (DLGC_WANTCHARS | DLGC_WANTALLKEYS))
            return false;
        return DialogChar(static_cast<char>(msg.wParam));
    default:
        return false;
    }
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && activeControl_ && activeControl_->CanFocus()) {
            activeControl_->SetFocus();
            return 0;
        }
        break;
    case WM_SIZE:
        if (Application.MainForm() == this)
            Application.MainFormSized(wParam);
        break;
    case kGetDpiScaledSizeMessage: {
        // The size at the new DPI worked out from the design, so the suggested place fits it.
        const RECT r = ScaledBounds(static_cast<int>(wParam));
        *reinterpret_cast<SIZE*>(lParam) = {r.right - r.left, r.bottom - r.top};
        return TRUE;
    }
    case WM_DPICHANGED: {
        const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
        const int dpi = HIWORD(wParam);
        if (dpi == Dpi()) {
            SetBounds(suggested.left, suggested.top, suggested.right - suggested.left,
                      suggested.bottom - suggested.top);
            return 0;
        }
        suggested_ = suggested;
        try {
            ChangeDpi(dpi);
        } catch (...) {
            suggested_.reset();
            throw;
        }
        suggested_.reset();
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        // The user may move the window; keep the bounds in step without moving it again.
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOMOVE) || !(pos->flags & SWP_NOSIZE)) {
            RECT r;
            GetWindowRect(Handle(), &r);
            SyncBounds(r);
        }
        break;
    }
    default:
        break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
