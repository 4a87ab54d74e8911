#pragma once
// The line tool of a canvas.
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/GraphicsObject.h"

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
using enum TPenStyle;

class TPen : public TGraphicsObject {
public:
    TColor Color() const noexcept { return color_; }
    void SetColor(TColor color);
    int Width() const noexcept { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const noexcept { return style_; }
    void SetStyle(TPenStyle style);
    // The mix mode lines are drawn with (R2_COPYPEN, R2_XORPEN, ...).
    int Mode() const noexcept { return mode_; }
    void SetMode(int mode);

    void Assign(const TPen& source);
    HPEN Handle() { return static_cast<HPEN>(ObjectHandle()); }

protected:
    TToolObject CreateObject() const override;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
    int mode_ = R2_COPYPEN;
};
