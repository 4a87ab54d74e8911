#include "toolkit/controls/ControlCanvas.h"

#include "toolkit/controls/WinControl.h"

TControlCanvas::~TControlCanvas()
{
    FreeHandle();
}

void TControlCanvas::CreateHandle()
{
    FreeHandle();
    ScopedWindowDC dc(control_.Handle());
    if (!dc)
        return; // the canvas reports that it cannot draw
    borrowed_ = std::move(dc);
    SetHandle(borrowed_.get());
}

void TControlCanvas::FreeHandle() noexcept
{
    if (!borrowed_)
        return;
    ReleaseContext();
    borrowed_.reset();
}
