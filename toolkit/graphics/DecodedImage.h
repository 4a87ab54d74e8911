#pragma once
// A compressed picture (JPEG, PNG) decoded once when loaded and kept as a 24-bit bitmap. Data
// that cannot be decoded raises EInvalidGraphic and leaves the picture loaded before.
#include "toolkit/graphics/Graphic.h"

#include <memory>

class TBitmap;

class TDecodedImage : public TGraphic {
public:
    ~TDecodedImage() override;

    int Width() const override;
    int Height() const override;
    bool Empty() const override;
    void SetTransparent(bool value) override;

    // The decoded picture.
    TBitmap& Bitmap() { return *bitmap_; }

protected:
    TDecodedImage();
    void Draw(TCanvas& canvas, const RECT& rect) override;
    // Holds the decoded picture in place of the old one.
    void Take(std::unique_ptr<TBitmap> bitmap);
    // For Clone: the copy takes this picture and its transparency.
    void CopyInto(TDecodedImage& copy) const;

private:
    std::unique_ptr<TBitmap> bitmap_;
};
