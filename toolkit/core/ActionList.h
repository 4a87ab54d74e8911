#pragma once
// A named group of actions, as a form lists them.
#include "toolkit/core/Component.h"

#include <string_view>
#include <vector>

class TAction;

class TActionList : public TComponent {
public:
    TActionList() = default;
    ~TActionList() override;

    std::size_t ActionCount() const noexcept { return actions_.size(); }
    TAction& Actions(std::size_t index) const { return *actions_.at(index); }
    // The action of that name, or null.
    TAction* FindAction(std::string_view name) const noexcept;

    // Kept by TAction::SetActionList.
    void AddAction(TAction& action);
    void RemoveAction(TAction& action) noexcept;

private:
    std::vector<TAction*> actions_;
};
