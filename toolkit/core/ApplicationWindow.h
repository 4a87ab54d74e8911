#pragma once
// The application's own hidden top-level window: the owner to give platform calls that want
// one (shell enumerations and menus) when no form is at hand, and the door through which other
// threads run calls on the GUI thread.
#include <windows.h>

#include <functional>

// The window, made on the first call; that call must come from the GUI thread, whose window it
// then is. Raises EOSError when it cannot be made.
HWND ApplicationWindow();

// Runs the call on the application window's thread and returns once it ran there; meanwhile
// the calling thread waits. From that thread itself the call runs at once. An error the call
// raises is caught on the GUI thread (it never unwinds through the platform) and raised again
// here, to the caller. Raises EOSError when there is no application window yet or the call could
// not be delivered.
void CallOnApplicationThread(const std::function<void()>& call);

// Asks the application window to run Application.HandlePostedErrors once the thread dispatches
// its messages again; false when the window cannot be made or the message not posted.
bool PostErrorHandling() noexcept;
