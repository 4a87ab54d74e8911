#pragma once
// A PNG picture, decoded once when loaded through the platform's imaging component (WIC) and
// kept as a 24-bit bitmap. Colours come out as stored, with no colour management and no
// premultiplication, so a key colour survives exactly; pixels that are not fully opaque are
// blended onto white, as a picture without transparency shows them. Data that is not a
// readable PNG raises EInvalidGraphic and leaves the picture loaded before.
#include "toolkit/graphics/DecodedImage.h"

class TPngImage : public TDecodedImage {
public:
    void LoadFromStream(TByteSpan data) override;
    std::unique_ptr<TGraphic> Clone() const override;
};
