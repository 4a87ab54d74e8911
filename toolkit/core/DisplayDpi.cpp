#include "toolkit/core/DisplayDpi.h"

#include "toolkit/core/Scoped.h"

namespace {
// A function of user32 that older systems lack; null there.
template <typename Function>
Function User32Function(const char* name) noexcept
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForSystemFunction = UINT(WINAPI*)();
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
} // namespace

int SystemDpi() noexcept
{
    static const auto forSystem = User32Function<GetDpiForSystemFunction>("GetDpiForSystem");
    if (forSystem)
        if (const UINT dpi = forSystem())
            return static_cast<int>(dpi);
    const ScopedWindowDC screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND window) noexcept
{
    static const auto forWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (forWindow && window)
        if (const UINT dpi = forWindow(window))
            return static_cast<int>(dpi);
    return SystemDpi();
}

RECT WindowRectForDpi(RECT client, DWORD style, DWORD exStyle, int dpi) noexcept
{
    static const auto forDpi = User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&client, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&client, style, FALSE, exStyle);
    return client;
}
