#pragma once
// Watching one folder for changes: a worker thread waits for the system's change notices on the
// folder and runs a handler on the GUI thread for each of them. Without a handler no thread runs.
#include "shelltree/ShellSets.h"
#include "toolkit/core/Component.h"
#include "toolkit/core/Scoped.h"
#include "toolkit/core/WorkerThread.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

enum class TNotifyFilter {
    nfFileNameChange, nfDirNameChange, nfAttributeChange, nfSizeChange, nfWriteChange, nfSecurityChange
};
using enum TNotifyFilter;
using TNotifyFilters = TEnumSet<TNotifyFilter>;

// The FILE_NOTIFY_CHANGE_* flags of a set of filters.
DWORD ChangeNotifyFlags(TNotifyFilters filters) noexcept;

using TThreadMethod = std::function<void()>;

// The worker: waits on the folder and on a wake-up event (new options, or the end). Its options
// are guarded by the shell tree's critical section, so they may change while it waits.
class TShellChangeThread {
public:
    // Starts at once. Raises when the thread cannot be made.
    TShellChangeThread(TThreadMethod onChange, std::string root, bool watchSubTree, DWORD flags);
    // Asks the worker to end and waits for it; a notice that arrives meanwhile is dropped.
    ~TShellChangeThread();
    TShellChangeThread(const TShellChangeThread&) = delete;
    TShellChangeThread& operator=(const TShellChangeThread&) = delete;

    // The worker watches with these from its next wake-up on.
    void SetDirectoryOptions(std::string root, bool watchSubTree, DWORD flags);

private:
    struct Options {
        std::string root;
        bool watchSubTree;
        DWORD flags;
    };
    Options CurrentOptions() const;
    void Execute(TWorkerThread& self);

    TThreadMethod onChange_;
    Options options_;
    ScopedKernelHandle wake_;
    // Last member: the worker has ended before anything it uses goes.
    TWorkerThread worker_;
};

class TShellChangeNotifier : public TComponent {
public:
    TShellChangeNotifier() = default;
    ~TShellChangeNotifier() override;

    TNotifyFilters NotifyFilters() const noexcept { return filters_; }
    void SetNotifyFilters(TNotifyFilters filters);
    const std::string& Root() const noexcept { return root_; }
    void SetRoot(const std::string& root);
    bool WatchSubTree() const noexcept { return watchSubTree_; }
    void SetWatchSubTree(bool value);
    // Runs on the GUI thread for every change notice. Giving one starts the worker; taking it
    // away (an empty handler) stops it. The worker waits for the handler to return, so neither
    // this nor the end of the watcher may come from inside the handler.
    const TThreadMethod& OnChange() const noexcept { return onChange_; }
    void SetOnChange(TThreadMethod handler);

    // A worker is running.
    bool Watching() const noexcept { return static_cast<bool>(thread_); }

private:
    void OptionsChanged();

    TNotifyFilters filters_{nfFileNameChange, nfDirNameChange};
    std::string root_ = "C:\\";
    bool watchSubTree_ = true;
    TThreadMethod onChange_;
    std::unique_ptr<TShellChangeThread> thread_;
};
