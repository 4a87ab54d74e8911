#include "toolkit/core/LateBound.h"

#include "toolkit/core/Scoped.h"

#include <atomic>
#include <type_traits>
#include <string>

namespace late {
namespace {

// The module of a system library, loaded once and kept for the life of the process (as a
// library the program imports would be). Null, with the loader's error, when it cannot be.
class SystemLibrary {
public:
    SystemLibrary(const wchar_t* name, bool sideBySide) noexcept : name_(name), sideBySide_(sideBySide) {}

    HMODULE Module() noexcept
    {
        if (HMODULE known = module_.load(std::memory_order_acquire))
            return known;
        HMODULE loaded = nullptr;
        if (sideBySide_) {
            // By its bare name, so that the program's manifest picks the version it asks for.
            loaded = LoadLibraryW(name_);
        } else {
            // From the system folder only: never a file of that name beside the program.
            wchar_t folder[MAX_PATH];
            const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
            if (length == 0 || length >= MAX_PATH)
                return nullptr;
            const std::wstring path = std::wstring(folder, length) + L"\\" + name_;
            loaded = LoadLibraryW(path.c_str());
        }
        if (!loaded)
            return nullptr;
        HMODULE expected = nullptr;
        // Two threads may both load it; the second reference is given back.
        if (!module_.compare_exchange_strong(expected, loaded, std::memory_order_acq_rel)) {
            FreeLibrary(loaded);
            return expected;
        }
        return loaded;
    }

private:
    const wchar_t* name_;
    bool sideBySide_;
    std::atomic<HMODULE> module_{nullptr};
};

SystemLibrary commonControls(L"comctl32.dll", true);
SystemLibrary commonDialogs(L"comdlg32.dll", false);
SystemLibrary accessibility(L"oleacc.dll", false);
SystemLibrary automation(L"oleaut32.dll", false);

// The function `name` of `library`, or null with the last error set.
template <typename F>
F* Find(SystemLibrary& library, const char* name) noexcept
{
    HMODULE module = library.Module();
    if (!module)
        return nullptr;
    FARPROC found = GetProcAddress(module, name);
    if (!found)
        SetLastError(ERROR_PROC_NOT_FOUND);
    return reinterpret_cast<F*>(reinterpret_cast<void*>(found));
}

// Looks the function up once per process (a race looks it up twice, to the same address).
#define LATE_FUNCTION(library, name)                                                                              \
    static std::atomic<decltype(&::name)> cached{nullptr};                                                       \
    decltype(&::name) function = cached.load(std::memory_order_acquire);                                         \
    if (!function && (function = Find<std::remove_pointer_t<decltype(&::name)>>(library, #name)))                \
        cached.store(function, std::memory_order_release)

DWORD WINAPI LoadCommonControls(void*) noexcept
{
    commonControls.Module();
    return 0;
}

HRESULT LastErrorResult() noexcept
{
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

} // namespace

void PreloadCommonControls() noexcept
{
    static std::atomic<bool> asked{false};
    if (asked.exchange(true, std::memory_order_acq_rel))
        return;
    // A thread of its own that ends when the library is in. Without the thread the first
    // control loads the library as before.
    const ScopedKernelHandle thread(
        CreateThread(nullptr, 64 * 1024, &LoadCommonControls, nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc) noexcept
{
    LATE_FUNCTION(commonControls, InitCommonControlsEx);
    return function ? function(icc) : FALSE;
}

BOOL SetWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) noexcept
{
    LATE_FUNCTION(commonControls, SetWindowSubclass);
    return function ? function(window, proc, id, data) : FALSE;
}

BOOL GetWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR* data) noexcept
{
    LATE_FUNCTION(commonControls, GetWindowSubclass);
    return function ? function(window, proc, id, data) : FALSE;
}

BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id) noexcept
{
    LATE_FUNCTION(commonControls, RemoveWindowSubclass);
    return function ? function(window, proc, id) : FALSE;
}

LRESULT DefSubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    LATE_FUNCTION(commonControls, DefSubclassProc);
    // A window is subclassed only once the library is loaded, so this is found whenever it runs.
    return function ? function(window, msg, wParam, lParam) : DefWindowProcA(window, msg, wParam, lParam);
}

HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow) noexcept
{
    LATE_FUNCTION(commonControls, ImageList_Create);
    return function ? function(width, height, flags, initial, grow) : nullptr;
}

BOOL ImageList_Destroy(HIMAGELIST list) noexcept
{
    LATE_FUNCTION(commonControls, ImageList_Destroy);
    return function ? function(list) : FALSE;
}

int ImageList_GetImageCount(HIMAGELIST list) noexcept
{
    LATE_FUNCTION(commonControls, ImageList_GetImageCount);
    return function ? function(list) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* width, int* height) noexcept
{
    LATE_FUNCTION(commonControls, ImageList_GetIconSize);
    return function ? function(list, width, height) : FALSE;
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) noexcept
{
    LATE_FUNCTION(commonControls, ImageList_ReplaceIcon);
    return function ? function(list, index, icon) : -1;
}

BOOL ChooseColorA(CHOOSECOLORA* choice) noexcept
{
    LATE_FUNCTION(commonDialogs, ChooseColorA);
    return function ? function(choice) : FALSE;
}

BOOL GetOpenFileNameA(OPENFILENAMEA* choice) noexcept
{
    LATE_FUNCTION(commonDialogs, GetOpenFileNameA);
    return function ? function(choice) : FALSE;
}

DWORD CommDlgExtendedError() noexcept
{
    LATE_FUNCTION(commonDialogs, CommDlgExtendedError);
    return function ? function() : CDERR_INITIALIZATION;
}

HRESULT CreateStdAccessibleObject(HWND window, LONG object, REFIID iid, void** result) noexcept
{
    LATE_FUNCTION(accessibility, CreateStdAccessibleObject);
    if (!function) {
        if (result)
            *result = nullptr;
        return LastErrorResult();
    }
    return function(window, object, iid, result);
}

LRESULT LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object) noexcept
{
    LATE_FUNCTION(accessibility, LresultFromObject);
    return function ? function(iid, wParam, object) : static_cast<LRESULT>(LastErrorResult());
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) noexcept
{
    LATE_FUNCTION(automation, SysAllocStringLen);
    return function ? function(text, length) : nullptr;
}

} // namespace late
