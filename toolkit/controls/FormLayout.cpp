#include "toolkit/controls/FormLayout.h"

#include "toolkit/controls/Form.h"

#include <vector>

void BuildLayout(TForm& form, const TFormLayout& rows)
{
    std::vector<TComponent*> built;
    built.reserve(rows.size());
    for (const TLayoutRow& row : rows) {
        TComponent& component = row.Create(form);
        component.BeginLoading();
        built.push_back(&component);
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
    for (TComponent* component : built)
        component->Loaded();
}
