#include "toolkit/Component.h"

#include <windows.h>

TComponent::~TComponent()
{
    DestroyNewestFirst(owned_);
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
