#pragma once
// Closes the next modal window of this thread from inside its own message loop: a thread timer
// looks for a visible dialog box and posts it a command (IDOK, IDCANCEL). A second timer ends a
// stuck menu or dialog after a few seconds so that a failing test cannot hang the run.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

class ModalCloser {
public:
    // prepare runs once on the dialog window before the command is posted (e.g. to fill in an
    // edit control).
    using Prepare = void (*)(HWND dialog);

    explicit ModalCloser(WPARAM command, Prepare prepare = nullptr);
    // One command for each of several modal windows that come up one after the other.
    explicit ModalCloser(std::initializer_list<WPARAM> commands);
    ~ModalCloser();
    ModalCloser(const ModalCloser&) = delete;
    ModalCloser& operator=(const ModalCloser&) = delete;

    // Every expected window came up and was answered.
    bool Found() const { return next_ == commands_.size(); }
    // How many windows were answered so far.
    std::size_t Answered() const { return next_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept;
    static void CALLBACK Deadline(HWND, UINT, UINT_PTR, DWORD) noexcept;
    static ModalCloser* active_;

    std::vector<WPARAM> commands_;
    Prepare prepare_;
    UINT_PTR tick_;
    UINT_PTR deadline_;
    std::size_t next_ = 0;
    HWND answered_ = nullptr;
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
