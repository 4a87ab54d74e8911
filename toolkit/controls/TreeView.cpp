#include "toolkit/controls/TreeView.h"

#include "toolkit/core/Application.h"
#include "toolkit/core/LateBound.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/core/PathText.h"
#include "toolkit/controls/PopupMenu.h"
#include "toolkit/core/ScopedValue.h"

#include <windowsx.h>

#include <utility>

namespace {
constexpr UINT_PTR kChangeTimer = 0x5452;

// Points a field at a component that the tree uses but does not own, and hears of its end
// while (and only while) it is set there.
template <typename T>
void Link(TComponent& tree, T*& field, TComponent*& link, T* component)
{
    if (component)
        tree.FreeNotification(*component);
    if (field && field != component)
        tree.RemoveFreeNotification(*field);
    field = component;
    link = component;
}

// Asks an event that may refuse; allowed when nobody is listening.
bool Allowed(const TTVExpandingEvent& event, TObject* sender, TTreeNode* node)
{
    bool allow = true;
    if (event)
        event(sender, node, allow);
    return allow;
}

// The control answers TRUE to refuse an expansion, a selection change or an edit; an error
// while deciding refuses as well.
template <typename F>
LRESULT Refusal(F&& allowed, TObject* sender) noexcept
{
    return GuardedResult([&] { return allowed() ? LRESULT(FALSE) : LRESULT(TRUE); }, LRESULT(TRUE), sender);
}
} // namespace

TTreeView::TTreeView() : items_(*this)
{
    SetTabStop(true);
    SetColor(clWindow);
    // The control tracks the mouse itself (drag detection, right clicks).
    SetControlStyle(ControlStyle() & ~(csCaptureMouse | csClickEvents));
}

TTreeView::~TTreeView()
{
    DestroyHandle();
}

void TTreeView::DeleteAllNodes() noexcept
{
    if (HandleAllocated())
        Guarded([this] { items_.Clear(); }, this);
}

void TTreeView::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    // Asked for when the window is made (see TPageControl).
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    late::InitCommonControlsEx(&icc);
    params.ClassName = WC_TREEVIEWA;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    if (showRoot_)
        params.Style |= TVS_LINESATROOT;
    if (showLines_)
        params.Style |= TVS_HASLINES;
    if (showButtons_)
        params.Style |= TVS_HASBUTTONS;
    if (!readOnly_)
        params.Style |= TVS_EDITLABELS;
    if (!hideSelection_)
        params.Style |= TVS_SHOWSELALWAYS;
}

void TTreeView::HandleCreated()
{
    TWinControl::HandleCreated();
    SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(Scaled(indent_)), 0);
    if (images_)
        SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_->Handle()));
}

void TTreeView::HandleDestroying()
{
    DeleteAllNodes();
    TWinControl::HandleDestroying();
}

void TTreeView::SetStyleBit(DWORD bit, bool on)
{
    if (!HandleAllocated())
        return;
    const HWND window = Handle();
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(on ? style | bit : style & ~bit));
    InvalidateRect(window, nullptr, TRUE);
}

void TTreeView::SetShowRoot(bool value)
{
    showRoot_ = value;
    SetStyleBit(TVS_LINESATROOT, value);
}

void TTreeView::SetShowLines(bool value)
{
    showLines_ = value;
    SetStyleBit(TVS_HASLINES, value);
}

void TTreeView::SetShowButtons(bool value)
{
    showButtons_ = value;
    SetStyleBit(TVS_HASBUTTONS, value);
}

void TTreeView::SetReadOnly(bool value)
{
    readOnly_ = value;
    SetStyleBit(TVS_EDITLABELS, !value);
}

void TTreeView::SetHideSelection(bool value)
{
    hideSelection_ = value;
    SetStyleBit(TVS_SHOWSELALWAYS, !value);
}

void TTreeView::SetIndent(int value)
{
    indent_ = value;
    if (HandleAllocated())
        SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(Scaled(value)), 0);
}

void TTreeView::DpiChanged(int oldDpi)
{
    TWinControl::DpiChanged(oldDpi);
    if (HandleAllocated())
        SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(Scaled(indent_)), 0);
}

void TTreeView::SetImages(TImageList* images)
{
    Link(*this, images_, imagesLink_, images);
    if (HandleAllocated())
        SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL,
                     reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}

void TTreeView::SetPopupMenu(TPopupMenu* menu)
{
    Link(*this, popupMenu_, popupMenuLink_, menu);
}

void TTreeView::ComponentRemoved(TComponent& component) noexcept
{
    if (&component == popupMenuLink_)
    {
        popupMenu_ = nullptr;
        popupMenuLink_ = nullptr;
    }
    if (&component == imagesLink_) {
        images_ = nullptr;
        imagesLink_ = nullptr;
        // The control must not draw from a list that is gone.
        if (const HWND window = AllocatedHandle())
            SendMessageA(window, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
    }
    TWinControl::ComponentRemoved(component);
}

TTreeNode* TTreeView::Selected()
{
    if (!HandleAllocated())
        return nullptr;
    return items_.GetNode(reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TTreeView::SetSelected(TTreeNode* node)
{
    SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->ItemId() : nullptr));
}

TTreeNode* TTreeView::TopItem()
{
    if (!HandleAllocated())
        return nullptr;
    return items_.GetNode(
        reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

void TTreeView::SetTopItem(TTreeNode* node)
{
    if (node)
        SendMessageA(Handle(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(node->ItemId()));
}

TTreeNode* TTreeView::GetNodeAt(int x, int y)
{
    TVHITTESTINFO hit{};
    hit.pt = {x, y};
    const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (!(hit.flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON)))
        return nullptr;
    return items_.GetNode(item);
}

bool TTreeView::IsEditing()
{
    return HandleAllocated() && SendMessageA(Handle(), TVM_GETEDITCONTROL, 0, 0) != 0;
}

int TTreeView::CompareNodes(TTreeNode& first, TTreeNode& second)
{
    if (OnCompare) {
        int compare = 0;
        OnCompare(this, &first, &second, compare);
        return compare;
    }
    return lstrcmpA(first.Text().c_str(), second.Text().c_str());
}

void TTreeView::AlphaSort(bool recurse)
{
    CustomSort([this](TTreeNode& a, TTreeNode& b) { return CompareNodes(a, b); }, recurse);
}

void TTreeView::CustomSort(const TTreeNodeCompare& compare, bool recurse)
{
    items_.SortChildren(nullptr, compare, recurse);
}

std::unique_ptr<TTreeNode> TTreeView::CreateNode(TTreeNodes& owner, const std::string& text)
{
    return std::make_unique<TTreeNode>(owner, nullptr, text);
}

bool TTreeView::CanExpand(TTreeNode& node)
{
    return Allowed(OnExpanding, this, &node);
}

void TTreeView::Expand(TTreeNode& node)
{
    if (OnExpanded)
        OnExpanded(this, &node);
}

bool TTreeView::CanCollapse(TTreeNode& node)
{
    return Allowed(OnCollapsing, this, &node);
}

void TTreeView::Collapse(TTreeNode& node)
{
    if (OnCollapsed)
        OnCollapsed(this, &node);
}

bool TTreeView::CanChange(TTreeNode* node)
{
    return Allowed(OnChanging, this, node);
}

void TTreeView::Change(TTreeNode* node)
{
    if (OnChange)
        OnChange(this, node);
}

bool TTreeView::CanEdit(TTreeNode& node)
{
    return Allowed(OnEditing, this, &node);
}

void TTreeView::Edit(TTreeNode& node, std::string text)
{
    if (OnEdited)
        OnEdited(this, &node, text);
    node.SetText(text);
}

void TTreeView::GetImageIndex(TTreeNode& node)
{
    if (images_ && OnGetImageIndex)
        OnGetImageIndex(this, &node);
}

void TTreeView::GetSelectedIndex(TTreeNode& node)
{
    if (images_ && OnGetSelectedIndex)
        OnGetSelectedIndex(this, &node);
}

void TTreeView::Delete(TTreeNode& node)
{
    if (rightClickNode_ == &node)
        rightClickNode_ = nullptr;
    if (editingNode_ == &node)
        editingNode_ = nullptr;
    if (OnDeletion)
        OnDeletion(this, &node);
}

void TTreeView::DoContextPopup(POINT mousePos, bool& handled)
{
    if (OnContextPopup)
        OnContextPopup(this, mousePos, handled);
}

void TTreeView::ExpandNode(TTreeNode& node)
{
    if (node.Expanded() || !CanExpand(node))
        return;
    {
        TScopedValue manual(manualNotify_, true);
        SendMessageA(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node.ItemId()));
    }
    if (node.Expanded())
        Expand(node);
}

void TTreeView::CollapseNode(TTreeNode& node)
{
    if (!node.Expanded() || !CanCollapse(node))
        return;
    {
        TScopedValue manual(manualNotify_, true);
        SendMessageA(Handle(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(node.ItemId()));
    }
    Collapse(node);
}

TTreeNode* TTreeView::NodeOf(const TVITEMA& item) const noexcept
{
    return items_.GetNode(item.hItem);
}

bool TTreeView::Notify(NMHDR& header, LRESULT& result)
{
    result = 0;
    // The A and W forms of each notice share their layout up to the text pointers.
    auto& tree = reinterpret_cast<NMTREEVIEWA&>(header);
    auto& display = reinterpret_cast<NMTVDISPINFOA&>(header);
    switch (header.code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
        TTreeNode* node = NodeOf(tree.itemNew);
        if (manualNotify_ || !node)
            return true;
        const bool expanding = (tree.action & TVE_EXPAND) != 0;
        result = Refusal([&] { return expanding ? CanExpand(*node) : CanCollapse(*node); }, this);
        return true;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW:
        if (TTreeNode* node = NodeOf(tree.itemNew); node && !manualNotify_) {
            if (tree.action & TVE_EXPAND)
                Expand(*node);
            else
                Collapse(*node);
        }
        return true;
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW: {
        TTreeNode* node = NodeOf(tree.itemNew);
        result = Refusal([&] { return CanChange(node); }, this);
        return true;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        if (changeDelay_ > 0)
            SetTimer(Handle(), kChangeTimer, static_cast<UINT>(changeDelay_), nullptr);
        else
            Change(NodeOf(tree.itemNew));
        return true;
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW: {
        TTreeNode* node = NodeOf(display.item);
        result = Refusal([&] { return node && !readOnly_ && CanEdit(*node); }, this);
        editingNode_ = result == FALSE ? node : nullptr;
        return true;
    }
    case TVN_ENDLABELEDITA:
    case TVN_ENDLABELEDITW: {
        // Some versions of the control announce the end once more while the edit window goes;
        // only the first notice of an edit counts.
        TTreeNode* node = std::exchange(editingNode_, nullptr);
        if (node && node == NodeOf(display.item) && display.item.pszText) {
            std::string text = header.code == TVN_ENDLABELEDITW
                                   ? WideToAnsi(reinterpret_cast<const wchar_t*>(display.item.pszText))
                                   : std::string(display.item.pszText);
            Edit(*node, std::move(text));
        }
        // The text is set already (or refused): the control must not set it again.
        result = FALSE;
        return true;
    }
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
        items_.ItemDeleted(tree.itemOld.hItem);
        return true;
    case TVN_GETDISPINFOA:
    case TVN_GETDISPINFOW:
        if (TTreeNode* node = NodeOf(display.item)) {
            // The indices a hook sets now are the answer the control paints with: no repaint.
            TScopedValue answering(displayInfoNode_, node);
            if (display.item.mask & TVIF_IMAGE) {
                GetImageIndex(*node);
                display.item.iImage = node->ImageIndex();
            }
            if (display.item.mask & TVIF_SELECTEDIMAGE) {
                GetSelectedIndex(*node);
                display.item.iSelectedImage = node->SelectedIndex();
            }
        }
        return true;
    case NM_RCLICK: {
        if (TTreeNode* node = std::exchange(rightClickNode_, nullptr); node && rightClickSelect_)
            SetSelected(node);
        // The control would not always ask for the context menu itself after a right click
        // that it tracked; asking here, at the press point, and answering "done" avoids both
        // a missing and a doubled request.
        POINT at = rightClickPoint_;
        ::ClientToScreen(Handle(), &at);
        ContextMenuRequested(MAKELPARAM(at.x, at.y));
        result = TRUE;
        return true;
    }
    default:
        return false;
    }
}

bool TTreeView::ContextMenuRequested(LPARAM screenPoint)
{
    POINT screen{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    const bool fromKeyboard = screen.x == -1 && screen.y == -1;
    POINT client = fromKeyboard ? POINT{-1, -1} : screen;
    if (!fromKeyboard)
        ::ScreenToClient(Handle(), &client);
    bool handled = false;
    DoContextPopup(client, handled);
    if (handled)
        return true;
    if (!popupMenu_ || !popupMenu_->AutoPopup())
        return false;
    if (fromKeyboard) {
        // Below the selected node, or at the control's corner when nothing is selected.
        POINT corner{0, 0};
        if (TTreeNode* node = Selected()) {
            const RECT r = node->DisplayRect(true);
            corner = {r.left, r.bottom};
        }
        screen = corner;
        ::ClientToScreen(Handle(), &screen);
    }
    // Tracked on this window for this request only: the menu may outlive the window.
    popupMenu_->PopupFrom(Handle(), screen.x, screen.y);
    return true;
}

LRESULT TTreeView::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_RBUTTONDOWN:
        rightClickPoint_ = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        rightClickNode_ = GetNodeAt(rightClickPoint_.x, rightClickPoint_.y);
        break;
    case WM_CONTEXTMENU:
        if (ContextMenuRequested(lParam))
            return 0;
        break;
    case WM_TIMER:
        if (wParam == kChangeTimer) {
            KillTimer(Handle(), kChangeTimer);
            Change(Selected());
            return 0;
        }
        break;
    default:
        break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
