#pragma once
// Long folder work (writing or restoring every subfolder of a large tree) runs on the GUI
// thread. A TProgressScope, made just before the controller's call, listens to the
// controller's progress for the span of that call; once the work has taken longer than half
// a second it shows a small window (the application title as caption, "n of m folders", a bar,
// the folder being written and a Cancel button) and from then on keeps every window painting
// while the other windows take no input, as under a modal window. Cancel (or Esc, or closing
// the window) stops the work once the folder in hand is finished. The window goes, and the
// other windows are enabled again, when the scope ends, however the work ended.
#include "dialogs/ProgressPacing.h"
#include "toolkit/core/BusyCursor.h"
#include "toolkit/controls/Form.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class TButton;
class TFolderCtrl;
class TProgressView;

// The progress window itself. The user stops the work with its Cancel button, Esc or its
// close command; the work then ends at the next folder's end, and only that closes the window.
class TFormProgress : public TForm {
public:
    // `owner`: the window it stays above and is centred on (null: the desktop).
    explicit TFormProgress(HWND owner);
    ~TFormProgress() override;

    void SetProgress(std::size_t done, std::size_t total, const std::string& folder);
    // What the window shows.
    std::string CountText() const;
    std::size_t Done() const noexcept { return done_; }
    std::size_t Total() const noexcept { return total_; }
    // The folder as shown: shortened in the middle ("C:\Photos\...\2019\") to fit the window.
    std::string FolderText();

    TButton& CancelButton() const noexcept { return *cancel_; }
    // The user asked to stop: the button says "Stopping..." and takes no second press.
    bool CancelRequested() const noexcept { return cancelRequested_; }
    void RequestCancel();

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TProgressView;
    void CentreOnOwner();
    HWND owner_;
    TProgressView* view_ = nullptr;
    TButton* cancel_ = nullptr;
    bool cancelRequested_ = false;
    std::size_t done_ = 0, total_ = 0;
    std::string folder_;
};

// Milliseconds of a steady clock; tests hand in their own.
using TMillisecondClock = std::function<std::uint64_t()>;

class TProgressScope {
public:
    // Without a clock of its own the scope takes the default one (see SetDefaultClock).
    explicit TProgressScope(TFolderCtrl& ctrl, TMillisecondClock clock = {});
    ~TProgressScope();
    TProgressScope(const TProgressScope&) = delete;
    TProgressScope& operator=(const TProgressScope&) = delete;

    // The window while it is shown, else null.
    TFormProgress* Window() const noexcept { return form_.get(); }

    // The clock of scopes made without one: the system's steady clock, or (for tests that go
    // through the dialogs) another; an empty one puts the system's back.
    static void SetDefaultClock(TMillisecondClock clock);

private:
    // Raises EWorkStopped once the user has asked to stop.
    void Report(std::size_t done, std::size_t total, const std::string& folder);
    void Open();
    void Close() noexcept;
    // Paint, timer and other non-input messages of every window; input reaches the progress
    // window alone.
    void Pump() noexcept;

    TFolderCtrl& ctrl_;
    std::function<void(std::size_t, std::size_t, const std::string&)> previous_;
    TMillisecondClock clock_;
    TProgressPacing pacing_;
    // The hourglass over the program's windows; a start without any (a verb start of Default)
    // takes none until its progress window opens, and so never loads the display driver for
    // work that shows nothing.
    std::optional<TBusyCursor> busy_;
    bool failed_ = false;
    HWND previousActive_ = nullptr;
    std::unique_ptr<TFormProgress> form_;
    std::unique_ptr<TDisabledWindows> disabled_;
    bool quit_ = false;
    WPARAM quitCode_ = 0;
};

// Runs recursive work of the controller under a progress scope. Stopped by the user, the work
// ends with a message that says how many folders of how many were changed (and which could
// not be); the caller then goes on as after work done. Any other error goes on to the caller.
void RunWithProgress(TFolderCtrl& ctrl, const std::function<void()>& work);
