#pragma once
// Pages with tabs (the platform's tab control). Each tab can be hidden on its own; the active
// page fills the display area and is the only page shown. Without any visible tab the pages
// take the whole control but for a thin margin.
#include "toolkit/controls/WinControl.h"

#include <vector>

class TTabSheet;

class TPageControl : public TWinControl {
public:
    TPageControl();
    ~TPageControl() override;

    int PageCount() const noexcept { return static_cast<int>(pages_.size()); }
    TTabSheet& Pages(int index) const { return *pages_.at(static_cast<std::size_t>(index)); }

    TTabSheet* ActivePage() const noexcept { return active_; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const noexcept;
    void SetActivePageIndex(int index);
    // Number of tabs shown (pages whose tab is visible).
    int VisibleTabCount() const noexcept;
    // The page of a shown tab, counted among visible tabs.
    TTabSheet* PageOfTab(int tabIndex) const noexcept;
    // Turns to the next (or previous) page whose tab is shown, round past the end, as Ctrl+Tab
    // and Ctrl+Shift+Tab do; OnChange follows. False when there is no other such page.
    bool SelectNextPage(bool forward);

    // Fired after the user switched to another page.
    TNotifyEvent OnChange;

    // Kept by TTabSheet.
    void InsertPage(TTabSheet& page);
    void RemovePage(TTabSheet& page) noexcept;
    void UpdateTabs();

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    bool Notify(NMHDR& header, LRESULT& result) override;
    void Resized() override;

private:
    RECT DisplayRect();
    void LayoutPages();

    std::vector<TTabSheet*> pages_;
    TTabSheet* active_ = nullptr;
};
