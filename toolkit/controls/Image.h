#pragma once
// A picture control without a window: shows its Picture at natural size from the top-left
// corner, centred, or stretched over the control; Transparent leaves the picture's
// key-coloured pixels out so the parent shows through.
#include "toolkit/controls/GraphicControl.h"
#include "toolkit/graphics/Picture.h"

class TImage : public TGraphicControl {
public:
    TImage();
    ~TImage() override;

    TPicture& Picture() noexcept { return picture_; }

    // The canvas of the picture's bitmap, to draw on. An image without a picture gets a white
    // bitmap of the control's size; one holding another kind of picture raises an Exception.
    TCanvas& Canvas();

    bool Stretch() const noexcept { return stretch_; }
    void SetStretch(bool stretch);
    bool Center() const noexcept { return center_; }
    void SetCenter(bool center);
    bool Transparent() const noexcept { return transparent_; }
    void SetTransparent(bool transparent);
    // The control takes the size of its picture, now and whenever the picture changes.
    bool AutoSize() const noexcept { return autoSize_; }
    void SetAutoSize(bool autoSize);

    // Where the picture lands in the client area.
    RECT DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged();

    TPicture picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
    bool autoSize_ = false;
};
