#include "toolkit/GraphicControl.h"

#include "toolkit/Font.h"
#include "toolkit/ScopedCanvasHandle.h"

void TGraphicControl::PaintTo(HDC dc)
{
    ScopedCanvasHandle painting(canvas_, dc);
    canvas_.Font().Assign(Font());
    Paint();
}
