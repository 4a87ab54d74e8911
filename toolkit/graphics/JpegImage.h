#pragma once
// A JPEG picture, decoded once when loaded and kept as a 24-bit bitmap. Data that cannot be
// decoded raises EInvalidGraphic and leaves the picture loaded before.
#include "toolkit/graphics/Graphic.h"

#include <memory>

class TBitmap;

class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;

    int Width() const override;
    int Height() const override;
    bool Empty() const override;
    void SetTransparent(bool value) override;

    void LoadFromStream(TByteSpan data) override;
    std::unique_ptr<TGraphic> Clone() const override;

    // The decoded picture.
    TBitmap& Bitmap() { return *bitmap_; }

protected:
    void Draw(TCanvas& canvas, const RECT& rect) override;

private:
    void Take(std::unique_ptr<TBitmap> bitmap);

    std::unique_ptr<TBitmap> bitmap_;
};
