#include "toolkit/CustomControl.h"

TCustomControl::TCustomControl() : canvas_(*this) {}

TCustomControl::~TCustomControl()
{
    canvas_.FreeHandle();
}

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow(HDC dc)
{
    canvas_.BeginPaintOn(dc);
    canvas_.Font().Assign(Font());
    try {
        Paint();
    } catch (...) {
        canvas_.EndPaintOn();
        throw;
    }
    canvas_.EndPaintOn();
}

void TCustomControl::HandleDestroying()
{
    canvas_.FreeHandle();
}
