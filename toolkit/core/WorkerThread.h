#pragma once
// A worker thread that runs one body and reaches the GUI thread only through synchronised
// calls. It starts when made (on the GUI thread) and is asked to stop and waited for when it
// ends, so an owner that keeps it as its last member stops it before the owner's other members
// go.
//
// Errors: a synchronised call that raises hands its error back to the worker, where Synchronize
// raises it again; the body decides what it means. An error that ends the body is kept:
// WaitFor raises it on the thread that waits; one nobody collected goes to the application's
// error handler when the worker ends.
#include "toolkit/core/Scoped.h"

#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>

class TWorkerThread {
public:
    using Body = std::function<void(TWorkerThread& self)>;

    // Raises EOSError when the thread (or the application window it reports through) cannot be
    // made.
    explicit TWorkerThread(Body body);
    ~TWorkerThread();
    TWorkerThread(const TWorkerThread&) = delete;
    TWorkerThread& operator=(const TWorkerThread&) = delete;

    // Asks the body to stop; the body looks at Terminated between its steps.
    void Terminate() noexcept { terminated_ = true; }
    bool Terminated() const noexcept { return terminated_; }
    bool Finished() const noexcept;

    // From the body: runs the call on the GUI thread and waits for it (see the errors above).
    void Synchronize(const std::function<void()>& call);

    // Waits for the body to end, meanwhile running the synchronised calls the worker sends, so
    // waiting never blocks the worker that waits for the GUI thread. Raises the error that ended
    // the body, once.
    void WaitFor();

private:
    static DWORD WINAPI ThreadProc(void* self) noexcept;
    void Wait() noexcept;

    Body body_;
    std::atomic<bool> terminated_{false};
    std::exception_ptr fatal_;
    ScopedKernelHandle thread_;
};
