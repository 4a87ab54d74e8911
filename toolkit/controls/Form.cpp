#include "toolkit/controls/Form.h"

#include "toolkit/core/Application.h"
#include "toolkit/core/DisplayDpi.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/controls/PageControl.h"
#include "toolkit/controls/RadioButton.h"
#include "toolkit/controls/TabSheet.h"

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

// The button of a radio group that Tab stops at: the checked one, else the first that can take
// the focus. The radio buttons of one parent are one group.
TWinControl* GroupStop(TRadioButton& radio)
{
    TWinControl* parent = radio.Parent();
    if (!parent)
        return &radio;
    TRadioButton* first = nullptr;
    for (std::size_t i = 0; i < parent->ControlCount(); ++i) {
        auto* r = dynamic_cast<TRadioButton*>(&parent->Controls(i));
        if (!r || !r->Visible() || !r->Enabled())
            continue;
        if (r->Checked())
            return r;
        if (!first)
            first = r;
    }
    return first ? first : &radio;
}

TWinControl* TabStopOf(TWinControl* control)
{
    if (auto* radio = dynamic_cast<TRadioButton*>(control))
        return GroupStop(*radio);
    return control;
}

bool Contains(const std::vector<TWinControl*>& list, const TWinControl* control)
{
    return std::find(list.begin(), list.end(), control) != list.end();
}

// The control of ours that holds the keyboard focus (or whose child window does), or null.
TWinControl* FocusedControl() noexcept
{
    for (HWND w = GetFocus(); w; w = GetParent(w))
        if (TWinControl* c = TWinControl::FromHandle(w))
            return c;
    return nullptr;
}

bool IsArrow(WPARAM key) noexcept
{
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

WORD CuesHiddenAtStart() noexcept
{
    BOOL shown = FALSE;
    if (SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &shown, 0) && shown)
        return 0;
    return UISF_HIDEFOCUS | UISF_HIDEACCEL;
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

TForm::TForm() : hiddenCues_(CuesHiddenAtStart())
{
    InitVisible(false);
    SetParentFont(false);
    Application.AddForm(this);
}

TForm::~TForm()
{
    activeControl_ = defaultControl_ = cancelControl_ = nullptr;
    tabSequence_.clear();
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
        CreateChildWindows();
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        // Opened from the keyboard, the window shows its cues at once, as the platform's own
        // dialogs do (the platform decides by the last input and answers WM_UPDATEUISTATE).
        if (hiddenCues_)
            SendMessageA(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, hiddenCues_), 0);
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
            // Pages without a tab to show have no stop of their own.
            const auto* pages = dynamic_cast<const TPageControl*>(w);
            if (TWinControl* stop = TabStopOf(w);
                w->TabStop() && !Contains(list, stop) && !(pages && pages->VisibleTabCount() == 0))
                list.push_back(stop);
            self(*w, self);
        }
    };
    collect(*this, collect);
    if (tabSequence_.empty())
        return list;
    std::vector<TWinControl*> ordered;
    for (TWinControl* c : tabSequence_)
        if (TWinControl* stop = TabStopOf(c); Contains(list, stop) && !Contains(ordered, stop))
            ordered.push_back(stop);
    for (TWinControl* c : list)
        if (!Contains(ordered, c))
            ordered.push_back(c);
    return ordered;
}

void TForm::SetTabSequence(std::vector<TWinControl*> sequence)
{
    tabSequence_ = std::move(sequence);
}

void TForm::ControlGone(TWinControl& control) noexcept
{
    if (activeControl_ == &control)
        activeControl_ = nullptr;
    if (defaultControl_ == &control)
        defaultControl_ = nullptr;
    if (cancelControl_ == &control)
        cancelControl_ = nullptr;
    tabSequence_.erase(std::remove(tabSequence_.begin(), tabSequence_.end(), &control), tabSequence_.end());
}

void TForm::SelectNext(bool forward)
{
    const std::vector<TWinControl*> list = TabList();
    if (list.empty())
        return;
    TWinControl* current = FocusedControl();
    if (current)
        current = TabStopOf(current);
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
        return DialogKey(msg);
    case WM_SYSKEYDOWN:
        // Alt: the user reaches for an access key.
        if (msg.wParam == VK_MENU)
            ShowKeyboardCues(UISF_HIDEFOCUS | UISF_HIDEACCEL);
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

bool TForm::DialogKey(const MSG& msg)
{
    MSG copy = msg;
    const LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&copy));
    const TShiftState shift = KeyboardShiftState();
    const WPARAM key = msg.wParam;
    if (OnShortCut && OnShortCut(static_cast<WORD>(key), shift))
        return true;
    if (key == VK_TAB && !(shift & ssAlt)) {
        if (shift & ssCtrl) {
            ShowKeyboardCues(UISF_HIDEFOCUS);
            return TurnPage(!(shift & ssShift));
        }
        if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS))
            return false;
        ShowKeyboardCues(UISF_HIDEFOCUS);
        SelectNext(!(shift & ssShift));
        return true;
    }
    if (IsArrow(key) && !(shift & (ssAlt | ssCtrl))) {
        ShowKeyboardCues(UISF_HIDEFOCUS);
        TWinControl* focused = FocusedControl();
        if (focused && dynamic_cast<TRadioButton*>(focused))
            return MoveInRadioGroup(*focused, key == VK_RIGHT || key == VK_DOWN);
        return false;
    }
    if (key == VK_RETURN && !(shift & ssAlt)) {
        // A button takes Enter itself; a multi-line text box takes it as a line break.
        if (code & (DLGC_WANTMESSAGE | DLGC_WANTALLKEYS | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
            return false;
        if (!defaultControl_ || !defaultControl_->Showing() || !defaultControl_->Enabled())
            return false;
        defaultControl_->Click();
        return true;
    }
    if (key == VK_ESCAPE) {
        if (!cancelControl_ || !cancelControl_->Showing() || !cancelControl_->Enabled())
            return false;
        cancelControl_->Click();
        return true;
    }
    return false;
}

bool TForm::MoveInRadioGroup(TWinControl& focused, bool forward)
{
    TWinControl* parent = focused.Parent();
    if (!parent)
        return false;
    std::vector<TRadioButton*> group;
    for (std::size_t i = 0; i < parent->ControlCount(); ++i)
        if (auto* r = dynamic_cast<TRadioButton*>(&parent->Controls(i)); r && r->Visible() && r->Enabled())
            group.push_back(r);
    const auto it = std::find(group.begin(), group.end(), &focused);
    if (it == group.end() || group.size() < 2)
        return true;
    const std::size_t at = static_cast<std::size_t>(it - group.begin());
    TRadioButton* next = group[(at + (forward ? 1 : group.size() - 1)) % group.size()];
    // The choice moves with the focus, as in every radio group of the platform.
    next->SetFocus();
    next->SetChecked(true);
    return true;
}

bool TForm::TurnPage(bool forward)
{
    TWinControl* focused = FocusedControl();
    TPageControl* pages = nullptr;
    for (TControl* c = focused; c && !pages; c = c->Parent())
        pages = dynamic_cast<TPageControl*>(c);
    if (!pages) {
        auto find = [&pages](const TWinControl& parent, auto& self) -> void {
            for (std::size_t i = 0; i < parent.ControlCount() && !pages; ++i) {
                auto* w = dynamic_cast<TWinControl*>(&parent.Controls(i));
                if (!w || !w->Visible())
                    continue;
                if (auto* p = dynamic_cast<TPageControl*>(w); p && p->VisibleTabCount() > 1)
                    pages = p;
                else
                    self(*w, self);
            }
        };
        find(*this, find);
    }
    if (!pages)
        return false;
    TTabSheet* before = pages->ActivePage();
    bool insidePage = false;
    for (TControl* c = focused; c && before; c = c->Parent())
        insidePage = insidePage || c == before;
    if (pages->SelectNextPage(forward) && insidePage && pages->CanFocus())
        pages->SetFocus(); // the control that had the focus is hidden with its page
    return true;
}

void TForm::ShowKeyboardCues(WORD cues)
{
    if (!(hiddenCues_ & cues))
        return;
    hiddenCues_ = static_cast<WORD>(hiddenCues_ & ~cues);
    if (!HandleAllocated())
        return;
    // The platform's own controls follow the window's state.
    SendMessageA(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, cues), 0);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TForm::UpdateCues(WORD action, WORD cues)
{
    cues &= UISF_HIDEFOCUS | UISF_HIDEACCEL;
    WORD hidden = hiddenCues_;
    if (action == UIS_SET)
        hidden |= cues;
    else if (action == UIS_CLEAR)
        hidden = static_cast<WORD>(hidden & ~cues);
    if (hidden == hiddenCues_)
        return;
    hiddenCues_ = hidden;
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_GETICON:
        // A window with a task-bar button of its own answers with its class's icon, the
        // program's, when none was set for it alone.
        if (const LRESULT own = DefaultHandler(msg, wParam, lParam); own || GetWindow(Handle(), GW_OWNER))
            return own;
        return static_cast<LRESULT>(GetClassLongPtrA(Handle(), wParam == ICON_BIG ? GCLP_HICON : GCLP_HICONSM));
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && activeControl_ && activeControl_->CanFocus()) {
            activeControl_->SetFocus();
            return 0;
        }
        break;
    case WM_UPDATEUISTATE:
        UpdateCues(LOWORD(wParam), HIWORD(wParam));
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
