#pragma once
// A JPEG picture, decoded once when loaded and kept as a 24-bit bitmap. Data that cannot be
// decoded raises EInvalidGraphic and leaves the picture loaded before.
#include "toolkit/graphics/DecodedImage.h"

class TJPEGImage : public TDecodedImage {
public:
    void LoadFromStream(TByteSpan data) override;
    std::unique_ptr<TGraphic> Clone() const override;
};
