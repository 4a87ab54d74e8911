#include "toolkit/graphics/GraphicsObject.h"

#include "toolkit/core/Exception.h"

HGDIOBJ TGraphicsObject::ObjectHandle()
{
    if (!handle_) {
        handle_ = CreateObject();
        if (!handle_)
            throw EOSError("Cannot create a drawing object");
    }
    return handle_.get();
}

void TGraphicsObject::Changed()
{
    // The old object may still be selected into a device context; listeners deselect it
    // before it is deleted, and nobody can fetch it any more meanwhile.
    TToolObject old(std::move(handle_));
    if (OnChange)
        OnChange(this);
}
