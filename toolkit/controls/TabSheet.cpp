#include "toolkit/controls/TabSheet.h"

#include "toolkit/controls/PageControl.h"

TTabSheet::TTabSheet()
{
    InitVisible(false);
}

TTabSheet::~TTabSheet()
{
    if (pageControl_)
        pageControl_->RemovePage(*this);
}

void TTabSheet::SetParent(TWinControl* parent)
{
    if (pageControl_)
        pageControl_->RemovePage(*this);
    pageControl_ = nullptr;
    TWinControl::SetParent(parent);
    if (auto* pages = dynamic_cast<TPageControl*>(parent)) {
        pageControl_ = pages;
        pages->InsertPage(*this);
    }
}

void TTabSheet::SetTabVisible(bool visible)
{
    if (visible == tabVisible_)
        return;
    tabVisible_ = visible;
    if (pageControl_)
        pageControl_->UpdateTabs();
}

int TTabSheet::PageIndex() const noexcept
{
    if (!pageControl_)
        return -1;
    for (int i = 0; i < pageControl_->PageCount(); ++i)
        if (&pageControl_->Pages(i) == this)
            return i;
    return -1;
}

void TTabSheet::CaptionChanged()
{
    TWinControl::CaptionChanged();
    if (pageControl_)
        pageControl_->UpdateTabs();
}
