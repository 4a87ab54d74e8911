#pragma once
// Gives its form the outline of a picture. Placed on a form, it shows the picture over the
// whole client area, takes the form's caption and frame away, cuts the window to the
// picture's non-key pixels the first time the form is shown, and lets the user drag the
// window by any part of the picture.
//
// The shape takes over the form's show event: the form's own show logic goes in OnFormShow,
// which runs on every show once the outline is in place.
//
// In a contrast theme the picture gives way to the system's face colour with the outline
// framed, so that nothing the theme cannot recolour is left.
#include "toolkit/controls/Image.h"
#include "toolkit/core/Scoped.h"

#include <memory>

class TBitmap;
class TForm;

class TFormShape : public TImage {
public:
    // The owner must be a form (EInvalidCast otherwise).
    explicit TFormShape(TComponent& owner);
    ~TFormShape() override;

    bool AllowFormDrag() const noexcept { return allowFormDrag_; }
    void SetAllowFormDrag(bool allow) noexcept { allowFormDrag_ = allow; }
    bool RegionApplied() const noexcept { return regionApplied_; }

    // The form's show event: the outline, then OnFormShow.
    void FormShowHook(TObject* sender);
    // Builds the outline from the picture and hands it to the form's window; once per shape.
    void ApplyShape();
    // A new skin for the window at another display scale: shown at once, and the outline is
    // cut again from it when it was applied already (else the first show cuts it).
    void ChangeSkin(std::unique_ptr<TBitmap> picture);
    // The union of the bitmap's non-key pixels; an empty owner when there are none.
    virtual ScopedRegion RegionFromBitmap(TBitmap& bitmap);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

    TNotifyEvent OnFormShow;

protected:
    // The picture as the base control paints it, limited to the part the canvas shows: the
    // buttons ask for the skin under themselves on every paint.
    void Paint() override;

private:
    TForm& form_;
    bool allowFormDrag_ = true;
    bool regionApplied_ = false;
    // The form's show event reaches the shape only while this lives: the form may keep the
    // event after the shape is gone.
    std::shared_ptr<TFormShape*> alive_;
};
