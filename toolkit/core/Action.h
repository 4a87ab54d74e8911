#pragma once
// A command with its own state: controls bound to it follow its Enabled and Visible (and its
// Caption when it has one), and a click on them runs its OnExecute.
#include "toolkit/core/Component.h"

#include <string>
#include <vector>

class TActionList;
class TControl;

class TAction : public TComponent {
public:
    TAction() = default;
    ~TAction() override;

    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible);
    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(const std::string& caption);

    TActionList* ActionList() const noexcept { return list_; }
    void SetActionList(TActionList* list);

    // Runs OnExecute with the action as sender; false when disabled or without a handler.
    bool Execute();
    TNotifyEvent OnExecute;

    // Bound controls; kept by TControl::SetAction.
    void AddClient(TControl& control);
    void RemoveClient(TControl& control) noexcept;

private:
    void Changed();

    bool enabled_ = true;
    bool visible_ = true;
    std::string caption_;
    TActionList* list_ = nullptr;
    std::vector<TControl*> clients_;
};
