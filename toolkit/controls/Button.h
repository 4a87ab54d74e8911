#pragma once
// The platform's push button: a click for the mouse, Space, Enter while it has the focus, and its
// caption's access key. Screen readers know it as it is.
#include "toolkit/controls/WinControl.h"

class TButton : public TWinControl {
public:
    TButton();
    bool DialogChar(char ch) override;

protected:
    void CreateParams(TCreateParams& params) override;
    bool Command(WORD code) override;
    void KeyDown(WORD& key, TShiftState shift) override;
};
