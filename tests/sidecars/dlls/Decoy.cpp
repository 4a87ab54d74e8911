// A library that says when it is used: its start-up sets QUORREL_DECOY_LOADED, and its
// ShowAboutForm sets QUORREL_DECOY_SHOWN to the product name it was given. Tests plant it under
// the sidecar names where the program must not pick it up, and where it must.
#include "sidecars/AboutForm.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        SetEnvironmentVariableA("QUORREL_DECOY_LOADED", "1");
    return TRUE;
}

extern "C" __declspec(dllexport) void __cdecl ShowAboutForm(HWND, const TAboutFormInfo* info) noexcept
{
    SetEnvironmentVariableA("QUORREL_DECOY_SHOWN", info && info->ProductName ? info->ProductName : "(none)");
}
