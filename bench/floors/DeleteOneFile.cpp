// The floor of a verb start: a Win32 program built like Quorrel.exe that only deletes the one
// file named on its command line and ends.
#include <windows.h>
#include <shellapi.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments && count > 1)
        DeleteFileW(arguments[1]);
    LocalFree(arguments);
    return 0;
}
