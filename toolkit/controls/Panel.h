#pragma once
// A container that paints itself: its colour, a raised or lowered bevel, an optional single
// (sunken) border and a centred caption.
#include "toolkit/controls/CustomControl.h"

enum class TBevelCut { bvNone, bvLowered, bvRaised };
using enum TBevelCut;

class TPanel : public TCustomControl {
public:
    TPanel();

    TBorderStyle BorderStyle() const noexcept { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    TBevelCut BevelOuter() const noexcept { return bevelOuter_; }
    void SetBevelOuter(TBevelCut bevel);

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    TBorderStyle borderStyle_ = bsNone;
    TBevelCut bevelOuter_ = bvRaised;
};
