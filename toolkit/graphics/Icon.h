#pragma once
// An icon: from an .ico file (the entry of the system icon size, or of a size asked for) or
// from an icon handle it takes over. Icons always draw through their own mask.
#include "toolkit/graphics/Graphic.h"
#include "toolkit/core/Scoped.h"

class TIcon : public TGraphic {
public:
    TIcon();

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return !handle_; }

    HICON Handle() const noexcept { return handle_.get(); }
    // Takes ownership of the handle (null empties the icon).
    void SetHandle(HICON icon);
    void SetHandle(ScopedIcon icon) { SetHandle(icon.release()); }
    // Hands the icon over to the caller; the icon is empty afterwards.
    ScopedIcon ReleaseHandle();

    // .ico data; anything else raises EInvalidGraphic "Icon image is not valid".
    void LoadFromStream(TByteSpan data) override;
    // The size an .ico is loaded at (for a display of another scale): its entry of that size,
    // else the smallest larger one made smaller, else the largest. 0, the default: the entry
    // of the system icon size as it stands.
    int WantedSize() const noexcept { return wantedSize_; }
    void SetWantedSize(int size) noexcept { wantedSize_ = size; }
    std::unique_ptr<TGraphic> Clone() const override;

protected:
    void Draw(TCanvas& canvas, const RECT& rect) override;

private:
    ScopedIcon handle_;
    int width_ = 0;
    int height_ = 0;
    int wantedSize_ = 0;
};
