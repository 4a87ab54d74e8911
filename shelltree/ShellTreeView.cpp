#include "shelltree/ShellTreeView.h"

#include "shelltree/RootFolder.h"
#include "shelltree/ShellNamespace.h"
#include "toolkit/core/Application.h"
#include "toolkit/core/ApplicationWindow.h"
#include "toolkit/core/BusyCursor.h"
#include "toolkit/core/Format.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/core/PathText.h"
#include "toolkit/controls/PopupMenu.h"
#include "toolkit/core/ScopedValue.h"
#include "toolkit/controls/TreeUpdate.h"

#include <shellapi.h>

#include <cstring>
#include <utility>

namespace {
bool SameBytes(LPCITEMIDLIST a, LPCITEMIDLIST b) noexcept
{
    const std::size_t size = IdListSize(a);
    return size == IdListSize(b) && std::memcmp(a, b, size) == 0;
}

// Two absolute lists name the same place. The same bytes are the same place; other bytes are
// left to the desktop to judge, which walks down both lists and so costs far more.
bool SamePlace(LPCITEMIDLIST a, LPCITEMIDLIST b)
{
    // The desktop compares entry by entry: lists of different lengths are never the same place.
    return ItemIdCount(a) == ItemIdCount(b) && (SameBytes(a, b) || SameIdList(a, b));
}

// Two entries of one folder name the same item.
bool SameEntry(IShellFolder& folder, LPCITEMIDLIST a, LPCITEMIDLIST b)
{
    return SameBytes(a, b) || folder.CompareIDs(0, a, b) == 0;
}

// Whether the folder lists anything with these flags; one that cannot be listed lists nothing.
bool ListsAnything(IShellFolder& folder, DWORD flags)
{
    ScopedErrorMode quiet(SEM_FAILCRITICALERRORS);
    ComPtr<IEnumIDList> entries;
    if (FAILED(folder.EnumObjects(nullptr, flags, entries.put())) || !entries)
        return false;
    IdList first;
    return NextEntry(*entries.get(), first);
}

// The folder part of a path: up to and including its last "\" or ":".
std::string FolderPartOf(const std::string& path)
{
    const std::size_t end = path.find_last_of("\\:");
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

// Posted to the tree's window for the work that waits for the end of a control notice.
constexpr UINT kAfterNotice = WM_APP + 0x54;
// Posted by a new window: fetch the system's icons now.
constexpr UINT kAttachSystemImages = WM_APP + 0x5E;

bool SameVerb(const std::string& verb, const char* name)
{
    return lstrcmpiA(verb.c_str(), name) == 0;
}
} // namespace

TCustomShellTreeView::TCustomShellTreeView() : systemImages_(std::make_unique<TImageList>())
{
    SetShowRoot(false);
    SetRightClickSelect(true);
    changeWatcher_ = std::make_unique<TShellChangeNotifier>();
}

TCustomShellTreeView::~TCustomShellTreeView()
{
    // The watcher's worker may be about to report to this tree: it ends first. The nodes go
    // while this class's deletion hook still exists, so each gives back its item here.
    changeWatcher_.reset();
    DestroyHandle();
}

TShellFolder* TCustomShellTreeView::ItemOf(const TTreeNode* node) noexcept
{
    const auto* shellNode = dynamic_cast<const TShellTreeNode*>(node);
    return shellNode ? shellNode->Item() : nullptr;
}

std::unique_ptr<TTreeNode> TCustomShellTreeView::CreateNode(TTreeNodes& owner, const std::string& text)
{
    return std::make_unique<TShellTreeNode>(owner, nullptr, text);
}

void TCustomShellTreeView::Attach(TTreeNode& node, std::unique_ptr<TShellFolder> item) noexcept
{
    // Every node of this tree is made by CreateNode.
    static_cast<TShellTreeNode&>(node).SetItem(std::move(item));
}

TShellFolder* TCustomShellTreeView::SelectedItem()
{
    return ItemOf(Selected());
}

std::string TCustomShellTreeView::SelectedPath()
{
    const TShellFolder* item = SelectedItem();
    return item ? item->ParsingName() : std::string();
}

// --- Root -----------------------------------------------------------------------------------

void TCustomShellTreeView::SetRoot(const std::string& root)
{
    if (lstrcmpiA(root.c_str(), root_.c_str()) == 0)
        return;
    previousRoot_ = root_;
    root_ = root;
    ApplyRoot();
}

void TCustomShellTreeView::SetObjectTypes(TShellObjectTypes types)
{
    objectTypes_ = types;
    ApplyRoot();
}

void TCustomShellTreeView::ApplyRoot()
{
    if (syncing_)
        return;
    TScopedValue syncing(syncing_, true);
    BuildRoot();
}

void TCustomShellTreeView::BuildRoot()
{
    if (Loading())
        return;
    // A root that resolves to nothing raises here with the root text put back; the nodes of
    // the root before it stay as they are, expanded and selected as the user left them.
    OpenRootLocation(rootItem_, previousRoot_, root_);
    // Without a window the nodes are made with it.
    if (!HandleAllocated())
        return;
    TScopedValue building(buildingRoot_, true);
    TTreeUpdate batch(Items());
    ClearNodes();
    auto item = std::make_unique<TShellFolder>(nullptr, rootItem_->FolderObjectRef(), rootItem_->IdFromDesktop());
    const std::string name = ShellNameOf(DesktopFolderObject().get(), item->IdFromDesktop(), SHGDN_NORMAL);
    const bool hasChildren = item->HasChildFolders();
    TTreeNode* node = Items().AddChild(nullptr, name);
    Attach(*node, std::move(item));
    if (useShellImages_ && !Images())
        AskIconsWhenShown(*node);
    node->SetHasChildren(hasChildren);
    node->Expand(false);
    node->SetSelected(true);
}

void TCustomShellTreeView::ClearNodes()
{
    TTreeUpdate batch(Items());
    Items().Clear();
}

void TCustomShellTreeView::Loaded()
{
    TTreeView::Loaded();
    BuildRoot();
}

// --- Filling --------------------------------------------------------------------------------

void TCustomShellTreeView::FillNode(TTreeNode& node)
{
    TBusyCursor busy;
    TTreeUpdate batch(Items());
    const TShellFolder* item = ItemOf(&node);
    if (!item || !item->FolderObject())
        return;
    ComPtr<IEnumIDList> entries;
    if (FAILED(item->FolderObject()->EnumObjects(ApplicationWindow(), EnumerationFlags(objectTypes_), entries.put())) ||
        !entries)
        return;
    try {
        for (IdList entry; NextEntry(*entries.get(), entry);)
            AddChildNode(node, Pidl(entry));
        node.CustomSort([](TTreeNode& a, TTreeNode& b) {
            const TShellFolder* first = ItemOf(&a);
            const TShellFolder* second = ItemOf(&b);
            return first && second ? CompareSiblings(*first, *second) : 0;
        });
    } catch (...) {
        // A fill is whole or not at all: the node stays unfilled, with its button.
        node.DeleteChildren();
        node.SetHasChildren(true);
        throw;
    }
}

void TCustomShellTreeView::AddChildNode(TTreeNode& parent, LPCITEMIDLIST list)
{
    TShellFolder* parentItem = ItemOf(&parent);
    auto item = std::make_unique<TShellFolder>(parentItem, BindChildFolder(parentItem->FolderObject(), list, nullptr),
                                               list);
    TShellFolder& folder = *item;
    TTreeNode* child = Items().AddChild(&parent, folder.NameInFolder());
    Attach(*child, std::move(item));
    // The icons cost the shell far more than everything else here (under Wine several
    // milliseconds a child, growing with the folder): they are asked for when the node shows.
    if (useShellImages_ && !Images())
        AskIconsWhenShown(*child);
    child->SetHasChildren(folder.HasChildFolders());
    if (folder.ItemFlags().Contains(ifShared))
        child->SetOverlayIndex(0);
    if (objectTypes_.Contains(otNonFolders) && folder.FolderObject())
        child->SetHasChildren(ListsAnything(*folder.FolderObject(), EnumerationFlags(objectTypes_)));
    bool canAdd = true;
    if (OnAddFolder)
        OnAddFolder(this, &folder, canAdd);
    if (!canAdd)
        child->Delete();
}

class TCustomShellTreeView::ExpansionScope {
public:
    explicit ExpansionScope(TCustomShellTreeView& tree) noexcept
        : tree_(tree), outermost_(!std::exchange(tree.expanding_, true))
    {
    }
    ~ExpansionScope()
    {
        if (!outermost_)
            return;
        tree_.expanding_ = false;
        if (tree_.rebuildWaiting_ || !tree_.pendingOpens_.empty())
            tree_.PostAfterNotice();
    }
    ExpansionScope(const ExpansionScope&) = delete;
    ExpansionScope& operator=(const ExpansionScope&) = delete;

private:
    TCustomShellTreeView& tree_;
    bool outermost_;
};

bool TCustomShellTreeView::CanExpand(TTreeNode& node)
{
    // Handlers and the shell may dispatch messages meanwhile; a change report among them must
    // not rebuild (and so delete) the node in hand.
    ExpansionScope expanding(*this);
    return DecideExpansion(node);
}

bool TCustomShellTreeView::DecideExpansion(TTreeNode& node)
{
    if (!TTreeView::CanExpand(node))
        return false;
    if (TShellFolder* item = ItemOf(&node)) {
        if (item->IsContainer()) {
            if (node.HasChildren() && !node.GetFirstChild())
                FillNode(node);
        } else {
            // Opened once the control is done with its notice: the shell runs messages there.
            pendingOpens_.push_back(item->ParsingName());
            PostAfterNotice();
        }
    }
    node.SetHasChildren(node.GetFirstChild() != nullptr);
    return true;
}

void TCustomShellTreeView::PostAfterNotice() noexcept
{
    if (const HWND window = AllocatedHandle())
        PostMessageA(window, kAfterNotice, 0, 0);
}

void TCustomShellTreeView::RunAfterNotice()
{
    // A message loop inside an expansion may get here; its end posts again.
    if (expanding_)
        return;
    for (const std::string& path : std::exchange(pendingOpens_, {}))
        ShellExecuteA(Handle(), nullptr, path.c_str(), nullptr, FolderPartOf(path).c_str(), SW_HIDE);
    if (std::exchange(rebuildWaiting_, false)) {
        TScopedValue syncing(syncing_, true);
        RebuildSelected();
    }
}

// --- Icons ----------------------------------------------------------------------------------

void TCustomShellTreeView::AskIconsWhenShown(TTreeNode& node)
{
    iconsPending_[&node] = {};
}

int TCustomShellTreeView::ClosedIcon(TTreeNode& node)
{
    const auto pending = iconsPending_.find(&node);
    if (pending == iconsPending_.end() || pending->second.closed)
        return node.ImageIndex();
    if (const TShellFolder* item = ItemOf(&node))
        node.SetImageIndex(item->ShellIconIndex(false, false));
    pending->second.closed = true;
    return node.ImageIndex();
}

void TCustomShellTreeView::GetImageIndex(TTreeNode& node)
{
    if (Images())
        TTreeView::GetImageIndex(node);
    else if (DrawsShellIcons())
        ClosedIcon(node);
}

void TCustomShellTreeView::GetSelectedIndex(TTreeNode& node)
{
    if (Images()) {
        TTreeView::GetSelectedIndex(node);
        return;
    }
    if (!DrawsShellIcons() || !iconsPending_.contains(&node))
        return;
    const int closed = ClosedIcon(node);
    // The open icon is drawn only for the selected node: until then the closed one stands in,
    // and the shell is asked once the node is selected.
    if (!node.Selected()) {
        node.SetSelectedIndex(closed);
        return;
    }
    const TShellFolder* item = ItemOf(&node);
    const int open = item ? item->ShellIconIndex(false, true) : closed;
    node.SetSelectedIndex(open == 0 ? closed : open);
    iconsPending_.erase(&node);
}

bool TCustomShellTreeView::DrawsShellIcons() const noexcept
{
    return !Images() && useShellImages_ && systemImagesState_ == TSystemImages::Attached;
}

void TCustomShellTreeView::LoadSystemImages(TImageList& list)
{
    list.ShareSystemSmallIcons();
}

void TCustomShellTreeView::AttachSystemImages()
{
    if (systemImagesState_ != TSystemImages::NotAsked || Images() || !useShellImages_ || !HandleAllocated())
        return;
    try {
        LoadSystemImages(*systemImages_);
        systemImagesState_ = TSystemImages::Attached;
    } catch (const std::exception&) {
        // The folders matter, their icons do not: the tree goes on without them.
        systemImagesState_ = TSystemImages::Unavailable;
        return;
    }
    ApplyImageList();
    InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TCustomShellTreeView::ApplyImageList()
{
    if (!HandleAllocated())
        return 0;
    TScopedValue setting(settingImageList_, true);
    HIMAGELIST list = Images() ? Images()->Handle() : useShellImages_ ? systemImages_->Handle() : nullptr;
    return SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
}

void TCustomShellTreeView::SetUseShellImages(bool value)
{
    useShellImages_ = value;
    AttachSystemImages();
    ApplyImageList();
}

// --- Finding and selecting ------------------------------------------------------------------

TTreeNode* TCustomShellTreeView::LocateNode(LPCITEMIDLIST list, TTreeNode* start)
{
    const TShellFolder* startItem = ItemOf(start);
    if (!startItem || !list)
        return nullptr;
    if (SamePlace(startItem->IdFromDesktop(), list))
        return start;
    // Below the start node only places inside its own can be found: the list must begin with
    // the start's entries. Every step down then compares one entry inside one folder, never
    // whole lists through the desktop.
    const std::size_t depth = ItemIdCount(startItem->IdFromDesktop());
    if (ItemIdCount(list) <= depth)
        return nullptr;
    IdList head = CopyIdList(list);
    if (!head)
        throw std::bad_alloc();
    while (ItemIdCount(head.get()) > depth)
        DropLastItemId(head.get());
    if (!SamePlace(startItem->IdFromDesktop(), Pidl(head)))
        return nullptr;
    LPCITEMIDLIST entry = list;
    for (std::size_t i = 0; i < depth; ++i)
        entry = static_cast<LPCITEMIDLIST>(NextItemId(entry));
    TTreeNode* node = start;
    for (; entry->mkid.cb != 0; entry = static_cast<LPCITEMIDLIST>(NextItemId(entry))) {
        // The one-entry list of this step: the entry and a terminator.
        IdList one = AllocIdList(entry->mkid.cb + sizeof(USHORT));
        if (!one)
            throw std::bad_alloc();
        std::memcpy(one.get(), entry, entry->mkid.cb);
        IShellFolder* folder = ItemOf(node)->FolderObject();
        TTreeNode* found = nullptr;
        for (TTreeNode* child = folder ? node->GetFirstChild() : nullptr; child && !found;
             child = child->GetNextSibling())
            if (const TShellFolder* item = ItemOf(child); item && SameEntry(*folder, item->IdInParent(), Pidl(one)))
                found = child;
        if (!found)
            return nullptr;
        node = found;
    }
    return node;
}

void TCustomShellTreeView::SelectPath(const std::string& path)
{
    std::wstring wide = AnsiToWide(path);
    IdList list;
    const HRESULT status =
        DesktopFolderObject()->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, ReceiveIdList(list), nullptr);
    if (FAILED(status) || !list)
        throw EInvalidPath(FormatText("Error setting path: \"%s\"", path));
    SelectIdList(Pidl(list));
}

void TCustomShellTreeView::SelectIdList(LPCITEMIDLIST list)
{
    if (syncing_ || Loading())
        return;
    if (const TShellFolder* selected = SelectedItem(); selected && SamePlace(selected->IdFromDesktop(), list))
        return;
    TScopedValue syncing(syncing_, true);
    TTreeUpdate batch(Items());
    const std::vector<IdList> ancestors = AncestorIdLists(list);
    TTreeNode* current = Items().GetFirstNode();
    for (const IdList& ancestor : ancestors) {
        if (TTreeNode* found = LocateNode(Pidl(ancestor), current)) {
            found->Expand(false);
            current = found;
        }
    }
    SetSelected(LocateNode(list, current));
}

// --- Rebuilding -----------------------------------------------------------------------------

void TCustomShellTreeView::RebuildNode(TTreeNode& node)
{
    const TShellFolder* oldItem = ItemOf(&node);
    if (!oldItem || !oldItem->FolderObject())
        return;
    const auto copyOf = [](const TTreeNode* kept) {
        const TShellFolder* item = ItemOf(kept);
        return item ? CopyIdList(item->IdFromDesktop()) : IdList();
    };
    const IdList top = copyOf(TopItem());
    const IdList selected = copyOf(Selected());
    TTreeUpdate batch(Items());
    TBusyCursor busy;

    TTreeNode* parent = node.Parent();
    auto item = std::make_unique<TShellFolder>(ItemOf(parent), oldItem->FolderObjectRef(), oldItem->IdInParent());
    TTreeNode* fresh = Items().Insert(&node, item->NameInFolder());
    Attach(*fresh, std::move(item));
    try {
        FillNode(*fresh);
        // Read just now: the children are the answer, not an attribute that may guess.
        fresh->SetHasChildren(fresh->GetFirstChild() != nullptr);
        AskIconsWhenShown(*fresh);
        // What was expanded is expanded again (and so filled) level by level, as far as it is
        // found again: a folder deleted meanwhile is simply missing.
        for (TTreeNode* old = &node; old && (old == &node || old->HasAsParent(&node)); old = old->GetNext())
            if (old->Expanded() && ItemOf(old))
                if (TTreeNode* again = LocateNode(ItemOf(old)->IdFromDesktop(), fresh))
                    again->Expand(false);
    } catch (...) {
        fresh->Delete(); // the old node stays as it was
        throw;
    }
    // The selection goes to its folder's new node (or to none) before the old one goes, so that
    // the control does not pick a node of its own meanwhile; the new node comes first among
    // equals, being inserted before the old one.
    if (selected)
        SetSelected(LocateNode(Pidl(selected), Items().GetFirstNode()));
    // Its deletion hook gives back each old node's item, once.
    node.Delete();
    if (top)
        if (TTreeNode* again = LocateNode(Pidl(top), Items().GetFirstNode()))
            SetTopItem(again);
}

void TCustomShellTreeView::RebuildSelected()
{
    if (TTreeNode* node = Selected())
        RebuildNode(*node);
}

// --- Selection and change watching ----------------------------------------------------------

bool TCustomShellTreeView::CanChange(TTreeNode* node)
{
    const bool allowed = TTreeView::CanChange(node);
    if (allowed && !syncing_ && node)
        MoveWatcher(*node);
    return allowed;
}

void TCustomShellTreeView::MoveWatcher(TTreeNode& node)
{
    const bool refresh = autoRefresh_;
    try {
        SetAutoRefresh(false);
        TScopedValue monitored(monitoredNode_, &node);
        SetAutoRefresh(refresh);
    } catch (...) {
        // The selection is the user's and still changes; the watcher stays asked for, so the
        // next selection tries again, and the error is told.
        autoRefresh_ = refresh;
        Application.HandleException(std::current_exception(), this);
    }
}

void TCustomShellTreeView::SetAutoRefresh(bool value)
{
    // The watcher waits for its report to come back: it cannot end from inside that report.
    if (watcherCalling_)
        throw Exception("The change watcher cannot be replaced while it reports a change");
    autoRefresh_ = value;
    if (Loading())
        return;
    changeWatcher_.reset();
    if (!value)
        return;
    auto watcher = std::make_unique<TShellChangeNotifier>();
    watcher->SetWatchSubTree(false);
    if (const TShellFolder* item = monitoredNode_ ? ItemOf(monitoredNode_) : rootItem_.get())
        watcher->SetRoot(item->ParsingName());
    watcher->SetOnChange([this] {
        if (expanding_) {
            rebuildWaiting_ = true;
            return;
        }
        TScopedValue calling(watcherCalling_, true);
        // The node read again stays selected, and the watcher with it.
        TScopedValue syncing(syncing_, true);
        RebuildSelected();
    });
    changeWatcher_ = std::move(watcher);
}

// --- Editing and deletion -------------------------------------------------------------------

void TCustomShellTreeView::Edit(TTreeNode& node, std::string text)
{
    if (OnEdited)
        OnEdited(this, &node, text);
    TShellFolder* item = ItemOf(&node);
    // A rename the shell refuses raises here; the node keeps its text.
    if (!item || !item->RenameTo(text))
        return;
    node.SetText(text);
    Renamed(node);
}

void TCustomShellTreeView::Renamed(TTreeNode& node)
{
    // The item's folder object and its children's lists still name the old folder: the node
    // gets a new item, and children it had are read again from the new name.
    const TShellFolder& old = *ItemOf(&node);
    auto item = std::make_unique<TShellFolder>(
        ItemOf(node.Parent()), BindChildFolder(old.ParentFolderObject().get(), old.IdInParent(), nullptr),
        old.IdInParent());
    const bool filled = node.GetFirstChild() != nullptr;
    TTreeUpdate batch(Items());
    node.DeleteChildren(); // before the item they hang below
    Attach(node, std::move(item));
    if (filled)
        FillNode(node);
    node.SetHasChildren(filled ? node.GetFirstChild() != nullptr : ItemOf(&node)->HasChildFolders());
}

void TCustomShellTreeView::Delete(TTreeNode& node)
{
    const std::unique_ptr<TShellFolder> item = static_cast<TShellTreeNode&>(node).TakeItem();
    iconsPending_.erase(&node);
    if (monitoredNode_ == &node)
        monitoredNode_ = nullptr;
    TTreeView::Delete(node);
}

// --- The shell's context menu ---------------------------------------------------------------

void TCustomShellTreeView::DoContextPopup(POINT mousePos, bool& handled)
{
    TTreeView::DoContextPopup(mousePos, handled);
    // A pop-up menu of the tree's own that shows by itself takes the request.
    if (handled || !autoContextMenus_ || (PopupMenu() && PopupMenu()->AutoPopup()))
        return;
    handled = true;
    ShowShellMenu(SelectedItem(), mousePos);
}

void TCustomShellTreeView::ShowShellMenu(TShellFolder* item, POINT clientPoint)
{
    if (!item)
        return;
    const ComPtr<IShellFolder> parent = item->ParentFolderObject();
    ComPtr<IContextMenu> menu;
    LPCITEMIDLIST items[] = {item->IdInParent()};
    if (!parent || FAILED(parent->GetUIObjectOf(Handle(), 1, items, IID_IContextMenu, nullptr, menu.put_void())) ||
        !menu)
        return;
    POINT screen = clientPoint;
    if (screen.x == -1 && screen.y == -1) {
        screen = {0, 0};
        if (TTreeNode* node = Selected()) {
            const RECT r = node->DisplayRect(true);
            screen = {r.left, r.bottom};
        }
    }
    ::ClientToScreen(Handle(), &screen);
    ScopedMenu popup(CreatePopupMenu());
    if (!popup)
        throw EOSError("A pop-up menu cannot be created");
    if (FAILED(menu->QueryContextMenu(popup.get(), 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME)))
        return;
    UINT command = 0;
    {
        // Owner-drawn and cascading entries ask the menu's handler through this window.
        ComPtr<IContextMenu2> handler;
        if (FAILED(menu->QueryInterface(IID_IContextMenu2, handler.put_void())))
            handler.reset();
        TScopedValue active(activeMenuHandler_, std::move(handler));
        command = static_cast<UINT>(TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y,
                                                   0, Handle(), nullptr));
    }
    if (command == 0)
        return;
    char verbText[256] = {};
    if (FAILED(menu->GetCommandString(command - 1, GCS_VERBA, nullptr, verbText, sizeof verbText)))
        verbText[0] = '\0';
    const std::string verb = verbText;
    bool handled = false;
    BeforeVerb(verb, handled);
    bool success = handled;
    if (!handled) {
        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof invoke;
        invoke.hwnd = Handle();
        invoke.lpVerb = MAKEINTRESOURCEA(command - 1);
        invoke.nShow = SW_SHOWNORMAL;
        success = menu->InvokeCommand(&invoke) == S_OK;
    }
    AfterVerb(verb, success);
}

void TCustomShellTreeView::BeforeVerb(const std::string& verb, bool& handled)
{
    TTreeNode* node = Selected();
    if (SameVerb(verb, "rename") && node) {
        node->EditText();
        handled = true;
    } else if (SameVerb(verb, "open") && ItemOf(node)) {
        char current[MAX_PATH] = {};
        const DWORD length = GetCurrentDirectoryA(MAX_PATH, current);
        savedDirectory_.assign(current, length < MAX_PATH ? length : 0);
        SetCurrentDirectoryA(FolderPartOf(ItemOf(node)->ParsingName()).c_str());
    }
}

void TCustomShellTreeView::AfterVerb(const std::string& verb, bool success)
{
    // The process's folder goes back however the verb ended.
    if (SameVerb(verb, "open") && !savedDirectory_.empty())
        SetCurrentDirectoryA(std::exchange(savedDirectory_, {}).c_str());
    TTreeNode* node = Selected();
    if (!success || !ItemOf(node))
        return;
    if (SameVerb(verb, "delete")) {
        if (GetFileAttributesA(ItemOf(node)->ParsingName().c_str()) == INVALID_FILE_ATTRIBUTES)
            node->Delete();
    } else if (SameVerb(verb, "paste")) {
        RebuildNode(*node);
    }
}

// --- The window -----------------------------------------------------------------------------

void TCustomShellTreeView::HandleCreated()
{
    TTreeView::HandleCreated();
    if (!Images())
        ApplyImageList();
    // The system's icons come after the window: whatever is shown first is shown sooner.
    if (systemImagesState_ == TSystemImages::NotAsked)
        PostMessageA(Handle(), kAttachSystemImages, 0, 0);
    if (!buildingRoot_)
        BuildRoot();
}

void TCustomShellTreeView::HandleDestroying()
{
    ClearNodes();
    TTreeView::HandleDestroying();
}

LRESULT TCustomShellTreeView::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case kAfterNotice:
        RunAfterNotice();
        return 0;
    case kAttachSystemImages:
        AttachSystemImages();
        return 0;
    case WM_PAINT:
        // The first picture already has the icons, whichever comes first.
        AttachSystemImages();
        break;
    case TVM_SETIMAGELIST:
        // Whoever sets a list, the tree's own rule picks it: Images, else the system's icons.
        if (!settingImageList_ && wParam == TVSIL_NORMAL)
            return ApplyImageList();
        break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
        if (activeMenuHandler_) {
            activeMenuHandler_->HandleMenuMsg(msg, wParam, lParam);
            return 0;
        }
        break;
    default:
        break;
    }
    return TTreeView::WndProc(msg, wParam, lParam);
}
