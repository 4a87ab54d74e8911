#pragma once
// A pop-up menu of captioned items, each with its own click handler. The platform menu is kept
// in step with the items; Popup tracks it on the owner window and runs the chosen item's handler
// after the menu has closed, so a handler may raise freely.
#include "toolkit/core/Component.h"
#include "toolkit/core/Scoped.h"

#include <functional>
#include <string>
#include <vector>

class TPopupMenu : public TComponent {
public:
    using ClickHandler = std::function<void()>;

    explicit TPopupMenu(HWND owner = nullptr);

    HWND Owner() const noexcept { return owner_; }
    void SetOwner(HWND owner) noexcept { owner_ = owner; }
    HMENU Handle() const noexcept { return menu_.get(); }

    // Whether a control shows this menu by itself on a right click (true by default).
    bool AutoPopup() const noexcept { return autoPopup_; }
    void SetAutoPopup(bool value) noexcept { autoPopup_ = value; }

    // Appends an item and answers its command id; the caption "-" makes a separator.
    UINT Add(const std::string& caption, ClickHandler onClick = {});
    std::size_t Count() const noexcept { return items_.size(); }
    const std::string& Caption(std::size_t index) const { return items_.at(index).caption; }
    UINT CommandOf(std::size_t index) const { return items_.at(index).command; }
    void Clear();

    // Runs before the menu is shown, so that items may be adjusted.
    std::function<void(TPopupMenu&)> OnPopup;

    // Shows the menu at a screen point; answers the chosen command id, 0 when none.
    UINT Popup(int x, int y) { return PopupFrom(owner_, x, y); }
    // The same, tracked on the given window for this once; Owner stays as it is.
    UINT PopupFrom(HWND window, int x, int y);
    // Runs the handler of a command id; false when no item has that id.
    bool DispatchCommand(UINT command);

private:
    struct Item {
        std::string caption;
        ClickHandler onClick;
        UINT command;
    };

    HWND owner_;
    ScopedMenu menu_;
    std::vector<Item> items_;
    UINT nextCommand_ = 1;
    bool autoPopup_ = true;
};
