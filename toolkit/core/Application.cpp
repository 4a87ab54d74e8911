#include "toolkit/core/Application.h"

#include "toolkit/core/ApplicationWindow.h"
#include "toolkit/core/Component.h"
#include "toolkit/core/Exception.h"
#include "toolkit/core/PathText.h"
#include "toolkit/controls/Form.h"

#include <algorithm>

TApplication Application;

namespace {
// Open TDeferredErrors scopes of this thread.
thread_local int deferringScopes = 0;
// Only while the application object exists may components that go tell it so.
bool applicationAlive = false;
} // namespace

std::string TitleFromExeName(std::string_view path)
{
    const std::size_t slash = path.find_last_of("\\/:");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    std::string title(name);
    if (title.size() > 1)
        CharLowerBuffA(title.data() + 1, static_cast<DWORD>(title.size() - 1));
    return title;
}

std::string ErrorBoxText(std::string_view message)
{
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text.push_back('.');
    return text;
}

std::string MessageOf(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

TApplication::TApplication()
{
    title_ = TitleFromExeName(ProgramPath());
    applicationAlive = true;
}

TApplication::~TApplication()
{
    DestroyForms();
    applicationAlive = false;
}

void TApplication::DestroyForms() noexcept
{
    DestroyNewestFirst(owned_); // the main form, made first, goes last
}

void TApplication::OwnForm(std::unique_ptr<TForm> form)
{
    owned_.push_back(std::move(form));
}

void TApplication::AddForm(TForm* form)
{
    forms_.push_back(form);
}

void TApplication::RemoveForm(TForm* form) noexcept
{
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (const HWND window = form->AllocatedHandle())
        hiddenByMinimize_.erase(std::remove(hiddenByMinimize_.begin(), hiddenByMinimize_.end(), window),
                                hiddenByMinimize_.end());
    if (mainForm_ == form)
        mainForm_ = nullptr;
}

TForm* TApplication::FormOfWindow(HWND window) const noexcept
{
    if (!window)
        return nullptr;
    const HWND root = GetAncestor(window, GA_ROOT);
    for (TForm* form : forms_)
        if (form->HandleAllocated() && form->Handle() == root)
            return form;
    return nullptr;
}

void TApplication::Run()
{
    if (mainForm_ && !terminated_ && !quitRequested_)
        mainForm_->Show();
    while (!terminated_)
        HandleMessage();
    // Errors whose message came after the end are still told.
    HandlePostedErrors();
}

bool TApplication::PreTranslate(MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    TForm* form = FormOfWindow(msg.hwnd);
    return form && form->PreTranslateMessage(msg);
}

bool TApplication::ProcessMessage(MSG& msg)
{
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    const bool handled = GuardedResult([&] { return PreTranslate(msg); }, true);
    if (!handled) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (!terminated_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ProcessMessage(msg);
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ProcessMessage(msg);
    else if (!terminated_)
        WaitMessage();
}

void TApplication::Terminate() noexcept
{
    quitRequested_ = true;
    PostQuitMessage(0);
}

void TApplication::Minimize() noexcept
{
    if (mainForm_ && mainForm_->HandleAllocated())
        ShowWindow(mainForm_->Handle(), SW_MINIMIZE); // MainFormSized hides the others
}

void TApplication::Restore() noexcept
{
    if (mainForm_ && mainForm_->HandleAllocated() && IsIconic(mainForm_->Handle()))
        ShowWindow(mainForm_->Handle(), SW_RESTORE); // MainFormSized shows the others
}

void TApplication::MainFormSized(WPARAM kind) noexcept
{
    const HWND main = mainForm_ ? mainForm_->AllocatedHandle() : nullptr;
    if (kind == SIZE_MINIMIZED) {
        // Only the windows shown now: forms hidden by the program stay hidden on restore.
        for (TForm* form : forms_) {
            const HWND window = form->AllocatedHandle();
            if (window && window != main && IsWindowVisible(window)) {
                hiddenByMinimize_.push_back(window);
                ShowWindow(window, SW_HIDE);
            }
        }
    } else if (kind == SIZE_RESTORED || kind == SIZE_MAXIMIZED) {
        // The platform's own minimise command may have hidden the owned windows first; those
        // it brings back itself when asked.
        if (main)
            ShowOwnedPopups(main, TRUE);
        const std::vector<HWND> hidden = std::move(hiddenByMinimize_);
        hiddenByMinimize_.clear();
        for (HWND window : hidden)
            if (FormOfWindow(window))
                ShowWindow(window, SW_SHOWNA);
        // The window the user worked in last comes back to the front.
        if (!hidden.empty() && IsWindow(hidden.back()))
            SetForegroundWindow(hidden.back());
    }
}

void TApplication::HandleException(std::exception_ptr error, TObject* sender) noexcept
{
    if (deferringScopes > 0) {
        try {
            posted_.push_back({error, sender});
            return;
        } catch (...) {
            // No room to keep it: shown now is better than lost.
        }
    }
    HandleNow(error, sender);
}

void TApplication::HandleNow(std::exception_ptr error, TObject* sender) noexcept
{
    try {
        const std::string message = MessageOf(error);
        if (OnException)
            OnException(sender ? sender : this, message);
        else
            ShowException(message);
    } catch (...) {
        // An error inside the error handler itself has nowhere left to go.
    }
}

void TApplication::HandlePostedErrors() noexcept
{
    // A message loop inside a paint or notification may get here: the scope posts again.
    if (deferringScopes > 0)
        return;
    // Handling may post more (a box's own loop paints): those come in a later round.
    std::vector<PostedError> errors = std::move(posted_);
    posted_.clear();
    for (const PostedError& posted : errors)
        HandleNow(posted.error, posted.sender);
}

void TApplication::SenderGone(const TObject* sender) noexcept
{
    if (!applicationAlive)
        return;
    for (PostedError& posted : posted_)
        if (posted.sender == sender)
            posted.sender = nullptr;
}

TDeferredErrors::TDeferredErrors() noexcept
{
    ++deferringScopes;
}

TDeferredErrors::~TDeferredErrors()
{
    if (--deferringScopes > 0 || Application.posted_.empty())
        return;
    // Without the application window's message the errors are handled here, after the
    // handler that raised them but before the platform's code goes on.
    if (!PostErrorHandling())
        Application.HandlePostedErrors();
}

void TApplication::ShowException(const std::string& message) noexcept
{
    MessageBoxA(GetActiveWindow(), ErrorBoxText(message).c_str(), title_.c_str(), MB_ICONERROR | MB_OK);
}
