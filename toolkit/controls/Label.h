#pragma once
// A line of text without a window: caption in the font's colour, on the control's colour
// unless transparent. An ampersand underlines the next character.
#include "toolkit/controls/GraphicControl.h"

class TLabel : public TGraphicControl {
public:
    TLabel();

    bool Transparent() const noexcept { return transparent_; }
    void SetTransparent(bool transparent);

protected:
    void Paint() override;

private:
    bool transparent_ = false;
};
