#pragma once
// Turns JPEG data into a 24-bit bitmap with libjpeg. Errors of the library come back as
// EInvalidGraphic; the library never gets to end the process.
#include "toolkit/graphics/Graphic.h"

#include <memory>

class TBitmap;

class JpegDecoder {
public:
    static std::unique_ptr<TBitmap> Decode(TByteSpan data);
};
