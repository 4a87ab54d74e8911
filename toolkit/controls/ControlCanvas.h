#pragma once
// The canvas of a control: during painting it draws into the paint message's device context;
// at other times it borrows the window's own (GetDC) and gives it back when done, at the
// latest when the window goes (the control's HandleDestroying).
#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Scoped.h"

class TWinControl;

class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TWinControl& control) noexcept : control_(control) {}
    ~TControlCanvas() override;

    // Gives back a context borrowed from the window.
    void FreeHandle() noexcept;

protected:
    void CreateHandle() override;

private:
    TWinControl& control_;
    ScopedWindowDC borrowed_;
};
