#pragma once
// Pictures with a key colour (skins, button states, targets) at a size the artwork was not
// drawn for: see KeyedResample.
#include "toolkit/graphics/Color.h"

#include <memory>

class TBitmap;

// A copy of the picture at width x height whose holes (pixels of `key`) stay holes with clean
// edges. The same size gives an exact copy. The key colour of the copy is the one given.
std::unique_ptr<TBitmap> ResizedKeyed(TBitmap& picture, int width, int height, TColor key);
// A copy of a picture without holes at width x height, each pixel the average of its area.
std::unique_ptr<TBitmap> ResizedSmooth(TBitmap& picture, int width, int height);
