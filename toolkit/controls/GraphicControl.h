#pragma once
// A control without a window of its own that draws itself on a canvas; its parent paints it
// (in the device context the paint message carries, when it carries one) and routes the
// mouse to it.
#include "toolkit/graphics/Canvas.h"
#include "toolkit/controls/Control.h"

class TGraphicControl : public TControl {
public:
    TGraphicControl() = default;

    // Set to the parent's device context, origin at this control, while painting.
    TCanvas& Canvas() noexcept { return canvas_; }

    void PaintTo(HDC dc) override;

protected:
    virtual void Paint() {}

private:
    TCanvas canvas_;
};
