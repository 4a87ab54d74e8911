#include "DialogDriver.h"

#include "support/Screenshots.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/controls/Form.h"
#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>


ModalScript::ModalScript(TForm& form, std::vector<DriverStep> steps, int deadlineTicks)
    : form_(form), steps_(std::move(steps)), ticksLeft_(deadlineTicks)
{
    timer_.SetInterval(20);
    timer_.SetOnTimer([this](TObject*) { Tick(); });
}

namespace {
BOOL CALLBACK CollectBoxes(HWND window, LPARAM list) noexcept
{
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (IsWindowVisible(window) && std::string(cls) == "#32770")
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleBoxes()
{
    std::vector<HWND> boxes;
    EnumThreadWindows(GetCurrentThreadId(), &CollectBoxes, reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

std::string WindowText(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK AppendStatic(HWND child, LPARAM text) noexcept
{
    char cls[16] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (std::string(cls) == "Static") {
        auto& all = *reinterpret_cast<std::string*>(text);
        const std::string part = WindowText(child);
        if (!part.empty())
            all += (all.empty() ? "" : "\n") + part;
    }
    return TRUE;
}
} // namespace

void ModalScript::Tick()
{
    // A step may open a box whose own loop runs this timer again: one step at a time.
    if (running_ || Finished())
        return;
    running_ = true;
    if (--ticksLeft_ < 0) {
        std::string open;
        for (HWND box : VisibleBoxes())
            open += " " + DescribeWindow(box);
        ADD_FAILURE() << "the dialog script stopped at step " << next_ + 1 << " of " << steps_.size()
                      << (open.empty() ? std::string() : "; open:" + open);
        next_ = steps_.size();
        for (HWND box : VisibleBoxes())
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(form_.Handle(), WM_CLOSE, 0, 0);
    } else if (steps_[next_]()) {
        ++next_;
    }
    running_ = false;
}

HWND WindowAtCentre(TForm& form, TControl& control)
{
    POINT p = control.ClientToScreen({control.Width() / 2, control.Height() / 2});
    HWND window = form.Handle();
    ScreenToClient(window, &p);
    for (;;) {
        HWND child = ChildWindowFromPointEx(window, p, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!child || child == window)
            return window;
        MapWindowPoints(window, child, &p, 1);
        window = child;
    }
}

namespace {
void PostClick(HWND window, POINT p)
{
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}
} // namespace

bool ClickCentre(TForm& form, TControl& control)
{
    const HWND target = WindowAtCentre(form, control);
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    if (!windowed || target != windowed->Handle()) {
        ADD_FAILURE() << control.Name() << " is not the window at its own centre";
        return false;
    }
    PostClick(target, {control.Width() / 2, control.Height() / 2});
    return true;
}

bool ClickTab(HWND pageControl, int tab)
{
    RECT r{};
    if (!SendMessageA(pageControl, TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(&r))) {
        ADD_FAILURE() << "no tab " << tab;
        return false;
    }
    PostClick(pageControl, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    return true;
}

std::string BoxText(HWND box)
{
    std::string text;
    EnumChildWindows(box, &AppendStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

HWND FindBox(const std::string& caption, const std::string& text)
{
    for (HWND box : VisibleBoxes())
        if (WindowText(box) == caption && BoxText(box).find(text) != std::string::npos)
            return box;
    return nullptr;
}

DriverStep AnswerBox(std::string caption, std::string text, WPARAM command, std::string* seen,
                     std::function<void(HWND)> prepare)
{
    return [=]() {
        const HWND box = FindBox(caption, text);
        if (!box)
            return false;
        if (seen)
            *seen = BoxText(box);
        if (prepare)
            prepare(box);
        PostMessageA(box, WM_COMMAND, command, 0);
        return true;
    };
}

std::unique_ptr<TBitmap> CaptureWindow(HWND window, int margin)
{
    RECT r{};
    GetWindowRect(window, &r);
    const int w = r.right - r.left + 2 * margin, h = r.bottom - r.top + 2 * margin;
    auto shot = std::make_unique<TBitmap>(w, h);
    ScopedWindowDC screen(nullptr);
    BitBlt(shot->Canvas().Handle(), 0, 0, w, h, screen.get(), r.left - margin, r.top - margin, SRCCOPY);
    return shot;
}

void SaveScreenshot(TBitmap& shot, const std::string& name)
{
    if (const std::string folder = ScreenshotFolder(); !folder.empty())
        shot.SaveToFile(folder + name + ".bmp");
}

COLORREF PixelOf(TBitmap& bitmap, int x, int y)
{
    const std::uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}
