#include "shelltree/ShellChangeNotifier.h"

#include "shelltree/ShellModule.h"
#include "toolkit/core/Application.h"
#include "toolkit/core/Exception.h"

#include <mutex>

DWORD ChangeNotifyFlags(TNotifyFilters filters) noexcept
{
    constexpr DWORD kFlags[] = {FILE_NOTIFY_CHANGE_FILE_NAME,  FILE_NOTIFY_CHANGE_DIR_NAME,
                                FILE_NOTIFY_CHANGE_ATTRIBUTES, FILE_NOTIFY_CHANGE_SIZE,
                                FILE_NOTIFY_CHANGE_LAST_WRITE, FILE_NOTIFY_CHANGE_SECURITY};
    DWORD flags = 0;
    for (std::size_t i = 0; i < std::size(kFlags); ++i)
        if (filters.Contains(static_cast<TNotifyFilter>(i)))
            flags |= kFlags[i];
    return flags;
}

namespace {
ScopedKernelHandle NewWakeEvent()
{
    ScopedKernelHandle event(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!event)
        throw EOSError("Cannot create the change watcher's event");
    return event;
}
} // namespace

TShellChangeThread::TShellChangeThread(TThreadMethod onChange, std::string root, bool watchSubTree, DWORD flags)
    : onChange_(std::move(onChange)), options_{std::move(root), watchSubTree, flags}, wake_(NewWakeEvent()),
      worker_([this](TWorkerThread& self) { Execute(self); })
{
}

TShellChangeThread::~TShellChangeThread()
{
    worker_.Terminate();
    SetEvent(wake_.get());
}

void TShellChangeThread::SetDirectoryOptions(std::string root, bool watchSubTree, DWORD flags)
{
    {
        std::lock_guard lock(ShellTreeLock());
        options_ = {std::move(root), watchSubTree, flags};
    }
    SetEvent(wake_.get());
}

TShellChangeThread::Options TShellChangeThread::CurrentOptions() const
{
    std::lock_guard lock(ShellTreeLock());
    return options_;
}

void TShellChangeThread::Execute(TWorkerThread& self)
{
    while (!self.Terminated()) {
        const Options options = CurrentOptions();
        // A folder that cannot be watched (gone, or no folder at all) leaves only the wake-up.
        ScopedChangeNotification change(
            FindFirstChangeNotificationA(options.root.c_str(), options.watchSubTree, options.flags));
        const HANDLE handles[] = {wake_.get(), change.get()};
        DWORD count = change ? 2 : 1;
        for (;;) {
            const DWORD woken = WaitForMultipleObjects(count, handles, FALSE, INFINITE);
            if (woken == WAIT_OBJECT_0)
                break; // new options, or the end
            if (woken != WAIT_OBJECT_0 + 1)
                throw EOSError("The change watcher cannot wait");
            self.Synchronize([this, &self] {
                // Still delivered while the owner waits for the end: no longer wanted then.
                if (!self.Terminated())
                    Guarded(onChange_);
            });
            if (!FindNextChangeNotification(change.get()))
                count = 1;
        }
    }
}

TShellChangeNotifier::~TShellChangeNotifier() = default;

void TShellChangeNotifier::SetNotifyFilters(TNotifyFilters filters)
{
    filters_ = filters;
    OptionsChanged();
}

void TShellChangeNotifier::SetRoot(const std::string& root)
{
    root_ = root;
    OptionsChanged();
}

void TShellChangeNotifier::SetWatchSubTree(bool value)
{
    watchSubTree_ = value;
    OptionsChanged();
}

void TShellChangeNotifier::OptionsChanged()
{
    if (thread_)
        thread_->SetDirectoryOptions(root_, watchSubTree_, ChangeNotifyFlags(filters_));
}

void TShellChangeNotifier::SetOnChange(TThreadMethod handler)
{
    // The worker holds its own copy of the handler: a new one needs a new worker.
    thread_.reset();
    onChange_ = std::move(handler);
    if (onChange_)
        thread_ = std::make_unique<TShellChangeThread>(onChange_, root_, watchSubTree_, ChangeNotifyFlags(filters_));
}
