#pragma once
// The shell item model's life in the program: made first in main (or WinMain) and destroyed
// last, so that whatever holds shell items — windows, tree nodes, root items, all made after
// it — is gone before it ends. It initialises OLE for the thread, makes the critical section
// of the change watcher and the shared desktop item; it ends them in the reverse order: the
// desktop item (the last shell reference of the model), the critical section, then OLE.
#include "shelltree/ShellFolder.h"
#include "toolkit/core/CriticalSection.h"

#include <memory>

class TShellModule {
public:
    // Raises when OLE cannot be initialised on this thread or a module is running already.
    TShellModule();
    ~TShellModule();
    TShellModule(const TShellModule&) = delete;
    TShellModule& operator=(const TShellModule&) = delete;

private:
    class OleScope {
    public:
        OleScope();
        ~OleScope();
        OleScope(const OleScope&) = delete;
        OleScope& operator=(const OleScope&) = delete;
    };
    // Members end in reverse order: the desktop item first, OLE last.
    OleScope ole_;
    TCriticalSection lock_;
    std::unique_ptr<TShellFolder> desktop_;

    friend TShellFolder* DesktopItem() noexcept;
    friend TCriticalSection& ShellTreeLock();
};

// The shared desktop item; null without a running module, while it is being made, or when the
// shell gives no desktop location.
TShellFolder* DesktopItem() noexcept;
// The critical section that guards the change watcher's settings; raises without a module.
TCriticalSection& ShellTreeLock();
