#pragma once
// Closes the next modal window of this thread from inside its own message loop: a thread timer
// looks for a visible dialog box and posts it a command (IDOK, IDCANCEL). A second timer ends a
// stuck menu or dialog after a few seconds so that a failing test cannot hang the run.
#include <windows.h>

#include <string>

class ModalCloser {
public:
    // prepare runs once on the dialog window before the command is posted (e.g. to fill in an
    // edit control).
    using Prepare = void (*)(HWND dialog);

    explicit ModalCloser(WPARAM command, Prepare prepare = nullptr);
    ~ModalCloser();
    ModalCloser(const ModalCloser&) = delete;
    ModalCloser& operator=(const ModalCloser&) = delete;

    bool Found() const { return found_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept;
    static void CALLBACK Deadline(HWND, UINT, UINT_PTR, DWORD) noexcept;
    static ModalCloser* active_;

    WPARAM command_;
    Prepare prepare_;
    UINT_PTR tick_;
    UINT_PTR deadline_;
    bool found_ = false;
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
