// The program's entry point. The exit code is 0 on every path: a window start closed by the
// user, a verb start, a failed library check, and an error that ends start-up.
#include "app/Startup.h"
#include "toolkit/core/Application.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        RunProgram();
    } catch (...) {
        Application.HandleException(std::current_exception());
    }
    return 0;
}
