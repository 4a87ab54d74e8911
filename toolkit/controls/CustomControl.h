#pragma once
// A windowed control that draws itself: its own canvas and a Paint to override. Mouse enter
// and leave, focus, keyboard, enabled, font, caption and system-colour notifications come
// through the virtual hooks of TControl and TWinControl.
#include "toolkit/controls/ControlCanvas.h"
#include "toolkit/controls/WinControl.h"

class TCustomControl : public TWinControl {
public:
    TCustomControl();
    ~TCustomControl() override;

    TCanvas& Canvas() noexcept { return canvas_; }

protected:
    // Draws the control on Canvas, which is set to the device context being painted.
    virtual void Paint();
    void PaintWindow(HDC dc) override;
    void HandleDestroying() override;

private:
    TControlCanvas canvas_;
};
