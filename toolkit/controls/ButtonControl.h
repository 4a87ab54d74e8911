#pragma once
// The platform's check box and radio button: a "BUTTON" window whose check state this object
// keeps, with a click on every change of state and the caption's accelerator.
#include "toolkit/controls/WinControl.h"

class TButtonControl : public TWinControl {
public:
    TButtonControl();

    bool Checked() const noexcept { return checked_; }
    virtual void SetChecked(bool checked);
    bool DialogChar(char ch) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    bool Command(WORD code) override;
    HBRUSH ControlColor(HDC dc) override;
    // The button style bits of the kind (BS_CHECKBOX, BS_RADIOBUTTON).
    virtual DWORD ButtonStyle() const noexcept = 0;
    // What a click of the user does to the state.
    virtual void Toggle() = 0;
    // Stores the state and shows it, without a click.
    void StoreChecked(bool checked);

private:
    bool checked_ = false;
};
