#pragma once
// A check box: each click toggles Checked and fires OnClick, as does setting Checked.
#include "toolkit/controls/ButtonControl.h"

class TCheckBox : public TButtonControl {
protected:
    DWORD ButtonStyle() const noexcept override { return BS_CHECKBOX; }
    void Toggle() override { SetChecked(!Checked()); }
};
