#pragma once
// Answers the modal windows a test names, from inside their own message loop: a thread timer
// looks for the visible dialog windows of this thread and answers the next expected one with
// its command. Any other dialog (an error box nobody expected) fails the running test with its
// caption and text and is closed, so it can neither pass unnoticed nor hang the run. After a
// few seconds a second timer ends a stuck menu, and fails and closes a window that did not
// close after its answer.
//
// While a closer lives it is the one that answers; the one it replaced answers again once it
// is gone. The test program keeps one without expected windows for every test (TestMain), so
// an unexpected box fails any test, with or without a closer of its own.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <set>
#include <source_location>
#include <string>
#include <vector>

// A window a test expects, and how it is answered.
struct ExpectedWindow {
    std::string caption;                 // the window's title, exactly
    std::string text;                    // a message box's text, exactly; empty: not compared
    WPARAM answer = IDOK;                // the command posted to it; 0: `prepare` answers it
    std::function<void(HWND)> prepare;   // runs on it before the answer (e.g. fills in a field)
    std::string windowClass = "#32770";  // the platform's dialog class
};

// A message box with its caption and text.
ExpectedWindow MessageBoxWindow(std::string caption, std::string text, WPARAM answer);
// A dialog known by its caption, such as the common dialogs ("Color", "Open").
ExpectedWindow DialogWindow(std::string caption, WPARAM answer, std::function<void(HWND)> prepare = {});

// How a window shows itself in a failure: its caption in quotes, then a message box's text.
std::string DescribeWindow(HWND window);

class ModalCloser {
public:
    // The windows expected one after the other; with none, every dialog is unexpected.
    explicit ModalCloser(std::vector<ExpectedWindow> expected = {},
                         std::source_location where = std::source_location::current());
    explicit ModalCloser(ExpectedWindow expected, std::source_location where = std::source_location::current());
    ~ModalCloser();
    ModalCloser(const ModalCloser&) = delete;
    ModalCloser& operator=(const ModalCloser&) = delete;

    // Every expected window came up and was answered.
    bool Found() const { return next_ == expected_.size(); }
    // How many expected windows were answered so far.
    std::size_t Answered() const { return next_; }
    // Moves the deadline to this many milliseconds from now.
    void EndAfter(UINT milliseconds);

    // For a scope, the windows are left to a script of the test's own that answers each one it
    // expects by caption and text and fails on its deadline with whatever else is open.
    class HandsOff {
    public:
        HandsOff() noexcept { ++handsOff_; }
        ~HandsOff() { --handsOff_; }
        HandsOff(const HandsOff&) = delete;
        HandsOff& operator=(const HandsOff&) = delete;
    };

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept;
    static void CALLBACK Deadline(HWND, UINT, UINT_PTR, DWORD) noexcept;
    void AnswerOrFail();
    void CloseWhatIsLeft();
    std::vector<HWND> OpenDialogs() const;
    void Fail(const std::string& what, HWND window);

    static ModalCloser* active_;
    static inline int handsOff_ = 0;

    std::vector<ExpectedWindow> expected_;
    std::source_location where_;
    ModalCloser* replaced_;
    UINT_PTR tick_;
    UINT_PTR deadline_;
    std::size_t next_ = 0;
    // Windows answered, and windows closed as unexpected: either may stay visible for a moment
    // while it closes.
    std::set<HWND> answered_;
    std::set<HWND> closed_;
};

// A visible top-level window of this thread for menus and dialogs to belong to.
class TestOwnerWindow {
public:
    TestOwnerWindow();
    ~TestOwnerWindow();
    TestOwnerWindow(const TestOwnerWindow&) = delete;
    TestOwnerWindow& operator=(const TestOwnerWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};
