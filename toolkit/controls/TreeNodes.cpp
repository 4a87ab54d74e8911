#include "toolkit/controls/TreeNodes.h"

#include "toolkit/core/Application.h"
#include "toolkit/core/Exception.h"
#include "toolkit/controls/TreeUpdate.h"
#include "toolkit/controls/TreeView.h"

#include <utility>

namespace {
// What the sort callback needs: the comparison, and the first error it raised, which must
// wait on this side of the platform's sort to be raised again.
struct SortContext {
    const TTreeNodeCompare& compare;
    std::exception_ptr error;
};

int CALLBACK CompareItems(LPARAM first, LPARAM second, LPARAM context) noexcept
{
    auto& sort = *reinterpret_cast<SortContext*>(context);
    if (sort.error)
        return 0;
    try {
        return sort.compare(*reinterpret_cast<TTreeNode*>(first), *reinterpret_cast<TTreeNode*>(second));
    } catch (...) {
        sort.error = std::current_exception();
        return 0;
    }
}
} // namespace

TTreeNodes::~TTreeNodes() = default;

TTreeNode* TTreeNodes::InsertItem(HTREEITEM parent, HTREEITEM after, const std::string& text)
{
    HWND window = owner_.Handle();
    std::string copy = text;
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    // The indices are asked for at paint time, so that the tree's image events can answer them.
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = copy.data();
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    std::unique_ptr<TTreeNode> node = owner_.CreateNode(*this, text);
    insert.item.lParam = reinterpret_cast<LPARAM>(node.get());
    const auto item =
        reinterpret_cast<HTREEITEM>(SendMessageA(window, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!item)
        throw EOSError("A tree view node cannot be added: " + text);
    node->item_ = item;
    TTreeNode* result = node.get();
    try {
        // The control may hand out the handle of an item it deleted without our hearing of it;
        // whatever was kept under it belongs to no item any more.
        nodes_.insert_or_assign(item, std::move(node));
    } catch (...) {
        // The node is gone with the failed insertion: its item must go too.
        SendMessageA(window, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
        throw;
    }
    if (TTreeNode* parentNode = GetNode(parent))
        parentNode->SetHasChildren(true);
    return result;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text)
{
    TTreeNode* parent = sibling ? sibling->Parent() : nullptr;
    return InsertItem(parent ? parent->ItemId() : TVI_ROOT, TVI_LAST, text);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const std::string& text)
{
    TTreeNode* parent = sibling ? sibling->Parent() : nullptr;
    return InsertItem(parent ? parent->ItemId() : TVI_ROOT, TVI_FIRST, text);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text)
{
    return InsertItem(parent ? parent->ItemId() : TVI_ROOT, TVI_LAST, text);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const std::string& text)
{
    return InsertItem(parent ? parent->ItemId() : TVI_ROOT, TVI_FIRST, text);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* before, const std::string& text)
{
    if (!before)
        return InsertItem(TVI_ROOT, TVI_LAST, text);
    TTreeNode* parent = before->Parent();
    TTreeNode* previous = before->GetPrevSibling();
    return InsertItem(parent ? parent->ItemId() : TVI_ROOT, previous ? previous->ItemId() : TVI_FIRST, text);
}

void TTreeNodes::AnnounceDeletion(TTreeNode& node, std::exception_ptr& firstError) noexcept
{
    if (std::exchange(node.announced_, true))
        return;
    try {
        owner_.Delete(node);
    } catch (...) {
        if (!firstError)
            firstError = std::current_exception();
    }
}

void TTreeNodes::RunDeletionHooks(TTreeNode* node, std::vector<HTREEITEM>& items,
                                  std::exception_ptr& firstError) noexcept
{
    for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        RunDeletionHooks(child, items, firstError);
    try {
        items.push_back(node->ItemId());
    } catch (...) {
        // Only a safety net: the control's deletion notices remove the node as well.
    }
    AnnounceDeletion(*node, firstError);
}

void TTreeNodes::ItemDeleted(HTREEITEM item) noexcept
{
    const auto found = nodes_.find(item);
    if (found == nodes_.end())
        return;
    // The control deletes items on its own too (a collapse with reset, a message from
    // elsewhere); their nodes' owners hear of it here. Its children are gone already.
    std::exception_ptr error;
    AnnounceDeletion(*found->second, error);
    nodes_.erase(item);
    if (error)
        Application.HandleException(error, &owner_);
}

void TTreeNodes::Delete(TTreeNode* node)
{
    if (!node)
        return;
    // Every hook runs, even after one of them failed: each node's owner must get its chance
    // to free what the node holds.
    std::exception_ptr error;
    std::vector<HTREEITEM> doomed;
    RunDeletionHooks(node, doomed, error);
    TTreeNode* parent = node->Parent();
    SendMessageA(owner_.AllocatedHandle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->ItemId()));
    for (HTREEITEM gone : doomed)
        nodes_.erase(gone);
    if (parent && !parent->GetFirstChild())
        parent->SetHasChildren(false);
    if (error)
        std::rethrow_exception(error);
}

void TTreeNodes::Clear()
{
    if (nodes_.empty())
        return;
    TTreeUpdate batch(*this);
    std::exception_ptr error;
    std::vector<HTREEITEM> doomed;
    for (TTreeNode* top = GetFirstNode(); top; top = top->GetNextSibling())
        RunDeletionHooks(top, doomed, error);
    SendMessageA(owner_.AllocatedHandle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    nodes_.clear();
    if (error)
        std::rethrow_exception(error);
}

TTreeNode* TTreeNodes::GetFirstNode() const noexcept
{
    if (nodes_.empty())
        return nullptr;
    return GetNode(
        reinterpret_cast<HTREEITEM>(SendMessageA(owner_.AllocatedHandle(), TVM_GETNEXTITEM, TVGN_ROOT, 0)));
}

TTreeNode* TTreeNodes::Item(int index) const
{
    return TTreeNode::Walk(GetFirstNode(), index, &TTreeNode::GetNext);
}

TTreeNode* TTreeNodes::GetNode(HTREEITEM item) const noexcept
{
    if (!item)
        return nullptr;
    const auto found = nodes_.find(item);
    return found == nodes_.end() ? nullptr : found->second.get();
}

void TTreeNodes::SortChildren(TTreeNode* parent, const TTreeNodeCompare& compare, bool recurse)
{
    SortContext context{compare, nullptr};
    TVSORTCB sort{};
    sort.hParent = parent ? parent->ItemId() : TVI_ROOT;
    sort.lpfnCompare = &CompareItems;
    sort.lParam = reinterpret_cast<LPARAM>(&context);
    SendMessageA(owner_.Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    if (context.error)
        std::rethrow_exception(context.error);
    if (!recurse)
        return;
    TTreeNode* child = parent ? parent->GetFirstChild() : GetFirstNode();
    for (; child; child = child->GetNextSibling())
        SortChildren(child, compare, true);
}

void TTreeNodes::BeginUpdate() noexcept
{
    // Without a window there is nothing to redraw; a window made meanwhile draws as usual.
    if (updateCount_++ == 0)
        if (HWND window = owner_.AllocatedHandle())
            SendMessageA(window, WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() noexcept
{
    if (updateCount_ == 0 || --updateCount_ > 0)
        return;
    if (HWND window = owner_.AllocatedHandle()) {
        SendMessageA(window, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(window, nullptr, TRUE);
    }
}
