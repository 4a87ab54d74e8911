// The floor of a window start: a Win32 program built like Quorrel.exe that shows one window of
// the main window's size (496 x 377, no border, centred) and runs until it is closed. Built a
// second time with QUORREL_FLOOR_SHELL, it first starts what any program showing the shell's
// folders needs (OLE, the desktop folder, the common controls): that floor tells how much of
// the program's memory is the platform's libraries. A third build, QUORREL_FLOOR_SHELL_ICONS,
// also makes the platform calls of a tree with the shell's icons, in a tree's order: once its
// window exists, the system's small-icon list and the icons the tree's first paint shows. Under
// Wine the list holds every icon in five sizes up to 256 pixels, and that memory stays with the
// process once a window was made before it.
#include <windows.h>
#ifdef QUORREL_FLOOR_SHELL_ICONS
#define QUORREL_FLOOR_SHELL
#include <shellapi.h>
#endif
#ifdef QUORREL_FLOOR_SHELL
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>
#endif

#include <initializer_list>

namespace {
#ifdef QUORREL_FLOOR_SHELL_ICONS
// The icons a shell tree's first paint asks for: the desktop's own, closed and open (it starts
// selected), and the closed icon of each folder on the desktop.
void ShownIcons(IShellFolder* desktop)
{
    LPITEMIDLIST root = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &root))) {
        SHFILEINFOA info{};
        for (UINT open : {0u, UINT(SHGFI_OPENICON)})
            SHGetFileInfoA(reinterpret_cast<LPCSTR>(root), 0, &info, sizeof info,
                           SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_PIDL | open);
        CoTaskMemFree(root);
    }
    IEnumIDList* entries = nullptr;
    if (!desktop || desktop->EnumObjects(nullptr, SHCONTF_FOLDERS, &entries) != S_OK || !entries)
        return;
    LPITEMIDLIST child = nullptr;
    ULONG fetched = 0;
    while (entries->Next(1, &child, &fetched) == S_OK && child) {
        SHMapPIDLToSystemImageListIndex(desktop, child, nullptr);
        CoTaskMemFree(child);
    }
    entries->Release();
}
#endif

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
#ifdef QUORREL_FLOOR_SHELL
    OleInitialize(nullptr);
    IShellFolder* desktop = nullptr;
    SHGetDesktopFolder(&desktop);
    InitCommonControls();
#endif
    WNDCLASSA wc{};
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "OneWindow";
    RegisterClassA(&wc);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - 496) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - 377) / 2;
    HWND window = CreateWindowExA(0, "OneWindow", "One window", WS_POPUP, x, y, 496, 377, nullptr, nullptr, instance,
                                  nullptr);
#ifdef QUORREL_FLOOR_SHELL_ICONS
    SHFILEINFOA info{};
    SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    ShownIcons(desktop);
#endif
    ShowWindow(window, SW_SHOW);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
#ifdef QUORREL_FLOOR_SHELL
    if (desktop)
        desktop->Release();
    OleUninitialize();
#endif
    return 0;
}
