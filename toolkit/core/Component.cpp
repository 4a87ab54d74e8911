#include "toolkit/core/Component.h"

#include "toolkit/core/Application.h"

#include <windows.h>

#include <algorithm>

TComponent::~TComponent()
{
    while (!linked_.empty()) {
        TComponent* other = linked_.back();
        linked_.pop_back();
        other->Unlink(*this);
        other->ComponentRemoved(*this);
    }
    DestroyNewestFirst(owned_);
    Application.SenderGone(this);
}

void TComponent::FreeNotification(TComponent& other)
{
    if (&other == this || std::find(linked_.begin(), linked_.end(), &other) != linked_.end())
        return;
    linked_.reserve(linked_.size() + 1);
    other.linked_.push_back(this);
    linked_.push_back(&other); // cannot fail: room was made first
}

void TComponent::RemoveFreeNotification(TComponent& other) noexcept
{
    Unlink(other);
    other.Unlink(*this);
}

void TComponent::Unlink(TComponent& other) noexcept
{
    linked_.erase(std::remove(linked_.begin(), linked_.end(), &other), linked_.end());
}

void TComponent::Adopt(std::unique_ptr<TComponent> component)
{
    component->owner_ = this;
    owned_.push_back(std::move(component));
}

TComponent* TComponent::FindComponent(std::string_view name) const noexcept
{
    if (name.empty())
        return nullptr;
    for (const auto& c : owned_) {
        const std::string& n = c->Name();
        if (n.size() == name.size() &&
            CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, n.data(), static_cast<int>(n.size()),
                           name.data(), static_cast<int>(name.size())) == CSTR_EQUAL)
            return c.get();
    }
    return nullptr;
}
