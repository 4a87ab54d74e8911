#pragma once
// The tree of the shell namespace: one root (a named root or a path) and, below it, the shell's
// folders (and, if asked, other objects), each node holding one TShellFolder of its own. A node's
// children are asked of the shell when it is first expanded; its icons when it is first shown.
#include "shelltree/ShellChangeNotifier.h"
#include "shelltree/ShellFolder.h"
#include "shelltree/ShellSets.h"
#include "toolkit/controls/TreeView.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TImageList;

// May refuse a new node: CanAdd comes in true.
using TAddFolderEvent = std::function<void(TObject* sender, TShellFolder* folder, bool& canAdd)>;

// What the tree does around a command of the shell's context menu.
class IShellVerbHook {
public:
    // Before the shell runs the verb; handled: the shell is not asked.
    virtual void BeforeVerb(const std::string& verb, bool& handled) = 0;
    // After it ran; success: it reported no error (or the tree handled it itself).
    virtual void AfterVerb(const std::string& verb, bool success) = 0;

protected:
    ~IShellVerbHook() = default;
};

// A node of the shell tree: it owns the item of the place it shows. The item goes with the
// node's deletion hook, children first, so no item outlives the parent item it points to.
class TShellTreeNode : public TTreeNode {
public:
    using TTreeNode::TTreeNode;

    TShellFolder* Item() const noexcept { return item_.get(); }
    // The node's item becomes the given one; the one it had is destroyed.
    void SetItem(std::unique_ptr<TShellFolder> item) noexcept { item_ = std::move(item); }
    std::unique_ptr<TShellFolder> TakeItem() noexcept { return std::move(item_); }

private:
    std::unique_ptr<TShellFolder> item_;
};

class TCustomShellTreeView : public TTreeView, public IShellVerbHook {
public:
    TCustomShellTreeView();
    ~TCustomShellTreeView() override;

    // The item a node holds (null for none, and for a node of another tree kind).
    static TShellFolder* ItemOf(const TTreeNode* node) noexcept;
    // The selected node's item, or null.
    TShellFolder* SelectedItem();
    // The selected item's path (or a virtual object's name); empty when nothing is selected.
    std::string SelectedPath();
    // Selects the node of the path, expanding (and so filling) every node above it. A path the
    // shell cannot parse raises EInvalidPath "Error setting path: \"%s\"" and the selection stays.
    void SelectPath(const std::string& path);
    // The same for an absolute list. A place that is not listed leaves its deepest listed
    // ancestor expanded and no node selected.
    void SelectIdList(LPCITEMIDLIST list);
    // Reads the node's subtree from the shell again, keeping which nodes are expanded, the
    // selection and the top node, as far as their folders are still there.
    void RebuildNode(TTreeNode& node);
    void RebuildSelected();
    // Builds the tree again from Root.
    void BuildRoot();
    void ApplyRoot();
    virtual void ClearNodes();
    TShellFolder* RootItem() const noexcept { return rootItem_.get(); }
    // The change watcher, while there is one.
    TShellChangeNotifier* ChangeWatcher() const noexcept { return changeWatcher_.get(); }

    // The verbs of the shell's context menu that the tree takes part in: "rename" edits the
    // node in place, "open" runs in the item's folder, "delete" drops the node of a folder that
    // is gone, "paste" reads the node again.
    void BeforeVerb(const std::string& verb, bool& handled) override;
    void AfterVerb(const std::string& verb, bool success) override;

    void Loaded() override;

protected:
    // A named root ("rfDesktop", any letter case) or a path. Setting the same text in another
    // letter case does nothing; one that resolves to nothing raises and changes nothing.
    const std::string& Root() const noexcept { return root_; }
    void SetRoot(const std::string& root);
    TShellObjectTypes ObjectTypes() const noexcept { return objectTypes_; }
    virtual void SetObjectTypes(TShellObjectTypes types);
    // The shell's context menu on a right click, when no pop-up menu of its own takes it.
    bool AutoContextMenus() const noexcept { return autoContextMenus_; }
    void SetAutoContextMenus(bool value) noexcept { autoContextMenus_ = value; }
    // Watch the selected folder and read its node again when it changes.
    bool AutoRefresh() const noexcept { return autoRefresh_; }
    void SetAutoRefresh(bool value);
    // The system's small icons when no Images list is assigned. They are fetched once the
    // window exists, before it first paints (the system makes its list on the first request,
    // which takes long); a system that gives none leaves the tree without icons.
    bool UseShellImages() const noexcept { return useShellImages_; }
    void SetUseShellImages(bool value);
    TAddFolderEvent OnAddFolder;

    // The shell's context menu for the item at a point of the client area ((-1, -1): below the
    // selected node).
    void ShowShellMenu(TShellFolder* item, POINT clientPoint);

    std::unique_ptr<TTreeNode> CreateNode(TTreeNodes& owner, const std::string& text) override;
    // Fills the list with the system's small icons; raises when the system gives none.
    virtual void LoadSystemImages(TImageList& list);

    bool CanExpand(TTreeNode& node) override;
    bool CanChange(TTreeNode* node) override;
    void Edit(TTreeNode& node, std::string text) override;
    void GetImageIndex(TTreeNode& node) override;
    void GetSelectedIndex(TTreeNode& node) override;
    void Delete(TTreeNode& node) override;
    void DoContextPopup(POINT mousePos, bool& handled) override;
    void HandleCreated() override;
    void HandleDestroying() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Which of a node's shell icons were asked for already.
    struct IconsAsked {
        bool closed = false;
        bool open = false;
    };

    // A node's item becomes the node's; it is destroyed with the node.
    static void Attach(TTreeNode& node, std::unique_ptr<TShellFolder> item) noexcept;
    // Reads the node's children from the shell, sorted as the shell sorts them.
    void FillNode(TTreeNode& node);
    // A child at the end of the parent's children for an entry the parent's folder listed.
    void AddChildNode(TTreeNode& parent, LPCITEMIDLIST list);
    // The first node, from the start node on through its loaded descendants, whose item is the
    // place of the list; null when none is.
    TTreeNode* LocateNode(LPCITEMIDLIST list, TTreeNode* start);
    // The node's icons are asked for when it is first shown.
    void AskIconsWhenShown(TTreeNode& node);
    int ClosedIcon(TTreeNode& node);
    // The shell's icons are drawn: no Images list, shell images wanted and the system's list there.
    bool DrawsShellIcons() const noexcept;
    // Fetches the system's list the first time it is wanted, and shows it.
    void AttachSystemImages();
    LRESULT ApplyImageList();
    // The node's folder after a rename: a new item, and the children read again.
    void Renamed(TTreeNode& node);
    // Moves the change watcher to the folder of the node about to be selected.
    void MoveWatcher(TTreeNode& node);
    // Whether the node may expand, filling it when it may.
    bool DecideExpansion(TTreeNode& node);
    // Runs, once the control's notice is answered, what had to wait for it: the opening of
    // non-folder items expanded meanwhile and a rebuild that a change report asked for.
    void PostAfterNotice() noexcept;
    void RunAfterNotice();

    // Marks an expansion in progress for its length; the outermost one posts what waits.
    class ExpansionScope;

    std::string root_ = "rfDesktop";
    std::string previousRoot_;
    std::unique_ptr<TShellFolder> rootItem_;
    TShellObjectTypes objectTypes_{otFolders};
    std::unique_ptr<TImageList> systemImages_; // shares the system's small icons
    enum class TSystemImages { NotAsked, Attached, Unavailable } systemImagesState_ = TSystemImages::NotAsked;
    bool buildingRoot_ = false;
    bool autoContextMenus_ = true;
    bool syncing_ = false;
    bool autoRefresh_ = false;
    bool settingImageList_ = false;
    bool useShellImages_ = true;
    bool watcherCalling_ = false;
    std::unique_ptr<TShellChangeNotifier> changeWatcher_;
    std::string savedDirectory_;
    TTreeNode* monitoredNode_ = nullptr;
    ComPtr<IContextMenu2> activeMenuHandler_;
    std::unordered_map<const TTreeNode*, IconsAsked> iconsPending_;
    // Set while an expansion is being decided: a change report then waits.
    bool expanding_ = false;
    bool rebuildWaiting_ = false;
    std::vector<std::string> pendingOpens_;
};

// The tree with its settings open to every user.
class TShellTreeView : public TCustomShellTreeView {
public:
    using TCustomShellTreeView::AutoContextMenus;
    using TCustomShellTreeView::AutoRefresh;
    using TCustomShellTreeView::ObjectTypes;
    using TCustomShellTreeView::OnAddFolder;
    using TCustomShellTreeView::Root;
    using TCustomShellTreeView::SetAutoContextMenus;
    using TCustomShellTreeView::SetAutoRefresh;
    using TCustomShellTreeView::SetObjectTypes;
    using TCustomShellTreeView::SetRoot;
    using TCustomShellTreeView::SetUseShellImages;
    using TCustomShellTreeView::UseShellImages;
};
