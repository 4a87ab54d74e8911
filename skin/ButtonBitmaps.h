#pragma once
// The six pictures of a bitmap button and the key colour they share. Assigning a picture
// copies it (the caller keeps its own); OnChange fires whenever a picture changes or the key
// colour is set to another value.
#include "toolkit/graphics/Bitmap.h"

#include <string>

class TButtonBitmaps : public TObject {
public:
    TButtonBitmaps();
    ~TButtonBitmaps() override;

    TBitmap& Up() noexcept { return up_; }
    TBitmap& UpAndFocused() noexcept { return upAndFocused_; }
    TBitmap& Disabled() noexcept { return disabled_; }
    TBitmap& Down() noexcept { return down_; }
    TBitmap& StayDown() noexcept { return stayDown_; }
    TBitmap& Hot() noexcept { return hot_; }
    TColor TransparentColor() const noexcept { return transparentColor_; }

    virtual void SetUp(const TBitmap& bitmap);
    virtual void SetUpAndFocused(const TBitmap& bitmap);
    virtual void SetDisabled(const TBitmap& bitmap);
    virtual void SetDown(const TBitmap& bitmap);
    virtual void SetStayDown(const TBitmap& bitmap);
    virtual void SetHot(const TBitmap& bitmap);
    virtual void SetTransparentColor(TColor color);

    // The pictures a module holds as bitmap resources named <stem>_UP, _UPANDFOCUSED,
    // _DISABLED, _DOWN, _STAYDOWN and _HOT (in any letter case, as resource names are); a
    // missing resource leaves that picture as it is. Returns how many were found.
    int LoadFromResources(HINSTANCE instance, const std::string& stem);
    // The same from files <stem>_up.bmp, ... in a folder.
    int LoadFromFiles(const std::string& folder, const std::string& stem);

    TNotifyEvent OnChange;

private:
    void Changed();

    TBitmap up_, upAndFocused_, disabled_, down_, stayDown_, hot_;
    TColor transparentColor_ = clOlive;
};
