#pragma once
// An image list: either one that this object made and destroys, or a list owned by someone
// else (the system's icon lists) that it only uses.
#include "toolkit/core/Component.h"
#include "toolkit/core/LateBound.h"
#include "toolkit/core/Scoped.h"

#include <commctrl.h>

using ScopedImageList = ScopedHandle<scoped_traits::Null<HIMAGELIST, &late::ImageList_Destroy>>;

class TImageList : public TComponent {
public:
    // An empty object holding no list.
    TImageList() noexcept = default;
    // A new list of its own for images of the given size.
    TImageList(int width, int height);

    HIMAGELIST Handle() const noexcept { return owned_ ? owned_.get() : shared_; }
    bool HandleAllocated() const noexcept { return Handle() != nullptr; }
    bool ShareImages() const noexcept { return shared_ != nullptr; }

    // Takes a list made elsewhere; this object destroys it.
    void Adopt(HIMAGELIST list) noexcept;
    // Uses a list owned elsewhere; this object never destroys it.
    void Share(HIMAGELIST list) noexcept;
    // Uses the system's small-icon list, the one the shell draws its items from.
    void ShareSystemSmallIcons();

    int Count() const noexcept;
    int Width() const noexcept;
    int Height() const noexcept;
    // Adds a copy of the icon; answers its index.
    int AddIcon(HICON icon);

private:
    ScopedImageList owned_;
    HIMAGELIST shared_ = nullptr;
};
