#include "toolkit/graphics/Color.h"

#include <windows.h>

TColor ColorToRGB(TColor color)
{
    if (IsSystemColor(color))
        return GetSysColor(int(color & 0xFF)) & 0xFFFFFF;
    return color & 0xFFFFFF;
}
