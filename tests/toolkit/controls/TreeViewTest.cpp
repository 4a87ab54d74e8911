#include "AllocationFailure.h"
#include "TreeViewFixture.h"

#include "toolkit/core/Exception.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/controls/PopupMenu.h"
#include "toolkit/controls/TreeUpdate.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>

using Texts = std::vector<std::string>;

namespace {
Texts Sorted(Texts texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

// Every item the control holds, read from the control itself, checked against the nodes: each
// item's data must be the live node registered for it, and no node may be left without an item.
testing::AssertionResult ItemsMatchNodes(TTreeView& tree)
{
    const HWND window = tree.Handle();
    int items = 0;
    std::vector<HTREEITEM> pending{reinterpret_cast<HTREEITEM>(SendMessageA(window, TVM_GETNEXTITEM, TVGN_ROOT, 0))};
    while (!pending.empty()) {
        HTREEITEM item = pending.back();
        pending.pop_back();
        for (; item; item = reinterpret_cast<HTREEITEM>(
                         SendMessageA(window, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
            ++items;
            TVITEMA data{};
            data.mask = TVIF_HANDLE | TVIF_PARAM;
            data.hItem = item;
            SendMessageA(window, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
            TTreeNode* node = tree.Items().GetNode(item);
            if (!node || reinterpret_cast<TTreeNode*>(data.lParam) != node || node->ItemId() != item)
                return testing::AssertionFailure() << "an item points at no registered node";
            pending.push_back(reinterpret_cast<HTREEITEM>(
                SendMessageA(window, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))));
        }
    }
    if (items != tree.Items().Count())
        return testing::AssertionFailure() << items << " items, " << tree.Items().Count() << " nodes";
    return testing::AssertionSuccess();
}

} // namespace

using TreeStructure = TreeViewFixture;

TEST_F(TreeStructure, AddInsertAndTreeOrder)
{
    TTreeNodes& items = tree.Items();
    TTreeNode* desktop = items.AddChild(nullptr, "Desktop");
    TTreeNode* drives = items.AddChild(desktop, "Drives");
    TTreeNode* docs = items.AddChildFirst(desktop, "Documents");
    TTreeNode* c = items.AddChild(drives, "C:");
    TTreeNode* network = items.Insert(drives, "Network");
    TTreeNode* trash = items.Add(desktop, "Trash");

    EXPECT_EQ(ChildTexts(nullptr), (Texts{"Desktop", "Trash"}));
    EXPECT_EQ(ChildTexts(desktop), (Texts{"Documents", "Network", "Drives"}));
    EXPECT_EQ(items.Count(), 6);
    EXPECT_EQ(c->Level(), 2);
    EXPECT_EQ(c->Parent(), drives);
    EXPECT_EQ(desktop->Parent(), nullptr);
    EXPECT_EQ(drives->Index(), 2);
    EXPECT_EQ(desktop->Count(), 3);
    EXPECT_EQ(desktop->Item(1), network);
    EXPECT_EQ(desktop->GetLastChild(), drives);
    EXPECT_THROW(desktop->Item(3), Exception);

    // First child, else next sibling, else the next sibling of the nearest ancestor.
    std::vector<TTreeNode*> order;
    for (TTreeNode* n = items.GetFirstNode(); n; n = n->GetNext())
        order.push_back(n);
    EXPECT_EQ(order, (std::vector<TTreeNode*>{desktop, docs, network, drives, c, trash}));
    EXPECT_EQ(items.Item(4), c);
    EXPECT_TRUE(c->HasAsParent(desktop));
    EXPECT_FALSE(trash->HasAsParent(desktop));

    // A parent shows its button from its first child on.
    EXPECT_TRUE(drives->HasChildren());
    EXPECT_FALSE(c->HasChildren());

    c->SetText("C:\\");
    EXPECT_EQ(c->Text(), "C:\\");
    char shown[16] = {};
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT;
    item.hItem = c->ItemId();
    item.pszText = shown;
    item.cchTextMax = sizeof shown;
    SendMessageA(tree.Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(shown, "C:\\");
}

using LazyTree = TreeViewFixture;

TEST_F(LazyTree, ExpandingFillsANodeThatOnlyShowedItsButton)
{
    TTreeNode* drive = tree.Items().AddChild(nullptr, "Drive");
    TTreeNode* locked = tree.Items().AddChild(nullptr, "Locked");
    TTreeNode* viaControl = tree.Items().AddChild(nullptr, "Clicked");
    TTreeNode* empty = tree.Items().AddChild(nullptr, "Empty");
    for (TTreeNode* n : {drive, locked, viaControl, empty})
        n->SetHasChildren(true);
    EXPECT_TRUE(drive->HasChildren());
    EXPECT_EQ(drive->Count(), 0);

    std::vector<std::string> expanded;
    tree.OnExpanding = [&](TObject* sender, TTreeNode* node, bool& allow) {
        EXPECT_EQ(sender, &tree);
        if (node == locked) {
            allow = false;
            return;
        }
        if (node->Count() == 0 && node != empty) {
            tree.Items().AddChild(node, node->Text() + " A");
            tree.Items().AddChild(node, node->Text() + " B");
        }
        node->SetHasChildren(node->Count() > 0);
    };
    tree.OnExpanded = [&](TObject*, TTreeNode* node) { expanded.push_back(node->Text()); };

    drive->Expand(false);
    EXPECT_TRUE(drive->Expanded());
    EXPECT_EQ(ChildTexts(drive), (Texts{"Drive A", "Drive B"}));

    locked->Expand(false);
    EXPECT_FALSE(locked->Expanded());
    EXPECT_EQ(locked->Count(), 0);
    EXPECT_TRUE(locked->HasChildren());

    // The control's own expansion (as by a click on the button) takes the same road.
    SendMessageA(tree.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(viaControl->ItemId()));
    EXPECT_TRUE(viaControl->Expanded());
    EXPECT_EQ(ChildTexts(viaControl), (Texts{"Clicked A", "Clicked B"}));
    SendMessageA(tree.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(locked->ItemId()));
    EXPECT_FALSE(locked->Expanded());

    // Nothing found: the button goes and the node stays closed.
    empty->Expand(false);
    EXPECT_FALSE(empty->HasChildren());
    EXPECT_FALSE(empty->Expanded());

    EXPECT_EQ(expanded, (Texts{"Drive", "Clicked"}));

    // Expanding again does not fill again.
    drive->Collapse(false);
    EXPECT_FALSE(drive->Expanded());
    drive->Expand(false);
    EXPECT_EQ(drive->Count(), 2);
}

TEST_F(LazyTree, AnErrorWhileDecidingRefusesTheExpansionAndReachesTheApplication)
{
    TTreeNode* node = tree.Items().AddChild(nullptr, "Broken");
    node->SetHasChildren(true);
    tree.OnExpanding = [](TObject*, TTreeNode*, bool&) { throw Exception("no access"); };
    SendMessageA(tree.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->ItemId()));
    EXPECT_FALSE(node->Expanded());
    EXPECT_EQ(errors, (Texts{"no access"}));
    // Asked by the program, the error comes straight to the caller.
    EXPECT_THROW(node->Expand(false), Exception);
}

using NodeDeletion = TreeViewFixture;

TEST_F(NodeDeletion, EveryNodeOfTheSubtreeIsAnnouncedWithItsDataFirst)
{
    TTreeNodes& items = tree.Items();
    auto nodes = AddOutline(tree, {"root", " a", "  a1", "  a2", " b", "keep"});
    TTreeNode *root = nodes["root"], *a = nodes["a"], *b = nodes["b"], *keep = nodes["keep"];
    int payload = 0;
    for (TTreeNode* n = items.GetFirstNode(); n; n = n->GetNext())
        n->SetData(&payload);

    Texts announced;
    tree.OnDeletion = [&](TObject*, TTreeNode* node) {
        EXPECT_EQ(node->Data(), &payload);
        announced.push_back(node->Text());
    };
    a->Delete();
    EXPECT_EQ(announced, (Texts{"a1", "a2", "a"}));
    EXPECT_EQ(items.Count(), 3);
    EXPECT_EQ(ChildTexts(root), (Texts{"b"}));

    // The last child gone, its parent loses the button.
    announced.clear();
    b->Delete();
    EXPECT_EQ(announced, (Texts{"b"}));
    EXPECT_FALSE(root->HasChildren());

    items.AddChild(keep, "k1")->SetData(&payload);
    announced.clear();
    keep->DeleteChildren();
    EXPECT_EQ(announced, (Texts{"k1"}));
    EXPECT_EQ(ChildTexts(nullptr), (Texts{"root", "keep"}));

    announced.clear();
    items.Clear();
    EXPECT_EQ(announced, (Texts{"root", "keep"}));
    EXPECT_EQ(items.Count(), 0);
    EXPECT_EQ(items.GetFirstNode(), nullptr);
}

TEST_F(NodeDeletion, AFailingHookStopsNoOtherAndTheNodesStillGo)
{
    TTreeNode* root = tree.Items().AddChild(nullptr, "root");
    tree.Items().AddChild(root, "x");
    tree.Items().AddChild(root, "y");
    Texts announced;
    tree.OnDeletion = [&](TObject*, TTreeNode* node) {
        announced.push_back(node->Text());
        if (node->Text() == "x")
            throw Exception("cannot free x");
    };
    EXPECT_THROW(root->Delete(), Exception);
    EXPECT_EQ(announced, (Texts{"x", "y", "root"}));
    EXPECT_EQ(tree.Items().Count(), 0);
}

TEST_F(NodeDeletion, NodesTheControlDeletesByItselfAreAnnouncedOnceAndForgotten)
{
    TTreeNodes& items = tree.Items();
    auto nodes = AddOutline(tree, {"folder", " sub", "  deep", " file", "other", " single"});
    TTreeNode *folder = nodes["folder"], *sub = nodes["sub"], *other = nodes["other"], *single = nodes["single"];
    folder->Expand(false);
    Texts announced;
    tree.OnDeletion = [&](TObject*, TTreeNode* node) { announced.push_back(node->Text()); };

    // A collapse with reset: the control drops the children, to be asked for again.
    const HTREEITEM subItem = sub->ItemId();
    SendMessageA(tree.Handle(), TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET,
                 reinterpret_cast<LPARAM>(folder->ItemId()));
    EXPECT_EQ(Sorted(announced), (Texts{"deep", "file", "sub"}));
    EXPECT_EQ(items.GetNode(subItem), nullptr);
    EXPECT_EQ(items.Count(), 3);
    EXPECT_TRUE(ItemsMatchNodes(tree));

    // New items may come with the handles of the old ones.
    TTreeNode* first = items.AddChild(folder, "new 1");
    TTreeNode* second = items.AddChild(folder, "new 2");
    EXPECT_EQ(ChildTexts(folder), (Texts{"new 1", "new 2"}));
    EXPECT_EQ(items.GetNode(first->ItemId()), first);
    EXPECT_EQ(items.GetNode(second->ItemId()), second);
    EXPECT_TRUE(ItemsMatchNodes(tree));

    // An item deleted by a message from elsewhere; its hook fails, and it is forgotten anyway.
    announced.clear();
    tree.OnDeletion = [&](TObject*, TTreeNode* node) {
        announced.push_back(node->Text());
        throw Exception("cannot free " + node->Text());
    };
    SendMessageA(tree.Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(single->ItemId()));
    EXPECT_EQ(announced, (Texts{"single"}));
    EXPECT_EQ(errors, (Texts{"cannot free single"}));
    EXPECT_TRUE(ChildTexts(other).empty());
    EXPECT_TRUE(ItemsMatchNodes(tree));
    tree.OnDeletion = [&](TObject*, TTreeNode* node) { announced.push_back(node->Text()); };

    // Deleted through the nodes, each is announced once although the control reports it too.
    announced.clear();
    folder->Delete();
    EXPECT_EQ(announced, (Texts{"new 1", "new 2", "folder"}));
    EXPECT_EQ(items.Count(), 1);
    EXPECT_EQ(errors.size(), 1u);
    // The fixture deletes the node left after this body's locals are gone.
    tree.OnDeletion = nullptr;
}

using NodeInsertion = TreeViewFixture;

TEST_F(NodeInsertion, RunningOutOfMemoryLeavesNoItemPointingAtAFreedNode)
{
    TTreeNode* parent = tree.Items().AddChild(nullptr, "parent");
    // Each step lets a later allocation of the insertion fail, until one is reached no more.
    for (int failAt = 0;; ++failAt) {
        bool raised = false, failed = false;
        {
            FailingAllocation failure(failAt);
            try {
                tree.Items().AddChild(parent, "child");
            } catch (const std::bad_alloc&) {
                raised = true;
            }
            failed = failure.Failed();
        }
        ASSERT_EQ(raised, failed) << "allocation " << failAt;
        ASSERT_TRUE(ItemsMatchNodes(tree)) << "allocation " << failAt;
        if (!failed)
            break;
        ASSERT_LT(failAt, 50);
    }
    EXPECT_EQ(ChildTexts(parent), (Texts{"child"}));
}

TEST_F(TreeStructure, ABatchThatOutlivesTheWindowEndsQuietly)
{
    tree.Items().AddChild(nullptr, "node");
    {
        TTreeUpdate batch(tree.Items());
        tree.SetParent(nullptr); // the window goes while the batch runs
        EXPECT_FALSE(tree.HandleAllocated());
    }
    EXPECT_FALSE(tree.Items().Updating());
    EXPECT_EQ(tree.Items().Count(), 0);
    tree.SetParent(&form);
    EXPECT_TRUE(tree.HandleAllocated());
    EXPECT_EQ(tree.Items().AddChild(nullptr, "again")->Text(), "again");
    EXPECT_TRUE(errors.empty());
}

// A tree of its own kind, as a program derives one: its deletion hook keeps a record that
// outlives it, and its destructor takes the window down while the hook still exists.
class RecordingTree : public TTreeView {
public:
    explicit RecordingTree(Texts& heard) : heard_(heard) {}
    ~RecordingTree() override { DestroyHandle(); }

protected:
    void Delete(TTreeNode& node) override
    {
        heard_.push_back(node.Text());
        TTreeView::Delete(node);
    }

private:
    Texts& heard_;
};

// Two levels below the top, one subtree never expanded; the result is every text, sorted.
Texts FillForLifetime(TTreeView& tree)
{
    AddOutline(tree, {"a", " a1", " a2", "  a21", "b"})["a"]->Expand(false);
    return {"a", "a1", "a2", "a21", "b"};
}

TEST(TreeViewLifetime, ADerivedTreeHearsOfEveryNodeWhicheverWayItsWindowGoes)
{
    std::vector<std::string> errors;
    Application.OnException = [&](TObject*, const std::string& m) { errors.push_back(m); };
    TForm form;
    form.SetBounds(0, 0, 240, 240);
    auto& panel = form.Own<TPanel>();
    panel.SetBounds(0, 0, 200, 200);
    panel.SetParent(&form);
    Texts heard;

    auto direct = std::make_unique<RecordingTree>(heard);
    direct->SetParent(&panel);
    Texts all = FillForLifetime(*direct);
    direct.reset();
    EXPECT_EQ(Sorted(heard), all) << "destroyed directly";

    RecordingTree tree(heard);
    tree.SetParent(&panel);
    heard.clear();
    all = FillForLifetime(tree);
    panel.SetParent(nullptr);
    EXPECT_EQ(Sorted(heard), all) << "destroyed with its parent's window";
    EXPECT_EQ(tree.Items().Count(), 0);

    panel.SetParent(&form);
    ASSERT_TRUE(tree.HandleAllocated());
    heard.clear();
    all = FillForLifetime(tree);
    DestroyWindow(tree.Handle());
    EXPECT_EQ(Sorted(heard), all) << "destroyed by the platform call";
    EXPECT_FALSE(tree.HandleAllocated());
    EXPECT_EQ(tree.Items().Count(), 0);

    tree.SetParent(nullptr);
    EXPECT_TRUE(errors.empty());
    Application.OnException = nullptr;
}

TEST(TreeViewLifetime, DestroyingTheTreeAnnouncesTheNodesLeft)
{
    std::vector<std::string> errors;
    Application.OnException = [&](TObject*, const std::string& m) { errors.push_back(m); };
    int alive = 0;
    {
        TForm form;
        form.SetBounds(0, 0, 200, 200);
        auto tree = std::make_unique<TTreeView>();
        tree->SetParent(&form);
        tree->OnDeletion = [&](TObject*, TTreeNode* node) { delete static_cast<int*>(node->Data()); --alive; };
        TTreeNode* top = tree->Items().AddChild(nullptr, "top");
        for (TTreeNode* n : {top, tree->Items().AddChild(top, "child")}) {
            n->SetData(new int(1));
            ++alive;
        }
        tree.reset();
        EXPECT_EQ(alive, 0);
    }
    EXPECT_TRUE(errors.empty());
    Application.OnException = nullptr;
}

using TreeSorting = TreeViewFixture;

TEST_F(TreeSorting, CallbackAndTextOrder)
{
    TTreeNodes& items = tree.Items();
    TTreeNode* folder = items.AddChild(nullptr, "folder");
    for (const char* name : {"beta", "Gamma", "alpha"})
        items.AddChild(folder, name);
    TTreeNode* inner = items.AddChild(folder, "delta");
    for (const char* name : {"z", "y"})
        items.AddChild(inner, name);

    folder->CustomSort([](TTreeNode& a, TTreeNode& b) { return b.Text().compare(a.Text()); });
    EXPECT_EQ(ChildTexts(folder), (Texts{"delta", "beta", "alpha", "Gamma"}));
    EXPECT_EQ(ChildTexts(inner), (Texts{"z", "y"})); // not recursive

    folder->AlphaSort(true);
    EXPECT_EQ(ChildTexts(folder), (Texts{"alpha", "beta", "delta", "Gamma"}));
    EXPECT_EQ(ChildTexts(inner), (Texts{"y", "z"}));

    // OnCompare replaces the text order: by length, then alphabetically.
    tree.OnCompare = [](TObject*, TTreeNode* a, TTreeNode* b, int& compare) {
        compare = static_cast<int>(a->Text().size()) - static_cast<int>(b->Text().size());
        if (compare == 0)
            compare = a->Text().compare(b->Text());
    };
    items.AddChild(nullptr, "aa");
    items.AddChild(nullptr, "b");
    tree.AlphaSort();
    EXPECT_EQ(ChildTexts(nullptr), (Texts{"b", "aa", "folder"}));
}

TEST_F(TreeSorting, AnErrorInTheComparisonComesBackToTheCaller)
{
    TTreeNode* folder = tree.Items().AddChild(nullptr, "folder");
    for (const char* name : {"c", "b", "a"})
        tree.Items().AddChild(folder, name);
    int calls = 0;
    auto failing = [&](TTreeNode&, TTreeNode&) -> int {
        ++calls;
        throw std::runtime_error("compare failed");
    };
    EXPECT_THROW(folder->CustomSort(failing), std::runtime_error);
    EXPECT_EQ(calls, 1); // the rest of the sort does not ask again
    EXPECT_EQ(folder->Count(), 3);
    EXPECT_TRUE(errors.empty());
}

using TreeSelection = TreeViewFixture;

TEST_F(TreeSelection, ChangesAreReportedAndMayBeRefused)
{
    TTreeNode* one = tree.Items().AddChild(nullptr, "one");
    TTreeNode* two = tree.Items().AddChild(nullptr, "two");
    std::vector<TTreeNode*> changes;
    tree.OnChange = [&](TObject*, TTreeNode* node) { changes.push_back(node); };
    bool allow = true;
    tree.OnChanging = [&](TObject*, TTreeNode*, bool& a) { a = allow; };

    tree.SetSelected(one);
    EXPECT_EQ(tree.Selected(), one);
    EXPECT_TRUE(one->Selected());
    allow = false;
    two->SetSelected(true);
    EXPECT_EQ(tree.Selected(), one);
    allow = true;
    two->SetSelected(true);
    EXPECT_EQ(tree.Selected(), two);
    EXPECT_EQ(changes, (std::vector<TTreeNode*>{one, two}));

    tree.SetSelected(nullptr);
    EXPECT_EQ(tree.Selected(), nullptr);
}

TEST_F(TreeSelection, DeletingTheSelectedNodeLeavesNoDanglingSelection)
{
    TTreeNode* parent = tree.Items().AddChild(nullptr, "parent");
    TTreeNode* doomed = tree.Items().AddChild(parent, "doomed");
    tree.Items().AddChild(doomed, "below");
    TTreeNode* sibling = tree.Items().AddChild(parent, "sibling");
    parent->Expand(false);
    doomed->SetSelected(true);
    TTreeNode* reported = doomed;
    tree.OnChange = [&](TObject*, TTreeNode* node) { reported = node; };

    // The control moves the selection to the next sibling, and the change is reported with
    // the live node.
    doomed->Delete();
    EXPECT_EQ(tree.Selected(), sibling);
    EXPECT_EQ(reported, sibling);
    EXPECT_EQ(tree.Items().Count(), 2);

    tree.Items().Clear();
    EXPECT_EQ(tree.Selected(), nullptr);
}

TEST_F(TreeSelection, AnErrorInOnChangingKeepsTheSelection)
{
    TTreeNode* one = tree.Items().AddChild(nullptr, "one");
    TTreeNode* two = tree.Items().AddChild(nullptr, "two");
    one->SetSelected(true);
    tree.OnChanging = [](TObject*, TTreeNode*, bool&) { throw Exception("busy"); };
    two->SetSelected(true);
    EXPECT_EQ(tree.Selected(), one);
    EXPECT_EQ(errors, (Texts{"busy"}));
}

TEST_F(TreeSelection, ADelayedChangeIsReportedOnceAfterTheDelay)
{
    TTreeNode* one = tree.Items().AddChild(nullptr, "one");
    TTreeNode* two = tree.Items().AddChild(nullptr, "two");
    tree.SetChangeDelay(40);
    std::vector<TTreeNode*> changes;
    tree.OnChange = [&](TObject*, TTreeNode* node) { changes.push_back(node); };
    one->SetSelected(true);
    two->SetSelected(true);
    EXPECT_TRUE(changes.empty());
    for (int i = 0; i < 50 && changes.empty(); ++i) {
        Sleep(10);
        PumpMessages();
    }
    Sleep(80);
    PumpMessages();
    EXPECT_EQ(changes, std::vector<TTreeNode*>{two});
}

TEST_F(TreeStructure, TopItemOverlayAndVisibility)
{
    std::vector<TTreeNode*> rows;
    for (int i = 0; i < 80; ++i)
        rows.push_back(tree.Items().AddChild(nullptr, "row " + std::to_string(i)));
    EXPECT_EQ(tree.TopItem(), rows[0]);
    tree.SetTopItem(rows[40]);
    EXPECT_EQ(tree.TopItem(), rows[40]);
    rows[5]->MakeVisible();
    EXPECT_EQ(tree.TopItem(), rows[5]);
    const RECT shown = rows[5]->DisplayRect(false);
    EXPECT_FALSE(IsRectEmpty(&shown));
    const RECT next = rows[6]->DisplayRect(true);
    EXPECT_EQ(tree.GetNodeAt(next.left + 1, next.top + 1), rows[6]);
    EXPECT_EQ(tree.GetNodeAt(next.left + 1, 100000), nullptr);

    rows[3]->SetOverlayIndex(0);
    const auto state = SendMessageA(tree.Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(rows[3]->ItemId()),
                                    TVIS_OVERLAYMASK);
    EXPECT_EQ(state & TVIS_OVERLAYMASK, INDEXTOOVERLAYMASK(1));
    rows[3]->SetOverlayIndex(-1);
    EXPECT_EQ(SendMessageA(tree.Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(rows[3]->ItemId()),
                           TVIS_OVERLAYMASK),
              0);
}

using TreeImages = TreeViewFixture;

TEST_F(TreeImages, IndexEventsAreAskedOnlyWithAnImageList)
{
    TTreeNode* node = tree.Items().AddChild(nullptr, "node");
    node->SetImageIndex(4);
    node->SetSelectedIndex(5);
    int asked = 0;
    tree.OnGetImageIndex = [&](TObject*, TTreeNode* n) {
        ++asked;
        n->SetImageIndex(7);
    };
    tree.OnGetSelectedIndex = [&](TObject*, TTreeNode* n) {
        ++asked;
        n->SetSelectedIndex(8);
    };
    auto shown = [&] {
        TVITEMA item{};
        item.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        item.hItem = node->ItemId();
        SendMessageA(tree.Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return std::pair{item.iImage, item.iSelectedImage};
    };

    EXPECT_EQ(shown(), (std::pair{4, 5}));
    EXPECT_EQ(asked, 0);

    TImageList images;
    images.ShareSystemSmallIcons();
    tree.SetImages(&images);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(tree.Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)),
              images.Handle());
    EXPECT_EQ(shown(), (std::pair{7, 8}));
    EXPECT_EQ(asked, 2);

    // Set while the control paints the node, the indices are its answer: nothing is left to
    // paint again afterwards (else every paint would ask for another).
    InvalidateRect(tree.Handle(), nullptr, TRUE);
    UpdateWindow(tree.Handle());
    EXPECT_GT(asked, 2);
    EXPECT_FALSE(GetUpdateRect(tree.Handle(), nullptr, FALSE));
    // Set at any other time, the node is drawn again.
    node->SetImageIndex(3);
    EXPECT_TRUE(GetUpdateRect(tree.Handle(), nullptr, FALSE));
    tree.SetImages(nullptr);
}

TEST_F(TreeImages, ADestroyedImageListOrMenuIsLetGo)
{
    tree.Items().AddChild(nullptr, "node");
    auto images = std::make_unique<TImageList>(16, 16);
    auto replaced = std::make_unique<TImageList>(16, 16);
    auto menu = std::make_unique<TPopupMenu>();
    bool shown = false;
    menu->OnPopup = [&](TPopupMenu&) { shown = true; };
    tree.SetImages(replaced.get());
    tree.SetImages(images.get());
    tree.SetPopupMenu(menu.get());

    replaced.reset(); // no longer the tree's: nothing changes
    EXPECT_EQ(tree.Images(), images.get());
    images.reset();
    EXPECT_EQ(tree.Images(), nullptr);
    EXPECT_EQ(SendMessageA(tree.Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0);
    menu.reset();
    EXPECT_EQ(tree.PopupMenu(), nullptr);
    POINT inside{20, 20};
    ClientToScreen(tree.Handle(), &inside);
    SendMessageA(tree.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.Handle()),
                 MAKELPARAM(inside.x, inside.y));
    EXPECT_FALSE(shown);
    UpdateWindow(tree.Handle()); // paints without a list
    EXPECT_TRUE(errors.empty());
}

using TreeEditing = TreeViewFixture;

TEST_F(TreeEditing, OnEditingMayRefuseAndOnEditedMayChangeTheText)
{
    TTreeNode* node = tree.Items().AddChild(nullptr, "old");
    bool allow = false;
    tree.OnEditing = [&](TObject*, TTreeNode*, bool& a) { a = allow; };
    EXPECT_FALSE(node->EditText());
    EXPECT_FALSE(tree.IsEditing());

    allow = true;
    std::string seen;
    tree.OnEdited = [&](TObject*, TTreeNode*, std::string& text) {
        seen = text;
        text = "[" + text + "]";
    };
    ASSERT_TRUE(node->EditText());
    ASSERT_TRUE(tree.IsEditing());
    auto edit = reinterpret_cast<HWND>(SendMessageA(tree.Handle(), TVM_GETEDITCONTROL, 0, 0));
    SetWindowTextA(edit, "new");
    node->EndEdit(false);
    EXPECT_EQ(seen, "new");
    EXPECT_EQ(node->Text(), "[new]");

    // Cancelled: nothing is asked and the text stays.
    seen.clear();
    ASSERT_TRUE(node->EditText());
    node->EndEdit(true);
    EXPECT_EQ(seen, "");
    EXPECT_EQ(node->Text(), "[new]");

    tree.SetReadOnly(true);
    EXPECT_FALSE(node->EditText());
}

using TreeMouse = TreeViewFixture;

TEST_F(TreeMouse, RightClickSelectsTheNodeThenAsksForTheContextMenu)
{
    tree.Items().AddChild(nullptr, "first");
    TTreeNode* second = tree.Items().AddChild(nullptr, "second");
    tree.Items().GetFirstNode()->SetSelected(true);
    tree.SetRightClickSelect(true);
    PumpMessages();

    TTreeNode* selectedAtPopup = nullptr;
    POINT asked{};
    tree.OnContextPopup = [&](TObject*, POINT p, bool& handled) {
        selectedAtPopup = tree.Selected();
        asked = p;
        handled = true;
    };
    RightClick(tree, *second);
    const RECT r = second->DisplayRect(true);
    EXPECT_EQ(tree.Selected(), second);
    EXPECT_EQ(selectedAtPopup, second);
    EXPECT_EQ(asked.x, r.left + 2);
    EXPECT_EQ(asked.y, r.top + 2);
}

TEST_F(TreeMouse, WithoutRightClickSelectTheSelectionStays)
{
    TTreeNode* first = tree.Items().AddChild(nullptr, "first");
    TTreeNode* second = tree.Items().AddChild(nullptr, "second");
    first->SetSelected(true);
    RightClick(tree, *second);
    EXPECT_EQ(tree.Selected(), first);
}

TEST_F(TreeMouse, AnUnhandledRequestShowsThePopupMenu)
{
    tree.Items().AddChild(nullptr, "only");
    TPopupMenu menu;
    bool shown = false;
    menu.OnPopup = [&](TPopupMenu&) { shown = true; }; // empty: nothing is tracked
    tree.SetPopupMenu(&menu);
    POINT inside{100, 200};
    ClientToScreen(tree.Handle(), &inside);
    const LPARAM at = MAKELPARAM(inside.x, inside.y);
    SendMessageA(tree.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.Handle()), at);
    EXPECT_TRUE(shown);
    EXPECT_EQ(menu.Owner(), nullptr) << "the menu keeps no window that may go before it";

    // Handled by the event: the menu stays away.
    shown = false;
    tree.OnContextPopup = [](TObject*, POINT, bool& handled) { handled = true; };
    SendMessageA(tree.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.Handle()), at);
    EXPECT_FALSE(shown);

    tree.OnContextPopup = nullptr;
    menu.SetAutoPopup(false);
    SendMessageA(tree.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.Handle()), at);
    EXPECT_FALSE(shown);
    tree.SetPopupMenu(nullptr);
}
