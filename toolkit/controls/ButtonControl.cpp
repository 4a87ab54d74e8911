#include "toolkit/controls/ButtonControl.h"

#include "toolkit/graphics/Font.h"

TButtonControl::TButtonControl()
{
    SetTabStop(true);
    // The click is the platform's notification, not a press and release seen here.
    SetControlStyle(ControlStyle() & ~csClickEvents);
}

void TButtonControl::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.ClassName = "BUTTON";
    params.Style = (params.Style & ~WS_CLIPCHILDREN) | ButtonStyle();
    // A new button is unchecked; an unchecked radio button is no Tab stop, as the platform
    // makes it when told so: the window starts in the state the message would leave.
    const DWORD type = params.Style & BS_TYPEMASK;
    if (!checked_ && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON))
        params.Style &= ~WS_TABSTOP;
}

void TButtonControl::HandleCreated()
{
    TWinControl::HandleCreated();
    // Each message costs a redraw of a themed button: only a checked one is told.
    if (checked_)
        SendMessageA(Handle(), BM_SETCHECK, BST_CHECKED, 0);
}

void TButtonControl::StoreChecked(bool checked)
{
    checked_ = checked;
    if (HandleAllocated())
        SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TButtonControl::SetChecked(bool checked)
{
    if (checked == checked_)
        return;
    StoreChecked(checked);
    Click();
}

bool TButtonControl::Command(WORD code)
{
    if (code != BN_CLICKED)
        return false;
    Toggle();
    return true;
}

bool TButtonControl::DialogChar(char ch)
{
    if (!IsAccelerator(ch, Caption()) || !CanFocus())
        return false;
    SetFocus();
    Toggle();
    return true;
}

HBRUSH TButtonControl::ControlColor(HDC dc)
{
    SetBkMode(dc, TRANSPARENT);
    return TWinControl::ControlColor(dc);
}
