// The floor of a verb start: a Win32 program built like Quorrel.exe that only deletes the one
// file named on its command line and ends. Built a second time with QUORREL_FLOOR_NOTIFY, it
// then tells the shell of the change as every folder operation must (one SHCNE_ASSOCCHANGED),
// which under Wine alone starts the display driver and a helper process.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments && count > 1)
        DeleteFileW(arguments[1]);
    LocalFree(arguments);
#ifdef QUORREL_FLOOR_NOTIFY
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
#endif
    return 0;
}
