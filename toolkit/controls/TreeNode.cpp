#include "toolkit/controls/TreeNode.h"

#include "toolkit/core/Exception.h"
#include "toolkit/controls/TreeUpdate.h"
#include "toolkit/controls/TreeView.h"

#include <cstring>

TTreeNode::TTreeNode(TTreeNodes& owner, HTREEITEM item, std::string text) noexcept
    : owner_(owner), item_(item), text_(std::move(text))
{
}

TTreeView& TTreeNode::TreeView() const noexcept
{
    return owner_.Owner();
}

HWND TTreeNode::Window() const noexcept
{
    return TreeView().AllocatedHandle();
}

void TTreeNode::SetItem(UINT mask, TVITEMA& item)
{
    item.mask = mask | TVIF_HANDLE;
    item.hItem = item_;
    SendMessageA(Window(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNode::InvalidateItem() const
{
    if (TreeView().displayInfoNode_ == this)
        return;
    RECT r = DisplayRect(false);
    if (!IsRectEmpty(&r))
        InvalidateRect(Window(), &r, TRUE);
}

void TTreeNode::SetText(const std::string& text)
{
    std::string copy = text;
    TVITEMA item{};
    item.pszText = copy.data();
    SetItem(TVIF_TEXT, item);
    text_ = std::move(copy);
}

void TTreeNode::SetImageIndex(int index)
{
    imageIndex_ = index;
    InvalidateItem();
}

void TTreeNode::SetSelectedIndex(int index)
{
    selectedIndex_ = index;
    InvalidateItem();
}

void TTreeNode::SetOverlayIndex(int index)
{
    overlayIndex_ = index;
    TVITEMA item{};
    item.stateMask = TVIS_OVERLAYMASK;
    item.state = index >= 0 ? INDEXTOOVERLAYMASK(index + 1) : 0;
    SetItem(TVIF_STATE, item);
}

bool TTreeNode::HasChildren() const
{
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_CHILDREN;
    item.hItem = item_;
    SendMessageA(Window(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.cChildren > 0;
}

void TTreeNode::SetHasChildren(bool value)
{
    TVITEMA item{};
    item.cChildren = value ? 1 : 0;
    SetItem(TVIF_CHILDREN, item);
}

bool TTreeNode::Expanded() const
{
    return (SendMessageA(Window(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
}

void TTreeNode::SetExpanded(bool value)
{
    if (value)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool recurse)
{
    TreeView().ExpandNode(*this);
    if (!recurse)
        return;
    for (TTreeNode* child = GetFirstChild(); child; child = child->GetNextSibling())
        child->Expand(true);
}

void TTreeNode::Collapse(bool recurse)
{
    if (recurse)
        for (TTreeNode* child = GetFirstChild(); child; child = child->GetNextSibling())
            child->Collapse(true);
    TreeView().CollapseNode(*this);
}

bool TTreeNode::Selected() const
{
    return Related(TVGN_CARET) == item_;
}

void TTreeNode::SetSelected(bool value)
{
    if (value)
        TreeView().SetSelected(this);
    else if (Selected())
        TreeView().SetSelected(nullptr);
}

HTREEITEM TTreeNode::Related(UINT relation) const noexcept
{
    const HTREEITEM from = relation == TVGN_CARET ? nullptr : item_;
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(Window(), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
}

TTreeNode* TTreeNode::NodeRelated(UINT relation) const noexcept
{
    return owner_.GetNode(Related(relation));
}

TTreeNode* TTreeNode::Parent() const noexcept
{
    return NodeRelated(TVGN_PARENT);
}

int TTreeNode::Level() const noexcept
{
    int level = 0;
    for (TTreeNode* p = Parent(); p; p = p->Parent())
        ++level;
    return level;
}

int TTreeNode::Index() const
{
    int index = 0;
    for (TTreeNode* p = GetPrevSibling(); p; p = p->GetPrevSibling())
        ++index;
    return index;
}

int TTreeNode::Count() const
{
    int count = 0;
    for (TTreeNode* c = GetFirstChild(); c; c = c->GetNextSibling())
        ++count;
    return count;
}

TTreeNode* TTreeNode::Item(int index) const
{
    return Walk(GetFirstChild(), index, &TTreeNode::GetNextSibling);
}

TTreeNode* TTreeNode::Walk(TTreeNode* from, int steps, TTreeNode* (TTreeNode::*step)() const)
{
    for (; from && steps > 0; --steps)
        from = (from->*step)();
    if (!from || steps < 0)
        throw Exception("Tree view node index out of bounds");
    return from;
}

TTreeNode* TTreeNode::GetFirstChild() const noexcept
{
    return NodeRelated(TVGN_CHILD);
}

TTreeNode* TTreeNode::GetLastChild() const noexcept
{
    TTreeNode* last = GetFirstChild();
    while (last)
        if (TTreeNode* next = last->GetNextSibling())
            last = next;
        else
            break;
    return last;
}

TTreeNode* TTreeNode::GetNextSibling() const noexcept
{
    return NodeRelated(TVGN_NEXT);
}

TTreeNode* TTreeNode::GetPrevSibling() const noexcept
{
    return NodeRelated(TVGN_PREVIOUS);
}

TTreeNode* TTreeNode::GetNext() const noexcept
{
    if (TTreeNode* child = GetFirstChild())
        return child;
    for (const TTreeNode* node = this; node; node = node->Parent())
        if (TTreeNode* sibling = node->GetNextSibling())
            return sibling;
    return nullptr;
}

bool TTreeNode::HasAsParent(const TTreeNode* ancestor) const noexcept
{
    for (TTreeNode* p = Parent(); p; p = p->Parent())
        if (p == ancestor)
            return true;
    return false;
}

RECT TTreeNode::DisplayRect(bool textOnly) const
{
    RECT r{};
    // The message takes the item in the rectangle it fills.
    static_assert(sizeof(HTREEITEM) <= sizeof(RECT));
    std::memcpy(&r, &item_, sizeof item_);
    if (!SendMessageA(Window(), TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&r)))
        return RECT{};
    return r;
}

void TTreeNode::MakeVisible()
{
    SendMessageA(Window(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item_));
}

bool TTreeNode::EditText()
{
    if (TreeView().ReadOnly())
        return false;
    SetFocus(Window());
    return SendMessageA(Window(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item_)) != 0;
}

void TTreeNode::EndEdit(bool cancel)
{
    SendMessageA(Window(), TVM_ENDEDITLABELNOW, cancel, 0);
}

void TTreeNode::AlphaSort(bool recurse)
{
    CustomSort([this](TTreeNode& a, TTreeNode& b) { return TreeView().CompareNodes(a, b); }, recurse);
}

void TTreeNode::CustomSort(const TTreeNodeCompare& compare, bool recurse)
{
    owner_.SortChildren(this, compare, recurse);
}

void TTreeNode::Delete()
{
    owner_.Delete(this);
}

void TTreeNode::DeleteChildren()
{
    TTreeUpdate batch(owner_);
    while (TTreeNode* child = GetFirstChild())
        owner_.Delete(child);
}
