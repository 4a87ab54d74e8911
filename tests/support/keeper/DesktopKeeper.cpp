// Keeps Wine's virtual desktop up for a test run. Wine closes the desktop a second after the last
// program using it has ended, and opening it again costs the next test program about a second;
// with every test in a process of its own, that second would come back for each test. This
// program uses the desktop by a message-only window (never shown, in no window list) and waits
// until the Wine session ends it (ctest starts it with `scripts/with-wine --background`).
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The window lives as long as the process.
    if (!CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr))
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
