#include "toolkit/controls/CustomControl.h"

#include "toolkit/graphics/ScopedCanvasHandle.h"

TCustomControl::TCustomControl() : canvas_(*this) {}

TCustomControl::~TCustomControl()
{
    DestroyHandle();
}

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow(HDC dc)
{
    canvas_.FreeHandle(); // a context borrowed from the window between paints goes back first
    ScopedCanvasHandle painting(canvas_, dc);
    canvas_.Font().Assign(Font());
    Paint();
}

void TCustomControl::HandleDestroying()
{
    canvas_.FreeHandle();
}
