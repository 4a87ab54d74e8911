#pragma once
// A named object that may own other components: the owner destroys what it owns, in reverse
// order of creation, and finds them by name.
#include "toolkit/core/Exception.h"
#include "toolkit/core/Object.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Destroys owned objects newest first: later ones may refer to earlier ones (a control to its
// parent), and each is out of the list before its destructor runs.
template <typename T>
void DestroyNewestFirst(std::vector<std::unique_ptr<T>>& owned) noexcept
{
    while (!owned.empty()) {
        std::unique_ptr<T> last = std::move(owned.back());
        owned.pop_back();
        last.reset();
    }
}

class TComponent : public TObject {
public:
    TComponent() = default;
    ~TComponent() override;

    const std::string& Name() const noexcept { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    TComponent* Owner() const noexcept { return owner_; }

    // Creates a component owned by this one.
    template <typename T, typename... Args>
    T& Own(Args&&... args)
    {
        auto owned = std::make_unique<T>(std::forward<Args>(args)...);
        T& result = *owned;
        Adopt(std::move(owned));
        return result;
    }
    // Takes over a component made elsewhere.
    void Adopt(std::unique_ptr<TComponent> component);

    // The owned component of that name (compared without regard to case), or null.
    TComponent* FindComponent(std::string_view name) const noexcept;
    // The owned component of that name as the kind the caller expects; a missing one or one of
    // another kind raises EInvalidCast.
    template <typename T>
    T& Component(std::string_view name) const
    {
        if (auto* found = dynamic_cast<T*>(FindComponent(name)))
            return *found;
        throw EInvalidCast();
    }
    std::size_t ComponentCount() const noexcept { return owned_.size(); }

    // Links this component and the other so that each hears (ComponentRemoved) when the other
    // is destroyed: for components that keep a pointer to one they do not own.
    void FreeNotification(TComponent& other);
    void RemoveFreeNotification(TComponent& other) noexcept;

    // True from the start of building a form's layout row until the whole table is built.
    bool Loading() const noexcept { return loading_; }
    void BeginLoading() noexcept { loading_ = true; }
    // Runs once the table that made this component is complete; overrides call this first.
    virtual void Loaded() { loading_ = false; }
    TComponent& ComponentAt(std::size_t index) const { return *owned_.at(index); }

protected:
    // A component linked by FreeNotification is being destroyed (only its TComponent part is
    // left): every pointer to it must be dropped here.
    virtual void ComponentRemoved(TComponent&) noexcept {}

private:
    void Unlink(TComponent& other) noexcept;

    std::string name_;
    TComponent* owner_ = nullptr;
    bool loading_ = false;
    std::vector<std::unique_ptr<TComponent>> owned_;
    std::vector<TComponent*> linked_; // FreeNotification, both ways
};
