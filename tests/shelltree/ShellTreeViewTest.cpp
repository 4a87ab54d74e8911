// The shell tree over temporary folders: filling on first expansion in the shell's order, the
// shell's icons, selecting by path, rebuilding a node, roots and object types, and every list of
// the task allocator given back however the tree is used and ended.
#include "shelltree/ShellTreeFixture.h"

#include "shelltree/RootFolder.h"
#include "shelltree/ShellNamespace.h"
#include "toolkit/core/Exception.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/core/PathText.h"

#include <algorithm>
#include <cctype>

namespace {
TShellFolder* ItemOf(const TTreeNode* node)
{
    return TCustomShellTreeView::ItemOf(node);
}

HIMAGELIST ShownImageList(TTreeView& tree)
{
    return reinterpret_cast<HIMAGELIST>(SendMessageA(tree.Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
}

// Forty folders more than a page of the tree holds, so that it can scroll.
void MakeFillers(TempDir& temp)
{
    for (int i = 0; i < 40; ++i)
        temp.MakeDir("tree\\f" + std::to_string(10 + i));
}
} // namespace

TEST_F(ShellTreeTest, FillsEachFolderOnItsFirstExpansionInTheShellsOrder)
{
    ShowTreeOver({"beta\\b1", "Zeta", "Alpha\\a2", "Alpha\\a1", "gamma"});
    TTreeNode* root = tree.Items().GetFirstNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Text(), "tree");
    EXPECT_TRUE(root->Expanded());
    EXPECT_TRUE(root->Selected());
    EXPECT_EQ(tree.SelectedPath(), PathOf("tree"));
    EXPECT_EQ(ChildTexts(tree, root), (Texts{"Alpha", "beta", "gamma", "Zeta"}));

    TTreeNode* alpha = ChildNamed(root, "Alpha");
    EXPECT_TRUE(alpha->HasChildren());
    EXPECT_EQ(alpha->Count(), 0) << "children are read on the first expansion only";
    alpha->Expand(false);
    EXPECT_EQ(ChildTexts(tree, alpha), (Texts{"a1", "a2"}));
    EXPECT_EQ(ItemOf(ChildNamed(alpha, "a2"))->ParsingName(), PathOf("tree\\Alpha\\a2"));
    EXPECT_EQ(ItemOf(ChildNamed(alpha, "a2"))->ParentItem(), ItemOf(alpha));

    // An expansion that finds no subfolder takes the button away, whoever asks for it.
    TTreeNode* gamma = ChildNamed(root, "gamma");
    gamma->Expand(false);
    EXPECT_FALSE(gamma->HasChildren());
    EXPECT_FALSE(gamma->Expanded());
    TTreeNode* a1 = ChildNamed(alpha, "a1");
    SendMessageA(tree.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a1->ItemId()));
    EXPECT_FALSE(a1->HasChildren());

    // A second expansion reads nothing again: a folder made meanwhile shows only after a rebuild.
    temp.MakeDir("tree\\Alpha\\a3");
    alpha->Collapse(false);
    alpha->Expand(false);
    EXPECT_EQ(alpha->Count(), 2);
    EXPECT_EQ(errors, Texts{});
}

TEST_F(ShellTreeTest, ShowsTheShellsSmallIconsUnlessAnImageListIsGiven)
{
    ShowTreeOver({"a", "b"});
    TImageList system;
    system.ShareSystemSmallIcons();
    EXPECT_EQ(ShownImageList(tree), system.Handle());

    TTreeNode* a = ChildNamed(tree.Items().GetFirstNode(), "a");
    const LPCITEMIDLIST place = ItemOf(a)->IdFromDesktop();
    const int closed = SystemIconIndex(place, false, false);
    const int open = SystemIconIndex(place, false, true);
    ASSERT_GE(closed, 0);
    EXPECT_EQ(ShownIcons(tree, *a).first, closed);
    a->SetSelected(true);
    EXPECT_EQ(ShownIcons(tree, *a), (std::pair{closed, open == 0 ? closed : open}));

    // A list set from elsewhere gives way to the tree's own choice.
    TImageList own(16, 16);
    SendMessageA(tree.Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(own.Handle()));
    EXPECT_EQ(ShownImageList(tree), system.Handle());

    // With an Images list its events answer, and the list stays when others try to change it.
    int asked = 0;
    tree.OnGetImageIndex = [&](TObject*, TTreeNode* node) {
        ++asked;
        node->SetImageIndex(5);
    };
    tree.SetImages(&own);
    EXPECT_EQ(ShownImageList(tree), own.Handle());
    EXPECT_EQ(ShownIcons(tree, *ChildNamed(tree.Items().GetFirstNode(), "b")).first, 5);
    EXPECT_GT(asked, 0);
    SendMessageA(tree.Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(system.Handle()));
    EXPECT_EQ(ShownImageList(tree), own.Handle());
    tree.SetImages(nullptr);
    EXPECT_EQ(ShownImageList(tree), system.Handle());
    tree.SetUseShellImages(false);
    EXPECT_EQ(ShownImageList(tree), nullptr);
}

// A system that gives no small-icon list: the tree still shows, expands and selects.
class TreeWithoutSystemIcons : public TShellTreeView {
public:
    int asked = 0;

protected:
    void LoadSystemImages(TImageList&) override
    {
        ++asked;
        throw EOSError("The system image list is not available");
    }
};

TEST(ShellTreeWithoutSystemIcons, ShowsExpandsAndSelectsFoldersWithoutIcons)
{
    const TShellModule module;
    const TempDir temp;
    temp.MakeDir("tree\\a\\a1");
    temp.MakeDir("tree\\b");
    Texts errors;
    Application.OnException = [&](TObject*, const std::string& message) { errors.push_back(message); };
    {
        TForm form;
        form.SetBounds(40, 40, 360, 480);
        TreeWithoutSystemIcons tree;
        tree.SetParent(&form);
        tree.SetBounds(0, 0, 340, 440);
        tree.SetRoot(WithoutBackslash(temp.Path() + "tree"));
        form.Show();
        PumpMessages();
        EXPECT_EQ(tree.asked, 1) << "asked once, when the window was up";
        EXPECT_EQ(ShownImageList(tree), nullptr);
        TTreeNode* root = tree.Items().GetFirstNode();
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(ChildTexts(tree, root), (Texts{"a", "b"}));
        const std::string a1 = WithoutBackslash(temp.Path() + "tree\\a\\a1");
        tree.SelectPath(a1);
        EXPECT_EQ(tree.SelectedPath(), a1);
        RedrawWindow(tree.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpMessages();
        EXPECT_EQ(tree.asked, 1) << "a system without the list is not asked again";
    }
    Application.OnException = nullptr;
    EXPECT_EQ(errors, Texts{});
}

// Folders named in any script show, expand and select by their own names, beside look-alikes.
TEST_F(ShellTreeTest, FoldersNamedInAnyScriptShowExpandAndSelect)
{
    const std::string photos = "\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE"; // Фото
    const std::string omega = "\xCE\xA9mega";                          // Ωmega
    const std::string test = "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88";   // テスト
    const std::string folder = "\xF0\x9F\x93\x81";                     // an emoji
    ShowTreeOver({photos + "\\" + omega, photos + "\\Omega", "Caf\xC3\xA9", test, folder + " x"});
    TTreeNode* root = tree.Items().GetFirstNode();
    Texts names = ChildTexts(tree, root);
    std::sort(names.begin(), names.end());
    Texts expected{photos, "Caf\xC3\xA9", test, folder + " x"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    const std::string target = PathOf("tree\\" + photos + "\\" + omega);
    tree.SelectPath(target);
    ASSERT_NE(tree.Selected(), nullptr);
    EXPECT_EQ(tree.Selected()->Text(), omega);
    EXPECT_EQ(tree.SelectedPath(), target);
    Texts inside = ChildTexts(tree, ChildNamed(root, photos));
    std::sort(inside.begin(), inside.end());
    EXPECT_EQ(inside, (Texts{"Omega", omega}));
    tree.SelectPath(PathOf("tree\\" + folder + " x"));
    EXPECT_EQ(tree.SelectedPath(), PathOf("tree\\" + folder + " x"));
    EXPECT_EQ(errors, Texts{});
}

TEST_F(ShellTreeTest, SelectPathExpandsTheWayDownAndBadPathsKeepTheSelection)
{
    ShowTreeOver({"a\\a1\\a11", "b"});
    int changes = 0;
    tree.OnChange = [&](TObject*, TTreeNode*) { ++changes; };
    TTreeNode* root = tree.Items().GetFirstNode();

    tree.SelectPath(PathOf("tree\\a\\a1\\a11"));
    TTreeNode* a = ChildNamed(root, "a");
    TTreeNode* a1 = ChildNamed(a, "a1");
    EXPECT_TRUE(a->Expanded());
    EXPECT_TRUE(a1->Expanded());
    ASSERT_NE(tree.Selected(), nullptr);
    EXPECT_EQ(tree.Selected()->Parent(), a1);
    EXPECT_EQ(tree.SelectedPath(), PathOf("tree\\a\\a1\\a11"));
    EXPECT_EQ(changes, 1);

    // The selected folder again: nothing happens at all.
    const int nodes = tree.Items().Count();
    tree.SelectPath(PathOf("tree\\a\\a1\\a11"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(tree.Items().Count(), nodes);

    const std::string missing = PathOf("tree\\missing\\x");
    ExpectPathRefused([&] { tree.SelectPath(missing); }, missing);
    EXPECT_EQ(tree.SelectedPath(), PathOf("tree\\a\\a1\\a11"));
    EXPECT_EQ(changes, 1);

    // A folder that parses but is not listed (hidden, and hidden objects are not asked for):
    // the way down to it is open and nothing is selected.
    temp.MakeDir("tree\\b\\secret");
    temp.MakeDir("tree\\b\\seen");
    ASSERT_TRUE(SetFileAttributesA(PathOf("tree\\b\\secret").c_str(), FILE_ATTRIBUTE_HIDDEN));
    tree.SelectPath(PathOf("tree\\b\\secret"));
    EXPECT_TRUE(ChildNamed(root, "b")->Expanded());
    EXPECT_EQ(ChildTexts(tree, ChildNamed(root, "b")), Texts{"seen"});
    EXPECT_EQ(tree.Selected(), nullptr);
    EXPECT_EQ(tree.SelectedPath(), "");
    EXPECT_EQ(errors, Texts{});
}

TEST_F(ShellTreeTest, FromTheDesktopSelectPathOpensEveryFolderOnTheWay)
{
    temp.MakeDir("deep\\x");
    form.Show(); // the desktop is the root, as on the main window
    TTreeNode* desktop = tree.Items().GetFirstNode();
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(ItemIdCount(ItemOf(desktop)->IdFromDesktop()), 0u);

    tree.SelectPath(PathOf("deep\\x"));
    ASSERT_NE(tree.Selected(), nullptr);
    EXPECT_EQ(tree.Selected()->Text(), "x");
    EXPECT_EQ(tree.SelectedPath(), PathOf("deep\\x"));
    for (TTreeNode* up = tree.Selected()->Parent(); up; up = up->Parent())
        EXPECT_TRUE(up->Expanded()) << up->Text();
    EXPECT_EQ(errors, Texts{});
}

TEST_F(ShellTreeTest, RebuildNodeReadsFoldersAgainAndKeepsExpansionSelectionAndTopNode)
{
    MakeFillers(temp);
    ShowTreeOver({"a\\a1\\a11", "b", "c\\c1", "gone\\g1"});
    TTreeNode* root = tree.Items().GetFirstNode();
    for (const char* name : {"a", "c", "gone"})
        ChildNamed(root, name)->Expand(false);
    ChildNamed(ChildNamed(root, "a"), "a1")->Expand(false);
    ChildNamed(ChildNamed(root, "c"), "c1")->SetSelected(true);
    tree.SetTopItem(ChildNamed(ChildNamed(root, "a"), "a1"));
    ASSERT_EQ(tree.TopItem()->Text(), "a1");

    RemoveTree(temp.Path() + "tree\\gone");
    temp.MakeDir("tree\\added\\x");
    tree.RebuildNode(*root);

    root = tree.Items().GetFirstNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Text(), "tree");
    EXPECT_EQ(tree.Items().Count(), 48) << "root, a, a1, a11, added, b, c, c1 and forty more";
    EXPECT_EQ(ChildNamed(root, "gone"), nullptr);
    EXPECT_NE(ChildNamed(root, "added"), nullptr);
    EXPECT_TRUE(root->Expanded());
    EXPECT_TRUE(ChildNamed(root, "a")->Expanded());
    EXPECT_TRUE(ChildNamed(ChildNamed(root, "a"), "a1")->Expanded());
    EXPECT_TRUE(ChildNamed(root, "c")->Expanded());
    EXPECT_FALSE(ChildNamed(root, "b")->Expanded());
    EXPECT_EQ(tree.SelectedPath(), PathOf("tree\\c\\c1"));
    ASSERT_NE(tree.TopItem(), nullptr);
    EXPECT_EQ(ItemOf(tree.TopItem())->ParsingName(), PathOf("tree\\a\\a1"));
    EXPECT_EQ(errors, Texts{});
}

TEST_F(ShellTreeTest, RebuildNodeLeavesOutRememberedFoldersThatAreGone)
{
    MakeFillers(temp);
    ShowTreeOver({"keep", "gone\\sub\\subsub"});
    TTreeNode* root = tree.Items().GetFirstNode();
    TTreeNode* gone = ChildNamed(root, "gone");
    gone->Expand(false);
    TTreeNode* sub = ChildNamed(gone, "sub");
    sub->Expand(false);
    ChildNamed(sub, "subsub")->SetSelected(true);
    tree.SetTopItem(sub);

    RemoveTree(temp.Path() + "tree\\gone");
    tree.RebuildNode(*root);
    root = tree.Items().GetFirstNode();
    EXPECT_EQ(ChildNamed(root, "gone"), nullptr);
    EXPECT_NE(ChildNamed(root, "keep"), nullptr);
    EXPECT_EQ(tree.Selected(), nullptr) << "the selected folder went with its parent";
    EXPECT_EQ(tree.SelectedPath(), "");
    EXPECT_NE(tree.TopItem(), nullptr);
    EXPECT_EQ(errors, Texts{});

    // The folder under the selection is gone, its parent stays: the parent is rebuilt.
    temp.MakeDir("tree\\keep\\k1");
    ChildNamed(root, "keep")->Expand(false);
    ChildNamed(ChildNamed(root, "keep"), "k1")->SetSelected(true);
    RemoveTree(temp.Path() + "tree\\keep\\k1");
    tree.RebuildNode(*ChildNamed(root, "keep"));
    EXPECT_EQ(ChildTexts(tree, ChildNamed(root, "keep")), Texts{});
    EXPECT_EQ(tree.Selected(), nullptr);
}

TEST_F(ShellTreeTest, AnErrorInTheMiddleOfAFillLeavesTheNodeUnfilled)
{
    ShowTreeOver({"a\\1", "a\\2", "a\\3"});
    TTreeNode* a = ChildNamed(tree.Items().GetFirstNode(), "a");
    int added = 0;
    tree.OnAddFolder = [&](TObject* sender, TShellFolder*, bool&) {
        EXPECT_EQ(sender, &tree);
        if (++added == 2)
            throw Exception("no more folders");
    };
    TaskAllocationCounter counter;
    EXPECT_THROW(a->Expand(false), Exception);
    EXPECT_EQ(a->Count(), 0);
    EXPECT_TRUE(a->HasChildren());
    EXPECT_FALSE(a->Expanded());
    EXPECT_EQ(counter.Live(), 0u) << "the items of the nodes that went are given back";

    // Through the control the expansion is refused and the error reaches the application.
    added = 0;
    SendMessageA(tree.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a->ItemId()));
    EXPECT_FALSE(a->Expanded());
    PumpMessages(); // told once the control's notice is answered
    EXPECT_EQ(errors, Texts{"no more folders"});

    // A handler may leave folders out.
    tree.OnAddFolder = [](TObject*, TShellFolder* folder, bool& canAdd) { canAdd = folder->NameInFolder() != "2"; };
    a->Expand(false);
    EXPECT_EQ(ChildTexts(tree, a), (Texts{"1", "3"}));

    // A rebuild broken off the same way leaves the old nodes as they were.
    TTreeNode* root = tree.Items().GetFirstNode();
    tree.OnAddFolder = [](TObject*, TShellFolder*, bool&) { throw Exception("no more folders"); };
    EXPECT_THROW(tree.RebuildNode(*root), Exception);
    EXPECT_EQ(tree.Items().GetFirstNode(), root);
    EXPECT_EQ(root->GetNextSibling(), nullptr);
    EXPECT_EQ(ChildTexts(tree, ChildNamed(root, "a")), (Texts{"1", "3"}));
}

TEST_F(ShellTreeTest, RootChangesOnlyToPlacesThatResolve)
{
    ShowTreeOver({"a\\a1"});
    ChildNamed(tree.Items().GetFirstNode(), "a")->Expand(false);
    tree.SelectPath(PathOf("tree\\a\\a1"));
    TTreeNode* first = tree.Items().GetFirstNode();
    const std::string root = tree.Root();

    std::string shouted = root;
    std::transform(shouted.begin(), shouted.end(), shouted.begin(), [](unsigned char c) { return std::toupper(c); });
    ASSERT_NE(shouted, root);
    tree.SetRoot(shouted);
    EXPECT_EQ(tree.Root(), root);
    EXPECT_EQ(tree.Items().GetFirstNode(), first) << "not even rebuilt";

    const std::string bad = PathOf("nothing here");
    ExpectPathRefused([&] { tree.SetRoot(bad); }, bad);
    EXPECT_EQ(tree.Root(), root);
    EXPECT_EQ(tree.Items().GetFirstNode(), first) << "the tree stays as the user left it";
    EXPECT_EQ(tree.SelectedPath(), PathOf("tree\\a\\a1"));

    tree.SetRoot("rfmycomputer");
    TTreeNode* computer = tree.Items().GetFirstNode();
    ASSERT_NE(computer, nullptr);
    IdList drives;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, ReceiveIdList(drives)), S_OK);
    EXPECT_TRUE(SameIdList(ItemOf(computer)->IdFromDesktop(), Pidl(drives)));
    EXPECT_TRUE(computer->Expanded());
    EXPECT_GT(computer->Count(), 0) << "the drives";
    EXPECT_EQ(tree.Items().GetFirstNode()->GetNextSibling(), nullptr) << "one root node";
}

TEST_F(ShellTreeTest, ObjectTypesChooseWhatIsListed)
{
    ShowTreeOver({"withfile", "empty"});
    temp.WriteFile("tree\\withfile\\note.txt", "x");
    temp.WriteFile("tree\\top.txt", "y");
    EXPECT_EQ(ChildTexts(tree, tree.Items().GetFirstNode()), (Texts{"empty", "withfile"}));

    tree.SetObjectTypes({otFolders, otNonFolders});
    TTreeNode* root = tree.Items().GetFirstNode();
    const Texts texts = ChildTexts(tree, root);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[2].rfind("top", 0), 0u) << texts[2];
    // Whether a folder opens is decided by listing one of its entries.
    EXPECT_FALSE(ChildNamed(root, "empty")->HasChildren());
    EXPECT_TRUE(ChildNamed(root, "withfile")->HasChildren());
    EXPECT_EQ(errors, Texts{});
}

namespace {
// A window with a shell tree over temporary folders, used in every way that makes or drops
// items, ended with the tree while the window still exists.
void TreeScenario()
{
    TShellModule module;
    TempDir temp;
    temp.MakeDir("tree\\a\\a1");
    temp.MakeDir("tree\\b\\b1");
    temp.MakeDir("tree\\c");
    Application.OnException = [](TObject*, const std::string&) {};
    TForm form;
    form.SetBounds(40, 40, 300, 300);
    {
        TShellTreeView tree;
        tree.SetParent(&form);
        tree.SetBounds(0, 0, 280, 280);
        tree.SetRoot(WithoutBackslash(temp.Path() + "tree"));
        form.Show();
        tree.SelectPath(temp.Path() + "tree\\a\\a1");
        TTreeNode* root = tree.Items().GetFirstNode();
        UpdateWindow(tree.Handle()); // the shown nodes ask for their icons
        tree.RebuildNode(*root);
        tree.OnAddFolder = [](TObject*, TShellFolder*, bool&) { throw Exception("refused"); };
        EXPECT_THROW(ChildNamed(tree.Items().GetFirstNode(), "b")->Expand(false), Exception);
        tree.OnAddFolder = nullptr;
        RemoveTree(temp.Path() + "tree\\c");
        tree.RebuildNode(*tree.Items().GetFirstNode());
        std::string broken = temp.Path() + "none";
        EXPECT_THROW(tree.SetRoot(broken), EInvalidPath);
    }
    Application.OnException = nullptr;
}
} // namespace

TEST(ShellTreeLifetime, EveryListGoesBackAfterFillsRebuildsFailuresAndTheEnd)
{
    ExpectEveryListGivenBack(TreeScenario);
}
