#pragma once
// One page of a page control. Its caption is the tab's text; a page whose tab is hidden can
// still be the active page.
#include "toolkit/controls/WinControl.h"

class TPageControl;

class TTabSheet : public TWinControl {
public:
    TTabSheet();
    ~TTabSheet() override;

    TPageControl* PageControl() const noexcept { return pageControl_; }
    void SetParent(TWinControl* parent) override;

    bool TabVisible() const noexcept { return tabVisible_; }
    void SetTabVisible(bool visible);
    // Position among the page control's pages, or -1.
    int PageIndex() const noexcept;

protected:
    void CaptionChanged() override;
    // The page control lays its pages out over its display area.
    bool PlacedByParent() const noexcept override { return true; }

private:
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
};
