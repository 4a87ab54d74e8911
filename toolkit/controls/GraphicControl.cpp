#include "toolkit/controls/GraphicControl.h"

#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/ScopedCanvasHandle.h"

void TGraphicControl::PaintTo(HDC dc)
{
    ScopedCanvasHandle painting(canvas_, dc);
    canvas_.Font().Assign(Font());
    Paint();
}
