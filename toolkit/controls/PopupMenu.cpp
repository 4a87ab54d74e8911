#include "toolkit/controls/PopupMenu.h"

#include "toolkit/core/Exception.h"

#include <algorithm>

namespace {
ScopedMenu NewPopupMenu()
{
    ScopedMenu menu(CreatePopupMenu());
    if (!menu)
        throw EOSError("A pop-up menu cannot be created");
    return menu;
}
} // namespace

TPopupMenu::TPopupMenu(HWND owner) : owner_(owner), menu_(NewPopupMenu()) {}

UINT TPopupMenu::Add(const std::string& caption, ClickHandler onClick)
{
    const UINT command = nextCommand_++;
    const BOOL added = caption == "-"
        ? AppendMenuA(menu_.get(), MF_SEPARATOR, command, nullptr)
        : AppendMenuA(menu_.get(), MF_STRING, command, caption.c_str());
    if (!added)
        throw EOSError("A menu item cannot be added: " + caption);
    items_.push_back({caption, std::move(onClick), command});
    return command;
}

void TPopupMenu::Clear()
{
    menu_ = NewPopupMenu();
    items_.clear();
}

UINT TPopupMenu::PopupFrom(HWND window, int x, int y)
{
    if (OnPopup)
        OnPopup(*this);
    if (items_.empty())
        return 0;
    if (!window)
        throw Exception("A pop-up menu needs an owner window");
    // Without this the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(window);
    const UINT command = static_cast<UINT>(TrackPopupMenu(
        menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0,
        window, nullptr));
    PostMessageA(window, WM_NULL, 0, 0);
    if (command != 0)
        DispatchCommand(command);
    return command;
}

bool TPopupMenu::DispatchCommand(UINT command)
{
    const auto item = std::find_if(items_.begin(), items_.end(),
                                   [command](const Item& i) { return i.command == command; });
    if (item == items_.end())
        return false;
    // A copy: the handler may clear the menu it was called from.
    const ClickHandler handler = item->onClick;
    if (handler)
        handler();
    return true;
}
