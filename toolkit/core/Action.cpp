#include "toolkit/core/Action.h"

#include "toolkit/core/ActionList.h"
#include "toolkit/controls/Control.h"

#include <algorithm>

TAction::~TAction()
{
    SetActionList(nullptr);
    // Controls must not keep a reference to a gone action.
    for (TControl* c : std::vector<TControl*>(clients_))
        c->SetAction(nullptr);
}

void TAction::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Changed();
}

void TAction::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    Changed();
}

void TAction::SetCaption(const std::string& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    Changed();
}

void TAction::SetActionList(TActionList* list)
{
    if (list == list_)
        return;
    if (list_)
        list_->RemoveAction(*this);
    list_ = list;
    if (list_)
        list_->AddAction(*this);
}

bool TAction::Execute()
{
    if (!enabled_ || !OnExecute)
        return false;
    OnExecute(this);
    return true;
}

void TAction::AddClient(TControl& control)
{
    if (std::find(clients_.begin(), clients_.end(), &control) == clients_.end())
        clients_.push_back(&control);
}

void TAction::RemoveClient(TControl& control) noexcept
{
    clients_.erase(std::remove(clients_.begin(), clients_.end(), &control), clients_.end());
}

void TAction::Changed()
{
    for (TControl* c : std::vector<TControl*>(clients_))
        c->ActionChanged();
}
