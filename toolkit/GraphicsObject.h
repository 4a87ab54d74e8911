#pragma once
// Common ground of the drawing tools (brush, pen, font): a platform object built lazily from
// the tool's settings, thrown away when a setting changes, and a change event.
#include "toolkit/Object.h"
#include "toolkit/Scoped.h"

class TGraphicsObject : public TObject {
public:
    // Fired after a setting changed; the canvas that owns the tool deselects it here.
    TNotifyEvent OnChange;

    // The platform object for the current settings; created on first use.
    HGDIOBJ ObjectHandle();
    bool HandleAllocated() const noexcept { return bool(handle_); }

protected:
    virtual HGDIOBJ CreateObject() const = 0;
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
    ScopedHandle<scoped_traits::Gdi<HGDIOBJ>> handle_;
};
