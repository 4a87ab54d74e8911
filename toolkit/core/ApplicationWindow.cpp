#include "toolkit/core/ApplicationWindow.h"

#include "toolkit/core/Application.h"
#include "toolkit/core/Exception.h"
#include "toolkit/core/Scoped.h"

#include <atomic>
#include <exception>

namespace {
constexpr const char* kClassName = "QuorrelApplicationWindow";
constexpr UINT kRunCall = WM_APP + 0x51;
constexpr UINT kHandlePostedErrors = WM_APP + 0x52;

struct PendingCall {
    const std::function<void()>* call;
    std::exception_ptr error;
    bool ran = false;
};

// Made once and kept to the end of the process; destroyed by the thread that runs the static
// destructors, which is the GUI thread that made it.
ScopedWindow& WindowOwner()
{
    static ScopedWindow window;
    return window;
}
std::atomic<HWND> madeWindow{nullptr};

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (msg == kRunCall) {
        auto* pending = reinterpret_cast<PendingCall*>(lParam);
        try {
            (*pending->call)();
        } catch (...) {
            pending->error = std::current_exception();
        }
        pending->ran = true;
        return 1;
    }
    if (msg == kHandlePostedErrors) {
        Application.HandlePostedErrors();
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}
} // namespace

HWND ApplicationWindow()
{
    ScopedWindow& owner = WindowOwner();
    if (owner)
        return owner.get();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EOSError("Cannot register the application window class");
    // A pop-up that is never shown: top-level, so it can own dialogs and menus of the shell.
    owner.reset(CreateWindowExA(0, kClassName, Application.Title().c_str(), WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, wc.hInstance, nullptr));
    if (!owner)
        throw EOSError("Cannot create the application window");
    madeWindow = owner.get();
    return owner.get();
}

void CallOnApplicationThread(const std::function<void()>& call)
{
    const HWND window = madeWindow;
    if (!window)
        throw EOSError("There is no application window to run the call on");
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        call();
        return;
    }
    PendingCall pending{&call, nullptr};
    SendMessageA(window, kRunCall, 0, reinterpret_cast<LPARAM>(&pending));
    if (!pending.ran)
        throw EOSError("The call did not reach the application window");
    if (pending.error)
        std::rethrow_exception(pending.error);
}

bool PostErrorHandling() noexcept
{
    try {
        return PostMessageA(ApplicationWindow(), kHandlePostedErrors, 0, 0) != FALSE;
    } catch (...) {
        return false;
    }
}
