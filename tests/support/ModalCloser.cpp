#include "support/ModalCloser.h"

ModalCloser* ModalCloser::active_ = nullptr;

namespace {
BOOL CALLBACK FindDialog(HWND window, LPARAM result) noexcept
{
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (IsWindowVisible(window) && std::string(cls) == "#32770") {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

ModalCloser::ModalCloser(WPARAM command, Prepare prepare)
    : commands_{command}, prepare_(prepare), tick_(SetTimer(nullptr, 0, 50, &Tick)),
      deadline_(SetTimer(nullptr, 0, 10000, &Deadline))
{
    active_ = this;
}

ModalCloser::ModalCloser(std::initializer_list<WPARAM> commands)
    : commands_(commands), prepare_(nullptr), tick_(SetTimer(nullptr, 0, 50, &Tick)),
      deadline_(SetTimer(nullptr, 0, 10000, &Deadline))
{
    active_ = this;
}

ModalCloser::~ModalCloser()
{
    KillTimer(nullptr, tick_);
    KillTimer(nullptr, deadline_);
    active_ = nullptr;
}

void CALLBACK ModalCloser::Tick(HWND, UINT, UINT_PTR, DWORD) noexcept
{
    ModalCloser* self = active_;
    if (!self || self->next_ == self->commands_.size())
        return;
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
    // A window already answered may still be visible while it closes.
    if (!dialog || dialog == self->answered_)
        return;
    self->answered_ = dialog;
    if (self->prepare_)
        self->prepare_(dialog);
    PostMessageA(dialog, WM_COMMAND, self->commands_[self->next_++], 0);
}

void CALLBACK ModalCloser::Deadline(HWND, UINT, UINT_PTR, DWORD) noexcept
{
    EndMenu();
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog)
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
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
