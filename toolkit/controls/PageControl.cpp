#include "toolkit/controls/PageControl.h"

#include "toolkit/controls/TabSheet.h"
#include "toolkit/core/LateBound.h"

#include <algorithm>

namespace {
// Margin of the pages when no tab is shown.
constexpr int kTablessMargin = 4;
} // namespace

TPageControl::TPageControl()
{
    SetTabStop(true);
}

TPageControl::~TPageControl()
{
    for (TTabSheet* page : std::vector<TTabSheet*>(pages_))
        page->SetParent(nullptr);
}

void TPageControl::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    // The library is asked for when a window is made, not when the object is: a form's first
    // window then comes while the library loads.
    static const bool initialised = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
        return late::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)initialised;
    params.ClassName = WC_TABCONTROLA;
}

void TPageControl::HandleCreated()
{
    TWinControl::HandleCreated();
    UpdateTabs();
}

void TPageControl::InsertPage(TTabSheet& page)
{
    pages_.push_back(&page);
    if (!active_)
        SetActivePage(&page);
    else
        UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet& page) noexcept
{
    pages_.erase(std::remove(pages_.begin(), pages_.end(), &page), pages_.end());
    if (active_ == &page)
        active_ = nullptr;
}

int TPageControl::ActivePageIndex() const noexcept
{
    for (std::size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i] == active_)
            return static_cast<int>(i);
    return -1;
}

void TPageControl::SetActivePageIndex(int index)
{
    SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (page && page->PageControl() != this)
        return;
    active_ = page;
    for (TTabSheet* p : pages_)
        if (p != page)
            p->SetVisible(false);
    UpdateTabs();
    if (page)
        page->SetVisible(true);
}

int TPageControl::VisibleTabCount() const noexcept
{
    return static_cast<int>(std::count_if(pages_.begin(), pages_.end(), [](TTabSheet* p) { return p->TabVisible(); }));
}

TTabSheet* TPageControl::PageOfTab(int tabIndex) const noexcept
{
    for (TTabSheet* p : pages_)
        if (p->TabVisible() && tabIndex-- == 0)
            return p;
    return nullptr;
}

bool TPageControl::SelectNextPage(bool forward)
{
    std::vector<TTabSheet*> shown;
    for (TTabSheet* p : pages_)
        if (p->TabVisible())
            shown.push_back(p);
    const auto it = std::find(shown.begin(), shown.end(), active_);
    if (shown.empty() || (it != shown.end() && shown.size() == 1))
        return false;
    std::size_t next = 0;
    if (it != shown.end()) {
        const auto at = static_cast<std::size_t>(it - shown.begin());
        next = (at + (forward ? 1 : shown.size() - 1)) % shown.size();
    }
    SetActivePage(shown[next]);
    if (OnChange)
        OnChange(this);
    return true;
}

void TPageControl::UpdateTabs()
{
    if (!HandleAllocated()) {
        LayoutPages();
        return;
    }
    const HWND window = Handle();
    SendMessageA(window, TCM_DELETEALLITEMS, 0, 0);
    int tab = 0, selected = -1;
    for (TTabSheet* p : pages_) {
        if (!p->TabVisible())
            continue;
        std::string text = p->Caption();
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageA(window, TCM_INSERTITEMA, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
        if (p == active_)
            selected = tab;
        ++tab;
    }
    SendMessageA(window, TCM_SETCURSEL, static_cast<WPARAM>(selected), 0);
    LayoutPages();
}

RECT TPageControl::DisplayRect()
{
    RECT r = ClientRect();
    if (VisibleTabCount() == 0 || !HandleAllocated()) {
        InflateRect(&r, -kTablessMargin, -kTablessMargin);
        return r;
    }
    SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TPageControl::LayoutPages()
{
    const RECT r = DisplayRect();
    for (TTabSheet* p : pages_)
        p->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::Resized()
{
    TWinControl::Resized();
    LayoutPages();
}

bool TPageControl::Notify(NMHDR& header, LRESULT& result)
{
    if (header.code != static_cast<UINT>(TCN_SELCHANGE))
        return false;
    const int tab = static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
    if (TTabSheet* page = PageOfTab(tab)) {
        SetActivePage(page);
        if (OnChange)
            OnChange(this);
    }
    result = 0;
    return true;
}
