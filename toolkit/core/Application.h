#pragma once
// The one application object: title, message loop, main form and the standard error handler.
// Every callback the platform makes into our code ends at a catch that hands the error here,
// because a C++ exception must never unwind through the platform's own frames.
#include "toolkit/core/Object.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TForm;

// The title rule: the file name without its folder and without everything from its first full
// stop, the first character kept and every later one lower-cased ("C:\X\MYTOOL.EXE" -> "Mytool").
std::string TitleFromExeName(std::string_view path);
// The text of the error box: the message, with a full stop appended when the code of its last
// character is above that of the full stop.
std::string ErrorBoxText(std::string_view message);
// The user-visible message of any error that reached the application.
std::string MessageOf(std::exception_ptr error);

using TExceptionEvent = std::function<void(TObject* sender, const std::string& message)>;

// Raised to end the program from inside start-up (a form's creation), once its work is done:
// form creation lets it through to WinMain, which frees the forms in order and returns. It
// carries no message and is no error, so the standard error handler never sees it.
class EApplicationEnd {};

class TApplication : public TObject {
public:
    TApplication();
    ~TApplication() override;

    // The executable's title (see TitleFromExeName); never set by the program itself.
    const std::string& Title() const noexcept { return title_; }

    TForm* MainForm() const noexcept { return mainForm_; }
    void SetMainForm(TForm* form) noexcept { mainForm_ = form; }
    // Creates a form owned by the application; the first one becomes the main form.
    template <typename T, typename... Args>
    T& CreateForm(Args&&... args);

    // Shows the main form (when there is one) and dispatches messages until Terminate.
    void Run();
    // Dispatches every message waiting now, without blocking.
    void ProcessMessages();
    // Dispatches one message, waiting for one when the queue is empty.
    void HandleMessage();
    // Asks the message loop to end (posts a quit message). Run shows no main form once asked.
    void Terminate() noexcept;
    bool Terminated() const noexcept { return terminated_; }
    bool QuitRequested() const noexcept { return quitRequested_; }
    // The program minimises as one: the main form goes to an icon and every other visible form
    // of the program is hidden with it; Restore (or the main form coming back) shows them again.
    void Minimize() noexcept;
    void Restore() noexcept;
    // The main form's window changed between minimised and restored (WM_SIZE).
    void MainFormSized(WPARAM kind) noexcept;

    // Destroys the forms the application owns, newest first. WinMain calls this before the
    // libraries under the windows (the shell, OLE) end; the destructor only catches what is left.
    void DestroyForms() noexcept;

    // The standard error handler: OnException when assigned, else the error box. While a
    // TDeferredErrors scope is open on the calling thread (a paint, a control's notification)
    // the error is posted instead and handled once the outermost such scope has ended and the
    // messages are dispatched again: a box shown from inside would run a message loop in the
    // middle of the control's own work.
    void HandleException(std::exception_ptr error, TObject* sender = nullptr) noexcept;
    void ShowException(const std::string& message) noexcept;
    // Handles every posted error now, in the order they came, unless a scope still defers them.
    void HandlePostedErrors() noexcept;
    // An object that goes is no longer named as the sender of an error still waiting.
    void SenderGone(const TObject* sender) noexcept;
    // Replaces the error box, as tests and a program's own reporting may want.
    TExceptionEvent OnException;

    // Every form registers itself while it exists; the main form is forgotten with it.
    void AddForm(TForm* form);
    void RemoveForm(TForm* form) noexcept;
    const std::vector<TForm*>& Forms() const noexcept { return forms_; }
    // The form that holds the window (or one of its child windows), or null.
    TForm* FormOfWindow(HWND window) const noexcept;

private:
    friend class TDeferredErrors;
    struct PostedError {
        std::exception_ptr error;
        TObject* sender;
    };
    void HandleNow(std::exception_ptr error, TObject* sender) noexcept;
    bool ProcessMessage(MSG& msg);
    bool PreTranslate(MSG& msg);
    void OwnForm(std::unique_ptr<TForm> form);

    std::string title_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool quitRequested_ = false;
    std::vector<TForm*> forms_;
    std::vector<HWND> hiddenByMinimize_;
    std::vector<std::unique_ptr<TForm>> owned_;
    std::vector<PostedError> posted_;
};

// While one lives on a thread, the errors handled on that thread wait (see HandleException).
// The window procedure opens one around paints and notifications; scopes nest.
class TDeferredErrors {
public:
    TDeferredErrors() noexcept;
    ~TDeferredErrors();
    TDeferredErrors(const TDeferredErrors&) = delete;
    TDeferredErrors& operator=(const TDeferredErrors&) = delete;
};

extern TApplication Application;

// Catches whatever the guarded call raises and hands it to the application: the shape of every
// entry point through which the platform calls us.
template <typename F>
void Guarded(F&& call, TObject* sender = nullptr) noexcept
{
    try {
        call();
    } catch (...) {
        Application.HandleException(std::current_exception(), sender);
    }
}

// The same for calls with a result: the fallback is returned when the call raised an error.
template <typename R, typename F>
R GuardedResult(F&& call, R fallback, TObject* sender = nullptr) noexcept
{
    try {
        return call();
    } catch (...) {
        Application.HandleException(std::current_exception(), sender);
        return fallback;
    }
}

template <typename T, typename... Args>
T& TApplication::CreateForm(Args&&... args)
{
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    T& result = *form;
    if (!mainForm_)
        mainForm_ = &result;
    OwnForm(std::move(form));
    result.AfterConstruction();
    return result;
}
