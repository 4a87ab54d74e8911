#pragma once
// The platform's tree control as a windowed control. Nodes live in Items (TTreeNodes); the
// control's notifications come back here from the parent window and become hooks (virtual, for
// derived trees) and events (for whoever holds the tree). A hook or event that raises while the
// platform is waiting for an answer refuses the change it was asked about, and the error goes to
// the application's handler.
#include "toolkit/controls/TreeNodes.h"
#include "toolkit/controls/WinControl.h"

class TImageList;
class TPopupMenu;

using TTVExpandingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allow)>;
using TTVExpandedEvent = std::function<void(TObject* sender, TTreeNode* node)>;
using TTVChangingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allow)>;
using TTVChangedEvent = std::function<void(TObject* sender, TTreeNode* node)>;
using TTVEditingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allow)>;
using TTVEditedEvent = std::function<void(TObject* sender, TTreeNode* node, std::string& text)>;
using TTVCompareEvent = std::function<void(TObject* sender, TTreeNode* first, TTreeNode* second, int& compare)>;
// Client coordinates of the request; (-1, -1) when it came from the keyboard.
using TContextPopupEvent = std::function<void(TObject* sender, POINT mousePos, bool& handled)>;

class TTreeView : public TWinControl {
public:
    TTreeView();
    ~TTreeView() override;

    TTreeNodes& Items() noexcept { return items_; }

    TTreeNode* Selected();
    // Selects the node (none when null); the change hooks run as for a click.
    void SetSelected(TTreeNode* node);
    // The first node shown at the top of the control.
    TTreeNode* TopItem();
    void SetTopItem(TTreeNode* node);
    // The node whose row holds the point of the client area, or null.
    TTreeNode* GetNodeAt(int x, int y);
    bool IsEditing();

    // Sorts the top level (and, with recurse, every level) by OnCompare or by text.
    void AlphaSort(bool recurse = false);
    void CustomSort(const TTreeNodeCompare& compare, bool recurse = false);
    // The order AlphaSort uses.
    int CompareNodes(TTreeNode& first, TTreeNode& second);

    // Lines and buttons at the top level.
    bool ShowRoot() const noexcept { return showRoot_; }
    void SetShowRoot(bool value);
    bool ShowLines() const noexcept { return showLines_; }
    void SetShowLines(bool value);
    bool ShowButtons() const noexcept { return showButtons_; }
    void SetShowButtons(bool value);
    // No in-place editing of node texts.
    bool ReadOnly() const noexcept { return readOnly_; }
    void SetReadOnly(bool value);
    // The selection is drawn only while the control has the focus.
    bool HideSelection() const noexcept { return hideSelection_; }
    void SetHideSelection(bool value);
    int Indent() const noexcept { return indent_; }
    void SetIndent(int value);
    // A right click selects the node under the mouse before the context menu.
    bool RightClickSelect() const noexcept { return rightClickSelect_; }
    void SetRightClickSelect(bool value) noexcept { rightClickSelect_ = value; }
    // Milliseconds between a selection change and OnChange; at most 0: at once.
    int ChangeDelay() const noexcept { return changeDelay_; }
    void SetChangeDelay(int value) noexcept { changeDelay_ = value; }

    // Not owned; a list or menu that is destroyed is let go of at once.
    TImageList* Images() const noexcept { return images_; }
    void SetImages(TImageList* images);
    TPopupMenu* PopupMenu() const noexcept { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);

    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVExpandingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVExpandedEvent OnGetImageIndex;
    TTVExpandedEvent OnGetSelectedIndex;
    TTVExpandedEvent OnDeletion;
    TTVCompareEvent OnCompare;
    TContextPopupEvent OnContextPopup;

protected:
    friend class TTreeNode;
    friend class TTreeNodes;

    // The object of a node about to be inserted; a tree that keeps more in its nodes makes
    // nodes of its own kind here.
    virtual std::unique_ptr<TTreeNode> CreateNode(TTreeNodes& owner, const std::string& text);

    // Hooks, in the order the control asks them. Each default runs the matching event.
    virtual bool CanExpand(TTreeNode& node);
    virtual void Expand(TTreeNode& node);
    virtual bool CanCollapse(TTreeNode& node);
    virtual void Collapse(TTreeNode& node);
    virtual bool CanChange(TTreeNode* node);
    virtual void Change(TTreeNode* node);
    virtual bool CanEdit(TTreeNode& node);
    virtual void Edit(TTreeNode& node, std::string text);
    // Ask OnGetImageIndex / OnGetSelectedIndex, but only while an Images list is assigned. They
    // run while the control paints the node, so indices they set on it need no repaint.
    virtual void GetImageIndex(TTreeNode& node);
    virtual void GetSelectedIndex(TTreeNode& node);
    // The node is about to go; its data is still there. Runs once for every node, however it
    // goes: deleted through Items, deleted by the control itself (its children then went
    // first), or with the window. A tree that overrides it calls DestroyHandle from its own
    // destructor, so that the override still exists while the last nodes go.
    virtual void Delete(TTreeNode& node);
    // A context menu was asked for; the default runs OnContextPopup.
    virtual void DoContextPopup(POINT mousePos, bool& handled);

    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void DpiChanged(int oldDpi) override;
    void HandleDestroying() override;
    void ComponentRemoved(TComponent& component) noexcept override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool Notify(NMHDR& header, LRESULT& result) override;

    // Expansion asked for by the program: the hooks run here, not on the control's notices.
    void ExpandNode(TTreeNode& node);
    void CollapseNode(TTreeNode& node);

private:
    void SetStyleBit(DWORD bit, bool on);
    // True when the request was answered here (a handler or the pop-up menu).
    bool ContextMenuRequested(LPARAM screenPoint);
    void DeleteAllNodes() noexcept;
    TTreeNode* NodeOf(const TVITEMA& item) const noexcept;

    TTreeNodes items_;
    bool showRoot_ = true;
    bool showLines_ = true;
    bool showButtons_ = true;
    bool readOnly_ = false;
    bool hideSelection_ = true;
    bool rightClickSelect_ = false;
    int indent_ = 19;
    int changeDelay_ = 0;
    TImageList* images_ = nullptr;
    TPopupMenu* popupMenu_ = nullptr;
    // The same two as components, to recognise them when only that part of them is left.
    TComponent* imagesLink_ = nullptr;
    TComponent* popupMenuLink_ = nullptr;
    // Set while the program itself expands or collapses, so the control's notices are ignored.
    bool manualNotify_ = false;
    TTreeNode* rightClickNode_ = nullptr;
    POINT rightClickPoint_{};
    // The node whose in-place edit is running.
    TTreeNode* editingNode_ = nullptr;
    // The node whose display data the control is asking for.
    TTreeNode* displayInfoNode_ = nullptr;
};
