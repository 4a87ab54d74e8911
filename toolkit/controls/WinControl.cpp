#include "toolkit/controls/WinControl.h"

#include "toolkit/core/Application.h"
#include "toolkit/core/BusyCursor.h"
#include "toolkit/core/LateBound.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/controls/Form.h"

#include <windowsx.h>

#include <algorithm>
#include <atomic>
#include <optional>

namespace {
constexpr const char* kWindowClass = "QuorrelControl";
// A window of our own class carries its object in this slot of the window's extra bytes and is
// told apart by the class: its messages need no subclass, each of which costs the platform a
// property lookup per message.
constexpr int kObjectSlot = 0;
std::atomic<ATOM> ownClass{0};
// A platform control is bound by a subclass; this id tells ours apart from other subclasses of
// the same window.
constexpr UINT_PTR kBindingId = 0x51524C43;

struct ProgramIcons {
    HICON big = nullptr;
    HICON small = nullptr;
};

// The program's icon is the first icon group of its module, as the shell shows the file. Both
// are shared: the platform keeps them for the module's life.
BOOL CALLBACK TakeFirstIcon(HMODULE module, LPCSTR, LPSTR name, LONG_PTR param) noexcept
{
    auto& icons = *reinterpret_cast<ProgramIcons*>(param);
    icons.big = static_cast<HICON>(LoadImageA(module, name, IMAGE_ICON, 32, 32, LR_SHARED));
    icons.small = static_cast<HICON>(LoadImageA(module, name, IMAGE_ICON, 16, 16, LR_SHARED));
    return FALSE;
}

// The controls whose messages this thread is handling now, innermost first. The frames are
// only compared with a control, never followed into one: a control may go inside its message.
struct MessageFrame {
    const TWinControl* control;
    MessageFrame* outer;
};
thread_local MessageFrame* innermostFrame = nullptr;

bool InMessageOf(const TWinControl* control) noexcept
{
    for (const MessageFrame* frame = innermostFrame; frame; frame = frame->outer)
        if (frame->control == control)
            return true;
    return false;
}

// Messages a window gets while it paints or while a control waits for the answer to its
// notification: an error box shown from inside them would re-enter the control's work.
bool DefersErrors(UINT msg) noexcept
{
    switch (msg) {
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}

// Child windows are created on the parent's window; a control without one cannot exist.
class ENoParentWindow : public Exception {
public:
    explicit ENoParentWindow(const std::string& name)
        : Exception("Control '" + name + "' has no parent window")
    {
    }
};
} // namespace

TWinControl::TWinControl() = default;

TWinControl::~TWinControl()
{
    if (TForm* form = ParentForm(); form && form != this)
        form->ControlGone(*this);
    // Children outlive this part of the object only as orphans.
    for (TControl* c : std::vector<TControl*>(controls_))
        c->SetParent(nullptr);
    DestroyHandle();
}

void TWinControl::RegisterWindowClass()
{
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.lpfnWndProc = &TWinControl::ClassWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        // Every window of ours carries the program's icon from its creation: the platform
        // shows it instead of a default one, where setting it afterwards would cost another
        // conversion for the task bar.
        ProgramIcons icons;
        EnumResourceNamesA(wc.hInstance, RT_GROUP_ICON, &TakeFirstIcon, reinterpret_cast<LONG_PTR>(&icons));
        wc.hIcon = icons.big;
        wc.hIconSm = icons.small;
        wc.lpszClassName = kWindowClass;
        const ATOM atom = RegisterClassExA(&wc);
        ownClass.store(atom, std::memory_order_release);
        return atom != 0;
    }();
    if (!registered)
        throw EOSError("Cannot register the window class");
}

void TWinControl::CreateParams(TCreateParams& params)
{
    if (Visible())
        params.Style |= WS_VISIBLE;
    if (!Enabled())
        params.Style |= WS_DISABLED;
    if (tabStop_)
        params.Style |= WS_TABSTOP;
}

HWND TWinControl::Handle()
{
    if (handle_)
        return handle_.get();
    TCreateParams params;
    CreateParams(params);
    if (params.Style & WS_CHILD) {
        if (!Parent())
            throw ENoParentWindow(Name());
        params.WndParent = Parent()->Handle();
        if (handle_) // the parent's creation made this window already
            return handle_.get();
    }
    const bool own = params.ClassName.empty();
    if (own)
        RegisterWindowClass();
    platformClass_ = !own;
    const RECT r = BoundsRect();
    const HWND window = CreateWindowExA(params.ExStyle, own ? kWindowClass : params.ClassName.c_str(),
                                        Caption().c_str(), params.Style, r.left, r.top, r.right - r.left,
                                        r.bottom - r.top, params.WndParent, nullptr, GetModuleHandleA(nullptr),
                                        own ? this : nullptr);
    if (!window)
        throw EOSError("Cannot create the window of '" + Name() + "'");
    // A platform control is bound now; its class's procedure stays under the binding.
    if (!own && !Bind(window)) {
        DestroyWindow(window);
        throw EOSError("Cannot bind the window of '" + Name() + "'");
    }
    HandleCreated();
    return handle_.get();
}

bool TWinControl::Bind(HWND window) noexcept
{
    if (platformClass_) {
        if (!late::SetWindowSubclass(window, &TWinControl::SubclassProc, kBindingId,
                                     reinterpret_cast<DWORD_PTR>(this)))
            return false;
    } else {
        SetWindowLongPtrA(window, kObjectSlot, reinterpret_cast<LONG_PTR>(this));
        if (GetWindowLongPtrA(window, kObjectSlot) != reinterpret_cast<LONG_PTR>(this))
            return false;
    }
    handle_.reset(window);
    baseProc_ = platformClass_ ? reinterpret_cast<WNDPROC>(GetClassLongPtrA(window, GCLP_WNDPROC)) : &DefWindowProcA;
    return true;
}

void TWinControl::HandleCreated()
{
    ApplyFont();
    // The real client area is known only now (borders, edges).
    AlignControls();
    if (!childWindowsLater_)
        CreateChildWindows();
}

void TWinControl::CreateChildWindows()
{
    childWindowsLater_ = false;
    if (!handle_)
        return;
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->HandleNeeded();
}

void TWinControl::WindowDestroying() noexcept
{
    Guarded([this] { HandleDestroying(); }, this);
}

void TWinControl::DestroyHandle() noexcept
{
    if (!handle_)
        return;
    WindowDestroying();
    const HWND window = handle_.release();
    // Messages of the window's last moments go to the default handling, not to a half-gone object.
    Unbind(window);
    DestroyWindow(window);
}

TWinControl* TWinControl::FromHandle(HWND window) noexcept
{
    // The binding of a window of another thread or process is no pointer of ours.
    if (!window || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return nullptr;
    if (const ATOM own = ownClass.load(std::memory_order_acquire); own && GetClassWord(window, GCW_ATOM) == own)
        return reinterpret_cast<TWinControl*>(GetWindowLongPtrA(window, kObjectSlot));
    DWORD_PTR self = 0;
    if (!late::GetWindowSubclass(window, &TWinControl::SubclassProc, kBindingId, &self))
        return nullptr;
    return reinterpret_cast<TWinControl*>(self);
}

void TWinControl::Unbind(HWND window) const noexcept
{
    if (platformClass_)
        late::RemoveWindowSubclass(window, &TWinControl::SubclassProc, kBindingId);
    else
        SetWindowLongPtrA(window, kObjectSlot, 0);
}

LRESULT CALLBACK TWinControl::ClassWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    // Everything after WM_NCCREATE reaches the object through the binding; a window whose
    // binding is refused is not made.
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        if (auto* self = static_cast<TWinControl*>(cs->lpCreateParams); self && !self->Bind(window))
            return FALSE;
        return DefWindowProcA(window, msg, wParam, lParam);
    }
    if (auto* self = reinterpret_cast<TWinControl*>(GetWindowLongPtrA(window, kObjectSlot)))
        return Dispatch(self, window, msg, wParam, lParam);
    return DefWindowProcA(window, msg, wParam, lParam);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data) noexcept
{
    return Dispatch(reinterpret_cast<TWinControl*>(data), window, msg, wParam, lParam);
}

LRESULT TWinControl::Dispatch(TWinControl* self, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (msg == WM_DESTROY)
        self->WindowDestroying();
    if (msg == WM_NCDESTROY) {
        // The platform destroyed the window (with its parent): forget it.
        self->handle_.release();
        self->Unbind(window);
        return self->platformClass_ ? late::DefSubclassProc(window, msg, wParam, lParam)
                                    : DefWindowProcA(window, msg, wParam, lParam);
    }
    MessageFrame frame{self, innermostFrame};
    innermostFrame = &frame;
    LRESULT result = 0;
    {
        std::optional<TDeferredErrors> deferred;
        if (DefersErrors(msg))
            deferred.emplace();
        try {
            result = self->WndProc(msg, wParam, lParam);
        } catch (...) {
            Application.HandleException(std::current_exception(), self);
        }
    }
    innermostFrame = frame.outer;
    return result;
}

LRESULT TWinControl::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const HWND window = handle_.get();
    if (!platformClass_)
        return DefWindowProcA(window, msg, wParam, lParam);
    // Inside a message of this window the next subclass below ours handles it; asked from
    // outside (Perform), the window's own procedure does.
    if (InMessageOf(this))
        return late::DefSubclassProc(window, msg, wParam, lParam);
    return CallWindowProcA(baseProc_ ? baseProc_ : &DefWindowProcA, window, msg, wParam, lParam);
}

LRESULT TWinControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!handle_)
        return 0;
    return WndProc(msg, wParam, lParam);
}

bool TWinControl::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_COMMAND:
        if (auto* child = FromHandle(reinterpret_cast<HWND>(lParam)); child && child != this) {
            result = 0;
            return child->Command(HIWORD(wParam));
        }
        return false;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (auto* child = FromHandle(header->hwndFrom); child && child != this)
            return child->Notify(*header, result);
        return false;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (auto* child = FromHandle(reinterpret_cast<HWND>(lParam)); child && child != this) {
            if (HBRUSH brush = child->ControlColor(reinterpret_cast<HDC>(wParam))) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (ReflectToChild(msg, wParam, lParam, result))
        return result;
    const bool own = !platformClass_;
    switch (msg) {
    case WM_PAINT:
        if (own)
            return HandlePaint(wParam);
        break;
    case WM_ERASEBKGND:
        if (own)
            return EraseBackground(reinterpret_cast<HDC>(wParam)) ? 1 : 0;
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        HandleMouse(msg, wParam, lParam);
        break;
    case WM_MOUSELEAVE:
        mouseInside_ = false;
        MouseLeave();
        return 0;
    case WM_CAPTURECHANGED:
        mouseControl_ = nullptr;
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = static_cast<WORD>(wParam);
        KeyDown(key, KeyboardShiftState());
        if (key == 0)
            return 0;
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = static_cast<WORD>(wParam);
        KeyUp(key, KeyboardShiftState());
        if (key == 0)
            return 0;
        break;
    }
    case WM_CHAR: {
        char ch = static_cast<char>(wParam);
        KeyPress(ch);
        if (ch == 0)
            return 0;
        wParam = static_cast<unsigned char>(ch);
        break;
    }
    case WM_SETFOCUS: {
        const LRESULT r = DefaultHandler(msg, wParam, lParam);
        if (TForm* form = ParentForm(); form && form != this)
            form->FocusMoved(*this);
        FocusGained();
        return r;
    }
    case WM_KILLFOCUS: {
        const LRESULT r = DefaultHandler(msg, wParam, lParam);
        FocusLost();
        return r;
    }
    case WM_SIZE: {
        const LRESULT r = DefaultHandler(msg, wParam, lParam);
        Resized();
        return r;
    }
    case WM_SETCURSOR:
        // Batched work shows the hourglass: the class cursor must not take its place whenever
        // the mouse moves.
        if (TBusyCursor::Active()) {
            SetCursor(LoadCursor(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_SYSCOLORCHANGE:
        // Only top-level windows get the message; the children hear it from here (a child
        // window that gets it was sent it by SysColorChanged).
        if (!(GetWindowLongPtrA(handle_.get(), GWL_STYLE) & WS_CHILD))
            SysColorChanged();
        break;
    default:
        break;
    }
    return DefaultHandler(msg, wParam, lParam);
}

LRESULT TWinControl::HandleMouse(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    if (msg == WM_MOUSEMOVE && !mouseInside_) {
        mouseInside_ = true;
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, handle_.get(), 0};
        TrackMouseEvent(&tme);
        MouseEnter();
    }
    const bool press = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
                       msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
    const bool release = msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
    // A windowless child under the pointer takes the press and everything up to the release.
    TControl* target = mouseControl_;
    if (!target && press) {
        target = ControlAtPos({x, y});
        if (target && target->Enabled()) {
            mouseControl_ = target;
            if (target->ControlStyle() & csCaptureMouse)
                SetCapture(handle_.get());
        } else {
            target = nullptr;
        }
    }
    if (!target && msg == WM_MOUSEMOVE) {
        TControl* over = ControlAtPos({x, y});
        target = over && over->Enabled() ? over : nullptr;
    }
    if (target) {
        const WPARAM keys = wParam;
        if (release && mouseControl_ == target) {
            mouseControl_ = nullptr;
            if (GetCapture() == handle_.get())
                ReleaseCapture();
        }
        target->DispatchMouse(msg, keys, x - target->Left(), y - target->Top());
        return 0;
    }
    // A platform control keeps its own capture; taking it away would cancel its click.
    const bool capture = !platformClass_ && (ControlStyle() & csCaptureMouse);
    if (press && capture)
        SetCapture(handle_.get());
    DispatchMouse(msg, wParam, x, y);
    if (release && capture && GetCapture() == handle_.get())
        ReleaseCapture();
    return 0;
}

TControl* TWinControl::ControlAtPos(POINT p) const noexcept
{
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible())
            continue;
        const RECT r = c->BoundsRect();
        if (PtInRect(&r, p))
            return c;
    }
    return nullptr;
}

LRESULT TWinControl::HandlePaint(WPARAM wParam)
{
    // Another control may ask for our image under it by handing its own device context.
    if (HDC dc = reinterpret_cast<HDC>(wParam)) {
        PaintWindow(dc);
        PaintControls(dc);
        return 0;
    }
    const ScopedPaint paint(handle_.get());
    PaintWindow(paint.get());
    PaintControls(paint.get());
    return 0;
}

void TWinControl::PaintWindow(HDC) {}

bool TWinControl::EraseBackground(HDC dc)
{
    if (ControlStyle() & csOpaque)
        return true;
    RECT r;
    GetClientRect(handle_.get(), &r);
    FillRect(dc, &r, ColorBrush());
    return true;
}

void TWinControl::PaintControls(HDC dc)
{
    for (TControl* c : controls_) {
        if (dynamic_cast<TWinControl*>(c) || !c->Visible())
            continue;
        const RECT r = c->BoundsRect();
        if (!RectVisible(dc, &r))
            continue;
        const ScopedSavedDC saved(dc);
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + r.left, origin.y + r.top, nullptr);
        IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
        c->PaintTo(dc);
    }
}

HBRUSH TWinControl::ColorBrush()
{
    if (!brush_ || brushColor_ != Color()) {
        brush_.reset(CreateSolidBrush(ColorToRGB(Color())));
        brushColor_ = Color();
    }
    return brush_.get();
}

HBRUSH TWinControl::ControlColor(HDC dc)
{
    SetTextColor(dc, ColorToRGB(Font().Color()));
    SetBkColor(dc, ColorToRGB(Color()));
    return ColorBrush();
}

bool TWinControl::Command(WORD)
{
    return false;
}

bool TWinControl::Notify(NMHDR&, LRESULT&)
{
    return false;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift)
{
    if (OnKeyUp)
        OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key)
{
    if (OnKeyPress)
        OnKeyPress(this, key);
}

void TWinControl::FocusGained()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::FocusLost()
{
    if (OnExit)
        OnExit(this);
}

void TWinControl::Resized()
{
    AlignControls();
}

void TWinControl::AlignControls()
{
    for (TControl* c : controls_)
        if (c->Align() == alClient)
            c->SetBounds(0, 0, ClientWidth(), ClientHeight());
}

void TWinControl::ChildInserted(TControl& child)
{
    controls_.push_back(&child);
    if (auto* w = dynamic_cast<TWinControl*>(&child); w && handle_ && !childWindowsLater_)
        w->HandleNeeded();
}

void TWinControl::ChildRemoved(TControl& child) noexcept
{
    if (mouseControl_ == &child)
        mouseControl_ = nullptr;
    controls_.erase(std::remove(controls_.begin(), controls_.end(), &child), controls_.end());
    if (auto* w = dynamic_cast<TWinControl*>(&child))
        w->DestroyHandle();
}

void TWinControl::SetParent(TWinControl* parent)
{
    if (parent == Parent())
        return;
    DestroyHandle();
    TControl::SetParent(parent);
}

void TWinControl::SetVisible(bool visible)
{
    if (visible == Visible())
        return;
    TControl::SetVisible(visible);
    if (handle_)
        ShowWindow(handle_.get(), visible ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool enabled)
{
    if (enabled == Enabled())
        return;
    if (handle_)
        EnableWindow(handle_.get(), enabled);
    TControl::SetEnabled(enabled);
}

int TWinControl::ClientWidth() const noexcept
{
    if (!handle_)
        return Width();
    RECT r;
    GetClientRect(handle_.get(), &r);
    return r.right;
}

int TWinControl::ClientHeight() const noexcept
{
    if (!handle_)
        return Height();
    RECT r;
    GetClientRect(handle_.get(), &r);
    return r.bottom;
}

POINT TWinControl::ClientToScreen(POINT p) const
{
    if (!handle_)
        return TControl::ClientToScreen(p);
    ::ClientToScreen(handle_.get(), &p);
    return p;
}

POINT TWinControl::ScreenToClient(POINT p) const
{
    if (!handle_)
        return TControl::ScreenToClient(p);
    ::ScreenToClient(handle_.get(), &p);
    return p;
}

bool TWinControl::Focused() const noexcept
{
    return handle_ && GetFocus() == handle_.get();
}

bool TWinControl::CanFocus() const noexcept
{
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    ::SetFocus(Handle());
}

void TWinControl::Invalidate()
{
    if (handle_)
        InvalidateRect(handle_.get(), nullptr, (ControlStyle() & csOpaque) ? FALSE : TRUE);
}

void TWinControl::Update()
{
    if (handle_)
        UpdateWindow(handle_.get());
}

void TWinControl::BoundsChanged(const RECT&)
{
    if (handle_) {
        const RECT r = BoundsRect();
        SetWindowPos(handle_.get(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        AlignControls();
    }
}

void TWinControl::ApplyFont()
{
    // A window not on the screen yet is drawn with the font anyway; only a shown one repaints.
    if (handle_ && platformClass_)
        SendMessageA(handle_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()),
                     IsWindowVisible(handle_.get()));
}

void TWinControl::FontChanged()
{
    ApplyFont();
    TControl::FontChanged();
}

void TWinControl::CaptionChanged()
{
    if (handle_)
        SetWindowTextA(handle_.get(), Caption().c_str());
    TControl::CaptionChanged();
}

void TWinControl::ColorChanged()
{
    TControl::ColorChanged();
    for (TControl* c : controls_)
        c->ParentColorChanged();
}

void TWinControl::SysColorChanged()
{
    TControl::SysColorChanged();
    // The platform's own controls (tabs, tree) keep the colours they read: they are told too.
    if (handle_ && platformClass_ && (GetWindowLongPtrA(handle_.get(), GWL_STYLE) & WS_CHILD))
        SendMessageA(handle_.get(), WM_SYSCOLORCHANGE, 0, 0);
    for (TControl* c : controls_)
        c->SysColorChanged();
}

bool TWinControl::DialogChar(char ch)
{
    for (TControl* c : controls_)
        if (c->Visible() && c->DialogChar(ch))
            return true;
    return false;
}
