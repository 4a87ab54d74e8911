#pragma once
// One node of a tree view. The node object lives exactly as long as its item in the control:
// TTreeNodes makes it when the item is inserted and destroys it when the item is deleted.
// Text and image indices are kept here; the control asks for the indices when it paints.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

class TTreeNodes;
class TTreeView;
class TTreeNode;

// Sibling order for sorts: negative puts the first node first, zero keeps them equal.
using TTreeNodeCompare = std::function<int(TTreeNode& first, TTreeNode& second)>;

class TTreeNode {
public:
    TTreeNode(TTreeNodes& owner, HTREEITEM item, std::string text) noexcept;
    // A tree may keep more in nodes of its own kind (TTreeView::CreateNode).
    virtual ~TTreeNode() = default;
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    HTREEITEM ItemId() const noexcept { return item_; }
    TTreeNodes& Owner() const noexcept { return owner_; }
    TTreeView& TreeView() const noexcept;

    const std::string& Text() const noexcept { return text_; }
    void SetText(const std::string& text);
    int ImageIndex() const noexcept { return imageIndex_; }
    void SetImageIndex(int index);
    int SelectedIndex() const noexcept { return selectedIndex_; }
    void SetSelectedIndex(int index);
    // -1: no overlay; otherwise the image list's overlay number, counting from 0.
    int OverlayIndex() const noexcept { return overlayIndex_; }
    void SetOverlayIndex(int index);
    void* Data() const noexcept { return data_; }
    void SetData(void* data) noexcept { data_ = data; }

    // Whether the node shows an expand button, also while it has no children yet.
    bool HasChildren() const;
    void SetHasChildren(bool value);

    bool Expanded() const;
    void SetExpanded(bool value);
    // Expanding or collapsing asks the tree first (its OnExpanding / OnCollapsing may refuse).
    void Expand(bool recurse);
    void Collapse(bool recurse);

    bool Selected() const;
    void SetSelected(bool value);

    TTreeNode* Parent() const noexcept;
    // Top-level nodes are at level 0.
    int Level() const noexcept;
    // Position among its siblings.
    int Index() const;
    int Count() const;
    TTreeNode* Item(int index) const;
    TTreeNode* GetFirstChild() const noexcept;
    TTreeNode* GetLastChild() const noexcept;
    TTreeNode* GetNextSibling() const noexcept;
    TTreeNode* GetPrevSibling() const noexcept;
    // Tree order: the first child, else the next sibling, else the next sibling of the
    // nearest ancestor that has one.
    TTreeNode* GetNext() const noexcept;
    bool HasAsParent(const TTreeNode* ancestor) const noexcept;
    // The node that many steps on from the given one; an index beyond the end raises.
    static TTreeNode* Walk(TTreeNode* from, int steps, TTreeNode* (TTreeNode::*step)() const);

    // The node's rectangle in the control's client area (empty when it is not shown).
    RECT DisplayRect(bool textOnly) const;
    void MakeVisible();

    // Starts the in-place edit of the text; false when it did not begin (refused or read-only).
    bool EditText();
    void EndEdit(bool cancel);

    // Sorts the children (and, with recurse, every level below) by text or by the comparison.
    void AlphaSort(bool recurse = false);
    void CustomSort(const TTreeNodeCompare& compare, bool recurse = false);

    // Deletes this node with its subtree; the node object is gone afterwards.
    void Delete();
    void DeleteChildren();

private:
    friend class TTreeNodes;
    // The control's window. A node exists only while its item does, so the window exists too;
    // asking never makes one.
    HWND Window() const noexcept;
    HTREEITEM Related(UINT relation) const noexcept;
    TTreeNode* NodeRelated(UINT relation) const noexcept;
    void SetItem(UINT mask, TVITEMA& item);
    void InvalidateItem() const;

    TTreeNodes& owner_;
    HTREEITEM item_;
    std::string text_;
    int imageIndex_ = 0;
    int selectedIndex_ = 0;
    int overlayIndex_ = -1;
    void* data_ = nullptr;
    // The tree's deletion hook has run for this node.
    bool announced_ = false;
};
