#include "support/ModalCloser.h"

#include <gtest/gtest.h>

#include <utility>

ModalCloser* ModalCloser::active_ = nullptr;

namespace {

constexpr UINT TickMs = 50;
constexpr UINT DeadlineMs = 10000;
constexpr const char* DialogClass = "#32770";
// The control of a message box that holds its text.
constexpr int MessageTextId = 0xFFFF;

std::string ClassOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string CaptionOf(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string MessageTextOf(HWND window)
{
    char text[2048] = {};
    GetDlgItemTextA(window, MessageTextId, text, sizeof text);
    return text;
}

struct Search {
    std::string extraClass;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM param) noexcept
{
    try {
        auto& search = *reinterpret_cast<Search*>(param);
        if (IsWindowVisible(window)) {
            const std::string cls = ClassOf(window);
            if (cls == DialogClass || (!search.extraClass.empty() && cls == search.extraClass))
                search.found.push_back(window);
        }
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

void Close(HWND window)
{
    if (ClassOf(window) == DialogClass)
        EndDialog(window, IDCANCEL);
    else
        PostMessageA(window, WM_CLOSE, 0, 0);
}

} // namespace

ExpectedWindow MessageBoxWindow(std::string caption, std::string text, WPARAM answer)
{
    ExpectedWindow window;
    window.caption = std::move(caption);
    window.text = std::move(text);
    window.answer = answer;
    return window;
}

ExpectedWindow DialogWindow(std::string caption, WPARAM answer, std::function<void(HWND)> prepare)
{
    ExpectedWindow window;
    window.caption = std::move(caption);
    window.answer = answer;
    window.prepare = std::move(prepare);
    return window;
}

std::string DescribeWindow(HWND window)
{
    std::string text = "\"" + CaptionOf(window) + "\"";
    const std::string message = MessageTextOf(window);
    if (!message.empty())
        text += ": " + message;
    return text;
}

ModalCloser::ModalCloser(std::vector<ExpectedWindow> expected, std::source_location where)
    : expected_(std::move(expected)), where_(where), replaced_(active_),
      tick_(SetTimer(nullptr, 0, TickMs, &Tick)), deadline_(SetTimer(nullptr, 0, DeadlineMs, &Deadline))
{
    active_ = this;
}

ModalCloser::ModalCloser(ExpectedWindow expected, std::source_location where)
    : ModalCloser(std::vector<ExpectedWindow>{std::move(expected)}, where)
{
}

ModalCloser::~ModalCloser()
{
    KillTimer(nullptr, tick_);
    if (deadline_)
        KillTimer(nullptr, deadline_);
    active_ = replaced_;
}

void ModalCloser::EndAfter(UINT milliseconds)
{
    if (deadline_)
        KillTimer(nullptr, deadline_);
    deadline_ = SetTimer(nullptr, 0, milliseconds, &Deadline);
}

std::vector<HWND> ModalCloser::OpenDialogs() const
{
    Search search;
    if (next_ < expected_.size())
        search.extraClass = expected_[next_].windowClass;
    EnumThreadWindows(GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void ModalCloser::Fail(const std::string& what, HWND window)
{
    ADD_FAILURE_AT(where_.file_name(), static_cast<int>(where_.line())) << what << DescribeWindow(window);
}

void ModalCloser::AnswerOrFail()
{
    const auto gone = [](HWND window) { return !IsWindow(window); };
    std::erase_if(answered_, gone);
    std::erase_if(closed_, gone);
    for (HWND window : OpenDialogs()) {
        if (answered_.contains(window) || closed_.contains(window))
            continue;
        if (next_ < expected_.size()) {
            const ExpectedWindow& expected = expected_[next_];
            if (ClassOf(window) == expected.windowClass && CaptionOf(window) == expected.caption &&
                (expected.text.empty() || MessageTextOf(window) == expected.text)) {
                ++next_;
                answered_.insert(window);
                if (expected.prepare)
                    expected.prepare(window);
                if (expected.answer)
                    PostMessageA(window, WM_COMMAND, expected.answer, 0);
                continue;
            }
        }
        closed_.insert(window);
        Fail("a window nobody expected came up: ", window);
        Close(window);
    }
}

void ModalCloser::CloseWhatIsLeft()
{
    EndMenu();
    // What was answered and still shows did not take its answer; what came up since the last
    // tick is left to the next one.
    for (HWND window : OpenDialogs()) {
        if (!answered_.contains(window))
            continue;
        answered_.erase(window);
        closed_.insert(window);
        Fail("a window did not close after its answer: ", window);
        Close(window);
    }
}

void CALLBACK ModalCloser::Tick(HWND, UINT, UINT_PTR, DWORD) noexcept
{
    try {
        if (active_ && handsOff_ == 0)
            active_->AnswerOrFail();
    } catch (...) {
        // Nothing may cross the platform's dispatch; the next tick tries again.
    }
}

void CALLBACK ModalCloser::Deadline(HWND, UINT, UINT_PTR id, DWORD) noexcept
{
    try {
        // Only the closer that answers now acts on its own deadline, once.
        if (active_ && active_->deadline_ == id) {
            KillTimer(nullptr, id);
            active_->deadline_ = 0;
            active_->CloseWhatIsLeft();
        }
    } catch (...) {
    }
}

TestOwnerWindow::TestOwnerWindow()
    : window_(CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr))
{
    SetForegroundWindow(window_);
}

TestOwnerWindow::~TestOwnerWindow()
{
    DestroyWindow(window_);
}
