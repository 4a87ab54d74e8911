#include "toolkit/core/WorkerThread.h"

#include "toolkit/core/Application.h"
#include "toolkit/core/ApplicationWindow.h"
#include "toolkit/core/Exception.h"

#include <utility>

TWorkerThread::TWorkerThread(Body body) : body_(std::move(body))
{
    ApplicationWindow(); // made here, on the GUI thread, before the worker can need it
    thread_.reset(CreateThread(nullptr, 0, &TWorkerThread::ThreadProc, this, 0, nullptr));
    if (!thread_)
        throw EOSError("Cannot start a worker thread");
}

TWorkerThread::~TWorkerThread()
{
    Terminate();
    Wait();
    if (fatal_)
        Application.HandleException(std::exchange(fatal_, nullptr));
}

DWORD WINAPI TWorkerThread::ThreadProc(void* param) noexcept
{
    auto* self = static_cast<TWorkerThread*>(param);
    try {
        self->body_(*self);
    } catch (...) {
        self->fatal_ = std::current_exception();
    }
    return 0;
}

bool TWorkerThread::Finished() const noexcept
{
    return WaitForSingleObject(thread_.get(), 0) == WAIT_OBJECT_0;
}

void TWorkerThread::Synchronize(const std::function<void()>& call)
{
    CallOnApplicationThread(call);
}

void TWorkerThread::Wait() noexcept
{
    const HANDLE thread = thread_.get();
    // Sent messages (the worker's synchronised calls) are delivered by PeekMessage; nothing
    // posted is taken from the queue here.
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void TWorkerThread::WaitFor()
{
    Wait();
    if (fatal_)
        std::rethrow_exception(std::exchange(fatal_, nullptr));
}
