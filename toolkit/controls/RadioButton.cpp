#include "toolkit/controls/RadioButton.h"

void TRadioButton::SetChecked(bool checked)
{
    if (checked == Checked())
        return;
    StoreChecked(checked);
    if (!checked)
        return;
    if (TWinControl* parent = Parent())
        for (std::size_t i = 0; i < parent->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TRadioButton*>(&parent->Controls(i)); other && other != this)
                other->SetChecked(false);
    Click();
}
