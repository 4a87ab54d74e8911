#include "toolkit/GraphicsObject.h"

#include "toolkit/Exception.h"

HGDIOBJ TGraphicsObject::ObjectHandle()
{
    if (!handle_) {
        handle_.reset(CreateObject());
        if (!handle_)
            throw EOSError("Cannot create a drawing object");
    }
    return handle_.get();
}

void TGraphicsObject::Changed()
{
    // The old object may still be selected into a device context; listeners deselect it
    // before it is deleted, and nobody can fetch it any more meanwhile.
    ScopedHandle<scoped_traits::Gdi<HGDIOBJ>> old(handle_.release());
    if (OnChange)
        OnChange(this);
}
