#pragma once
// The nodes of one tree view: inserting, finding, deleting, batching. Owns every node object;
// a node is destroyed when its item leaves the control, and the tree's deletion hook runs once
// for it. Deleted through here, every node of the subtree is announced (children before their
// parent) while the subtree is still whole; an item the control deletes by itself is announced
// when the control reports it, its children having gone before it.
#include "toolkit/controls/TreeNode.h"

#include <memory>
#include <exception>
#include <unordered_map>
#include <vector>

class TTreeNodes {
public:
    explicit TTreeNodes(TTreeView& owner) noexcept : owner_(owner) {}
    ~TTreeNodes();
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;

    TTreeView& Owner() const noexcept { return owner_; }

    // A node added as the last (Add) or first (AddFirst) sibling of the given node; at the
    // top level when it is null.
    TTreeNode* Add(TTreeNode* sibling, const std::string& text);
    TTreeNode* AddFirst(TTreeNode* sibling, const std::string& text);
    // A node added as the last (AddChild) or first (AddChildFirst) child of the parent; at the
    // top level when it is null. The parent shows its expand button from then on.
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& text);
    // A node inserted just before the given one; at the end of the top level when it is null.
    TTreeNode* Insert(TTreeNode* before, const std::string& text);

    // Deletes the node with its subtree.
    void Delete(TTreeNode* node);
    void Clear();

    int Count() const noexcept { return static_cast<int>(nodes_.size()); }
    TTreeNode* GetFirstNode() const noexcept;
    // The node at that position in tree order.
    TTreeNode* Item(int index) const;
    // The node of a control item, or null.
    TTreeNode* GetNode(HTREEITEM item) const noexcept;

    // Sorts the children of the node (the top level when it is null) with the comparison; with
    // recurse every level below as well. An error raised by the comparison ends the sort and is
    // raised again here.
    void SortChildren(TTreeNode* parent, const TTreeNodeCompare& compare, bool recurse);

    // Batches changes: the control redraws once, when the last EndUpdate comes.
    void BeginUpdate() noexcept;
    void EndUpdate() noexcept;

    // The control reports that it deleted the item (TVN_DELETEITEM).
    void ItemDeleted(HTREEITEM item) noexcept;
    bool Updating() const noexcept { return updateCount_ > 0; }

private:
    TTreeNode* InsertItem(HTREEITEM parent, HTREEITEM after, const std::string& text);
    // Runs the tree's deletion hook on the subtree, children first, and collects its items.
    void RunDeletionHooks(TTreeNode* node, std::vector<HTREEITEM>& items, std::exception_ptr& firstError) noexcept;
    // Runs the hook for one node unless it ran before; keeps the first error.
    void AnnounceDeletion(TTreeNode& node, std::exception_ptr& firstError) noexcept;

    TTreeView& owner_;
    std::unordered_map<HTREEITEM, std::unique_ptr<TTreeNode>> nodes_;
    int updateCount_ = 0;
};
