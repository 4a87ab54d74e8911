#include "support/ShellNotifications.h"

#include "support/TempDir.h"

#include <shlobj.h>

#include <string>

namespace {
constexpr UINT NotifyMessage = WM_APP + 17;
constexpr const char* WindowClass = "QuorrelTestNotifications";
} // namespace

ShellNotifications::ShellNotifications()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.lpszClassName = WindowClass;
    RegisterClassA(&wc);
    window_ = CreateWindowA(WindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, this);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    LPITEMIDLIST desktop = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop);
    SHChangeNotifyEntry entry{desktop, TRUE};
    registration_ = SHChangeNotifyRegister(window_, SHCNRF_ShellLevel | SHCNRF_InterruptLevel, SHCNE_ASSOCCHANGED,
                                           NotifyMessage, 1, &entry);
    CoTaskMemFree(desktop);
}

ShellNotifications::~ShellNotifications()
{
    if (registration_)
        SHChangeNotifyDeregister(registration_);
    DestroyWindow(window_);
}

int ShellNotifications::Count()
{
    MSG msg;
    while (PeekMessageA(&msg, window_, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    return count_;
}

LRESULT CALLBACK ShellNotifications::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == NotifyMessage)
        if (auto* self = reinterpret_cast<ShellNotifications*>(GetWindowLongPtrA(window, GWLP_USERDATA)))
            ++self->count_;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RunUnixCommand(const char* command)
{
    // Wine starts a Linux program detached: its process handle does not tell when it ends, so
    // the command leaves a marker file behind when it is done, in a temporary folder of its own.
    const TempDir folder;
    const std::string marker = folder.Path() + "done";
    std::string line = std::string("/bin/sh -c \"(") + command + "); touch '" + UnixPathOf(marker) + "'\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA("Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    // Neither handle is closed: Wine gives a Linux program no process handle and leaves the
    // thread handle as whatever its stack held, which can be the value of a handle of ours (the
    // registry's cached root keys among them) that a close would end.
    for (int waited = 0; waited < 10000; waited += 20) {
        if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(20);
    }
    return false;
}

std::string UnixPathOf(const std::string& windowsPath)
{
    using Convert = char*(CDECL*)(const wchar_t*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return {};
    std::wstring wide(windowsPath.begin(), windowsPath.end());
    char* unix = convert(wide.c_str());
    if (!unix)
        return {};
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}
