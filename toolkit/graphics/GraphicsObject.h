#pragma once
// Common ground of the drawing tools (brush, pen, font): a platform object built lazily from
// the tool's settings, thrown away when a setting changes, and a change event.
#include "toolkit/core/Object.h"
#include "toolkit/core/Scoped.h"

#include <utility>

// The platform object of a tool: either made for it, and deleted when the tool lets go of it,
// or one of the system's stock objects, which belong to nobody and are only used.
class TToolObject {
public:
    TToolObject() noexcept = default;
    static TToolObject Made(HGDIOBJ object) noexcept
    {
        TToolObject tool;
        tool.made_.reset(object);
        return tool;
    }
    static TToolObject Stock(int index) noexcept
    {
        TToolObject tool;
        tool.stock_ = GetStockObject(index);
        return tool;
    }
    TToolObject(TToolObject&& other) noexcept
        : made_(std::move(other.made_)), stock_(std::exchange(other.stock_, nullptr))
    {
    }
    TToolObject& operator=(TToolObject&& other) noexcept
    {
        made_ = std::move(other.made_);
        stock_ = std::exchange(other.stock_, nullptr);
        return *this;
    }

    HGDIOBJ get() const noexcept { return made_ ? made_.get() : stock_; }
    explicit operator bool() const noexcept { return get() != nullptr; }

private:
    ScopedHandle<scoped_traits::Gdi<HGDIOBJ>> made_;
    HGDIOBJ stock_ = nullptr;
};

class TGraphicsObject : public TObject {
public:
    // Fired after a setting changed; the canvas that owns the tool deselects it here.
    TNotifyEvent OnChange;

    // The platform object for the current settings; created on first use.
    HGDIOBJ ObjectHandle();
    bool HandleAllocated() const noexcept { return bool(handle_); }

protected:
    virtual TToolObject CreateObject() const = 0;
    // Call after every effective change of a setting.
    void Changed();
    // Stores a setting and reports the change when the value is new.
    template <typename T>
    void Update(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }

private:
    TToolObject handle_;
};
