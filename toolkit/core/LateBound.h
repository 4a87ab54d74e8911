#pragma once
// The common controls, the common dialogs and the accessibility libraries, loaded the first time
// one of their functions is called instead of when the program starts. A start that shows no
// window (a verb start of Default) then never runs their start-up, which loads the display
// driver and the visual styles. Each function behaves as the library's own; when the library or
// the function cannot be found it fails as the library's would, with ERROR_PROC_NOT_FOUND or
// the loader's error as the last error.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <cderr.h>
#include <oleacc.h>

namespace late {
// Starts loading the common controls on a worker thread and returns at once (once per process;
// later calls do nothing): the caller goes on with work that needs no library, a first window,
// while the library starts. Its functions wait for it as they would for any load.
void PreloadCommonControls() noexcept;
// Common controls (version 6 where the program's manifest asks for it).
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc) noexcept;
BOOL SetWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) noexcept;
BOOL GetWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR* data) noexcept;
BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id) noexcept;
LRESULT DefSubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow) noexcept;
BOOL ImageList_Destroy(HIMAGELIST list) noexcept;
int ImageList_GetImageCount(HIMAGELIST list) noexcept;
BOOL ImageList_GetIconSize(HIMAGELIST list, int* width, int* height) noexcept;
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) noexcept;

// Common dialogs. Without the library CommDlgExtendedError answers CDERR_INITIALIZATION, so
// that a dialog that could not come up is never taken for one the user cancelled.
BOOL ChooseColorA(CHOOSECOLORA* choice) noexcept;
BOOL GetOpenFileNameA(OPENFILENAMEA* choice) noexcept;
DWORD CommDlgExtendedError() noexcept;

// Accessibility.
HRESULT CreateStdAccessibleObject(HWND window, LONG object, REFIID iid, void** result) noexcept;
LRESULT LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object) noexcept;
BSTR SysAllocStringLen(const OLECHAR* text, UINT length) noexcept;
} // namespace late
