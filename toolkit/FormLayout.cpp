#include "toolkit/FormLayout.h"

#include "toolkit/Form.h"

void BuildLayout(TForm& form, const TFormLayout& rows)
{
    for (const TLayoutRow& row : rows) {
        TComponent& component = row.Create(form);
        component.SetName(row.Name);
        if (auto* control = dynamic_cast<TControl*>(&component)) {
            if (row.Placed)
                control->SetBounds(row.Left, row.Top, row.Width, row.Height);
            TWinControl* parent = &form;
            if (!row.Parent.empty())
                parent = &form.Component<TWinControl>(row.Parent);
            control->SetParent(parent);
        }
        if (row.Setup)
            row.Setup(component);
    }
}
