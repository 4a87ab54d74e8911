#include "shelltree/ShellModule.h"

#include "shelltree/ShellNamespace.h"

#include <ole2.h>

namespace {
TShellModule* running = nullptr;
} // namespace

TShellModule::OleScope::OleScope()
{
    CheckShellStatus(OleInitialize(nullptr), "OleInitialize");
}

TShellModule::OleScope::~OleScope()
{
    OleUninitialize();
}

TShellModule::TShellModule()
{
    if (running)
        throw Exception("The shell item model is running already");
    running = this;
    try {
        // Without a desktop location the desktop item stays empty and items hang below nothing.
        IdList location;
        try {
            location = DesktopLocation();
        } catch (const EOSError&) {
            return;
        }
        desktop_ = std::make_unique<TShellFolder>(nullptr, DesktopFolderObject(), Pidl(location));
    } catch (...) {
        running = nullptr;
        throw;
    }
}

TShellModule::~TShellModule()
{
    desktop_.reset();
    running = nullptr;
}

TShellFolder* DesktopItem() noexcept
{
    return running ? running->desktop_.get() : nullptr;
}

TCriticalSection& ShellTreeLock()
{
    if (!running)
        throw Exception("The shell item model is not running");
    return running->lock_;
}
