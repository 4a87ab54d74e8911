#pragma once
// The canvas of a bitmap: a memory device context of its own with the bitmap selected, made
// when first needed and let go whenever the bitmap's handle is handed out or replaced.
#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Scoped.h"

class TBitmap;

class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& owner);
    ~TBitmapCanvas() override;

    // The context with every tool selected, so that its background and text colours are
    // those of the brush and the font.
    HDC PreparedHandle();
    // Deselects everything and deletes the context; the next use makes a new one.
    void FreeContext() noexcept;

protected:
    void CreateHandle() override;

private:
    TBitmap& owner_;
    ScopedMemoryDC memoryDC_;
};
