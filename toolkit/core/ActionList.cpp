#include "toolkit/core/ActionList.h"

#include "toolkit/core/Action.h"

#include <algorithm>

TActionList::~TActionList()
{
    for (TAction* a : std::vector<TAction*>(actions_))
        a->SetActionList(nullptr);
}

TAction* TActionList::FindAction(std::string_view name) const noexcept
{
    for (TAction* a : actions_)
        if (a->Name() == name)
            return a;
    return nullptr;
}

void TActionList::AddAction(TAction& action)
{
    if (std::find(actions_.begin(), actions_.end(), &action) == actions_.end())
        actions_.push_back(&action);
}

void TActionList::RemoveAction(TAction& action) noexcept
{
    actions_.erase(std::remove(actions_.begin(), actions_.end(), &action), actions_.end());
}
