#pragma once
// A vector picture: an enhanced metafile (.emf) or a Windows metafile (.wmf, placeable or
// plain), kept as an enhanced metafile and played into the destination rectangle.
#include "toolkit/graphics/Graphic.h"
#include "toolkit/core/Scoped.h"

class TMetafile : public TGraphic {
public:
    TMetafile();

    // The natural size in screen pixels.
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return !handle_; }

    HENHMETAFILE Handle() const noexcept { return handle_.get(); }
    // Takes ownership of the handle (null empties the picture).
    void SetHandle(HENHMETAFILE metafile);

    // Metafile data; anything else raises EInvalidGraphic "Metafile is not valid".
    void LoadFromStream(TByteSpan data) override;
    std::unique_ptr<TGraphic> Clone() const override;

protected:
    void Draw(TCanvas& canvas, const RECT& rect) override;

private:
    void Take(HENHMETAFILE metafile, int width, int height);

    ScopedEnhMetaFile handle_;
    int width_ = 0;
    int height_ = 0;
};
