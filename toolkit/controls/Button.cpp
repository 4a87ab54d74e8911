#include "toolkit/controls/Button.h"

TButton::TButton()
{
    SetTabStop(true);
    // The click is the platform's notification, not a press and release seen here.
    SetControlStyle(ControlStyle() & ~csClickEvents);
}

void TButton::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.ClassName = "BUTTON";
    params.Style = (params.Style & ~WS_CLIPCHILDREN) | BS_PUSHBUTTON;
}

bool TButton::Command(WORD code)
{
    if (code != BN_CLICKED)
        return false;
    Click();
    return true;
}

void TButton::KeyDown(WORD& key, TShiftState shift)
{
    TWinControl::KeyDown(key, shift);
    // The platform's button leaves Enter to a dialog manager, which a form of ours is not.
    if (key == VK_RETURN && Enabled()) {
        key = 0;
        Click();
    }
}

bool TButton::DialogChar(char ch)
{
    if (!IsAccelerator(ch, Caption()) || !CanFocus())
        return false;
    Click();
    return true;
}
