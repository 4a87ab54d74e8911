#include "toolkit/ControlCanvas.h"

#include "toolkit/WinControl.h"

TControlCanvas::~TControlCanvas()
{
    FreeHandle();
}

void TControlCanvas::CreateHandle()
{
    FreeHandle();
    const HWND window = control_.Handle();
    borrowed_ = GetDC(window);
    borrowedFrom_ = window;
    SetHandle(borrowed_);
}

void TControlCanvas::FreeHandle() noexcept
{
    if (!borrowed_)
        return;
    ReleaseContext();
    ReleaseDC(borrowedFrom_, borrowed_);
    borrowed_ = nullptr;
    borrowedFrom_ = nullptr;
}
