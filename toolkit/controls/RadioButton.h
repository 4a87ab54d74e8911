#pragma once
// A radio button. The radio buttons of one parent form one group: checking one unchecks the
// others. OnClick fires when a button becomes checked.
#include "toolkit/controls/ButtonControl.h"

class TRadioButton : public TButtonControl {
public:
    void SetChecked(bool checked) override;

protected:
    DWORD ButtonStyle() const noexcept override { return BS_RADIOBUTTON; }
    void Toggle() override { SetChecked(true); }
};
