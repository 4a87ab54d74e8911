// The shell tree as the user meets it: right clicks and context menus, renaming in place, the
// verbs the tree takes part in, the change watcher, and a look at the tree itself.
#include "shelltree/Screenshot.h"
#include "shelltree/ShellTreeFixture.h"

#include "toolkit/core/ApplicationWindow.h"
#include "toolkit/core/PathText.h"
#include "toolkit/controls/AllocationFailure.h"
#include "toolkit/controls/PopupMenu.h"

#include <optional>

namespace {
TShellFolder* ItemOf(const TTreeNode* node)
{
    return TCustomShellTreeView::ItemOf(node);
}

// Watches for pop-up menus of this thread while it lives, counts them and closes each at once.
class MenuWatcher {
public:
    MenuWatcher() : timer_(SetTimer(nullptr, 0, 40, &Tick)) { active_ = this; }
    ~MenuWatcher()
    {
        KillTimer(nullptr, timer_);
        active_ = nullptr;
    }
    MenuWatcher(const MenuWatcher&) = delete;
    MenuWatcher& operator=(const MenuWatcher&) = delete;

    int Shown() const { return shown_; }
    // Entries of the last menu seen.
    int Entries() const { return entries_; }

private:
    static BOOL CALLBACK FindMenu(HWND window, LPARAM found) noexcept
    {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (IsWindowVisible(window) && std::string(name) == "#32768") {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept
    {
        HWND menu = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &FindMenu, reinterpret_cast<LPARAM>(&menu));
        if (!menu || !active_)
            return;
        ++active_->shown_;
        active_->entries_ = GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)));
        EndMenu();
    }

    static inline MenuWatcher* active_ = nullptr;
    UINT_PTR timer_;
    int shown_ = 0;
    int entries_ = 0;
};

// Counts the messages that other threads send to the application window (the change
// watcher's reports) while it lives.
class SentCallCounter {
public:
    SentCallCounter() : hook_(SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId()))
    {
        target_ = ApplicationWindow();
        count_ = 0;
    }
    SentCallCounter(const SentCallCounter&) = delete;
    SentCallCounter& operator=(const SentCallCounter&) = delete;
    int Count() const { return count_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM fromThisThread, LPARAM lParam) noexcept
    {
        if (code == HC_ACTION && !fromThisThread && reinterpret_cast<CWPSTRUCT*>(lParam)->hwnd == target_)
            ++count_;
        return CallNextHookEx(nullptr, code, fromThisThread, lParam);
    }

    static inline HWND target_ = nullptr;
    static inline int count_ = 0;
    ScopedHook hook_;
};

// The process's current folder is put back whatever a test does to it.
class CurrentFolderKept {
public:
    CurrentFolderKept() { GetCurrentDirectoryA(MAX_PATH, folder_); }
    ~CurrentFolderKept() { SetCurrentDirectoryA(folder_); }
    CurrentFolderKept(const CurrentFolderKept&) = delete;
    CurrentFolderKept& operator=(const CurrentFolderKept&) = delete;
    std::string Kept() const { return folder_; }

private:
    char folder_[MAX_PATH] = {};
};

std::string CurrentFolder()
{
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

// Makes folders named base0, base1, ... a little apart until the condition holds (a watcher
// may begin to watch a moment later than it was asked to); false when it never does.
bool KeepMaking(TempDir& temp, const std::string& base, const std::function<bool()>& condition)
{
    for (int i = 0; i < 40; ++i) {
        temp.MakeDir(base + std::to_string(i));
        for (int wait = 0; wait < 10; ++wait) {
            PumpMessages();
            if (condition())
                return true;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 25, QS_ALLINPUT);
        }
    }
    return false;
}

void TypeInEditor(TTreeView& tree, TTreeNode& node, const std::string& text)
{
    ASSERT_TRUE(node.EditText());
    const auto editor = reinterpret_cast<HWND>(SendMessageA(tree.Handle(), TVM_GETEDITCONTROL, 0, 0));
    SetWindowTextA(editor, text.c_str());
    node.EndEdit(false);
}
} // namespace

TEST_F(ShellTreeTest, ARightClickSelectsAndTheWindowsEmptyMenuKeepsTheShellMenuAway)
{
    ShowTreeOver({"a", "b"});
    TTreeNode* root = tree.Items().GetFirstNode();
    TPopupMenu empty; // as the main window gives the tree
    bool asked = false;
    empty.OnPopup = [&](TPopupMenu&) { asked = true; };
    tree.SetPopupMenu(&empty);
    MenuWatcher menus;

    RightClick(tree, *ChildNamed(root, "b"));
    EXPECT_EQ(tree.SelectedPath(), PathOf("tree\\b"));
    EXPECT_TRUE(asked);
    EXPECT_EQ(menus.Shown(), 0);

    // Without a menu of the tree's own, the shell's context menu comes up for the node.
    tree.SetPopupMenu(nullptr);
    RightClick(tree, *ChildNamed(root, "a"));
    EXPECT_EQ(tree.SelectedPath(), PathOf("tree\\a"));
    EXPECT_EQ(menus.Shown(), 1);
    EXPECT_GT(menus.Entries(), 0);

    tree.SetAutoContextMenus(false);
    RightClick(tree, *ChildNamed(root, "b"));
    EXPECT_EQ(menus.Shown(), 1);
    EXPECT_EQ(errors, Texts{});
}

TEST_F(ShellTreeTest, InPlaceRenamesGoThroughTheShell)
{
    ShowTreeOver({"a\\inner", "taken"});
    TTreeNode* root = tree.Items().GetFirstNode();
    TTreeNode* a = ChildNamed(root, "a");
    a->Expand(false);

    // Refused by the shell: the folder and the node keep their names.
    TypeInEditor(tree, *a, "taken");
    EXPECT_EQ(a->Text(), "a");
    EXPECT_TRUE(IsExistingFolder(PathOf("tree\\a")));
    PumpMessages(); // told once the control's notice is answered
    EXPECT_EQ(errors, Texts{"Rename to taken failed"});

    // Accepted: what lies below is found under the new name.
    TypeInEditor(tree, *a, "renamed");
    EXPECT_EQ(a->Text(), "renamed");
    EXPECT_TRUE(IsExistingFolder(PathOf("tree\\renamed\\inner")));
    EXPECT_EQ(ItemOf(a)->ParsingName(), PathOf("tree\\renamed"));
    EXPECT_TRUE(a->Expanded());
    TTreeNode* inner = ChildNamed(a, "inner");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(ItemOf(inner)->ParsingName(), PathOf("tree\\renamed\\inner"));
    temp.MakeDir("tree\\renamed\\inner\\deeper");
    inner->Expand(false);
    EXPECT_EQ(ChildTexts(tree, inner), Texts{"deeper"}) << "the new folder object lists the new folder";
    EXPECT_EQ(errors.size(), 1u);

    // The main window's editing handler refuses every edit.
    tree.OnEditing = [](TObject*, TTreeNode*, bool& allow) { allow = false; };
    EXPECT_FALSE(a->EditText());
}

TEST_F(ShellTreeTest, VerbsTheTreeTakesPartIn)
{
    ShowTreeOver({"a\\a1", "b", "c"});
    TTreeNode* root = tree.Items().GetFirstNode();
    CurrentFolderKept kept;

    // "open" runs in the folder that holds the item; the folder goes back afterwards, also when
    // the verb failed.
    ChildNamed(root, "b")->SetSelected(true);
    bool handled = false;
    tree.BeforeVerb("open", handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(lstrcmpiA(CurrentFolder().c_str(), PathOf("tree").c_str()), 0) << CurrentFolder();
    tree.AfterVerb("open", false);
    EXPECT_EQ(CurrentFolder(), kept.Kept());

    // "rename" is the tree's own: the node goes into its editor.
    tree.BeforeVerb("Rename", handled);
    EXPECT_TRUE(handled);
    EXPECT_TRUE(tree.IsEditing());
    ChildNamed(root, "b")->EndEdit(true);

    // "delete" drops the node once its folder is gone, and only then.
    tree.AfterVerb("delete", true);
    EXPECT_NE(ChildNamed(root, "b"), nullptr);
    RemoveTree(temp.Path() + "tree\\b");
    tree.AfterVerb("delete", false);
    EXPECT_NE(ChildNamed(root, "b"), nullptr) << "the verb failed";
    tree.AfterVerb("delete", true);
    EXPECT_EQ(ChildNamed(root, "b"), nullptr);

    // "paste" reads the selected node again.
    ChildNamed(root, "a")->SetSelected(true);
    ChildNamed(root, "a")->Expand(false);
    temp.MakeDir("tree\\a\\pasted");
    tree.AfterVerb("paste", true);
    EXPECT_EQ(ChildTexts(tree, tree.Selected()), (Texts{"a1", "pasted"}));
    EXPECT_EQ(errors, Texts{});
}

TEST_F(ShellTreeTest, TheWatcherRunsOnlyWithAutoRefreshAndFollowsTheSelection)
{
    {
        TShellTreeView unused;
        ASSERT_NE(unused.ChangeWatcher(), nullptr);
        EXPECT_FALSE(unused.ChangeWatcher()->Watching()) << "no handler, no thread";
    }
    ShowTreeOver({"a", "b"});
    EXPECT_EQ(tree.ChangeWatcher(), nullptr) << "the first selection dropped it";
    tree.SetAutoRefresh(false);
    EXPECT_EQ(tree.ChangeWatcher(), nullptr);

    TTreeNode* root = tree.Items().GetFirstNode();
    tree.SetAutoRefresh(true);
    ASSERT_NE(tree.ChangeWatcher(), nullptr);
    EXPECT_EQ(tree.ChangeWatcher()->Root(), PathOf("tree"));
    ChildNamed(root, "a")->SetSelected(true);
    ASSERT_NE(tree.ChangeWatcher(), nullptr);
    EXPECT_EQ(tree.ChangeWatcher()->Root(), PathOf("tree\\a"));
    EXPECT_FALSE(tree.ChangeWatcher()->WatchSubTree());
    EXPECT_TRUE(tree.ChangeWatcher()->Watching());

    // The worker starts watching a moment after it is made: folders come until one is seen.
    EXPECT_TRUE(KeepMaking(temp, "tree\\a\\new", [&] { return tree.Selected() && tree.Selected()->Count() > 0; }));
    EXPECT_EQ(tree.SelectedPath(), PathOf("tree\\a"));
    EXPECT_EQ(ChildTexts(tree, tree.Selected()).at(0).rfind("new", 0), 0u);

    EXPECT_EQ(errors, Texts{});

    // The watcher waits for its own report to come back: replacing it from inside that report
    // is refused instead of waiting for ever, and the watcher goes on.
    TShellChangeNotifier* watcher = tree.ChangeWatcher();
    tree.OnAddFolder = [&](TObject*, TShellFolder*, bool&) { tree.SetAutoRefresh(false); };
    EXPECT_TRUE(KeepMaking(temp, "tree\\a\\more", [&] { return !errors.empty(); }));
    EXPECT_EQ(errors.at(0), "The change watcher cannot be replaced while it reports a change");
    EXPECT_EQ(tree.ChangeWatcher(), watcher);
    tree.OnAddFolder = nullptr;

    tree.SetAutoRefresh(false);
    EXPECT_EQ(tree.ChangeWatcher(), nullptr);
}

TEST_F(ShellTreeTest, AWatcherThatCannotMoveLeavesTheSelectionFreeAndIsTold)
{
    ShowTreeOver({"a", "b"});
    TTreeNode* root = tree.Items().GetFirstNode();
    tree.SetAutoRefresh(true);
    // The first allocation after the handler is the moved watcher's.
    std::optional<FailingAllocation> failing;
    tree.OnChanging = [&](TObject*, TTreeNode*, bool&) { failing.emplace(0); };
    ChildNamed(root, "a")->SetSelected(true);
    ASSERT_TRUE(failing && failing->Failed());
    failing.reset();
    tree.OnChanging = nullptr;
    EXPECT_EQ(tree.SelectedPath(), PathOf("tree\\a"));
    EXPECT_EQ(tree.ChangeWatcher(), nullptr);
    EXPECT_TRUE(tree.AutoRefresh()) << "still asked for";
    PumpMessages();
    EXPECT_EQ(errors, Texts{"std::bad_alloc"});

    // The next selection takes the watcher with it.
    ChildNamed(root, "b")->SetSelected(true);
    EXPECT_EQ(tree.SelectedPath(), PathOf("tree\\b"));
    ASSERT_NE(tree.ChangeWatcher(), nullptr);
    EXPECT_EQ(tree.ChangeWatcher()->Root(), PathOf("tree\\b"));
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(ShellTreeTest, AChangeReportWhileANodeExpandsRebuildsOnlyAfterTheExpansion)
{
    ShowTreeOver({"a\\a1\\deep", "b"});
    tree.SetAutoRefresh(true);
    ChildNamed(tree.Items().GetFirstNode(), "a")->SetSelected(true);
    // Once a report has rebuilt the selected node, the watcher is known to watch.
    EXPECT_TRUE(KeepMaking(temp, "tree\\a\\new", [&] { return tree.Selected() && tree.Selected()->Count() > 1; }));
    TTreeNode* a1 = ChildNamed(tree.Selected(), "a1");
    ASSERT_NE(a1, nullptr);
    const HTREEITEM a1Item = a1->ItemId();

    // The handler dispatches what other threads send meanwhile, as the shell may while it is
    // asked for a folder's contents, until a change report has come.
    SentCallCounter sent;
    int reportsDuringExpansion = 0;
    tree.OnExpanding = [&](TObject*, TTreeNode*, bool&) {
        temp.MakeDir("tree\\a\\during");
        const int before = sent.Count();
        for (const DWORD start = GetTickCount(); sent.Count() == before && GetTickCount() - start < 5000;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_SENDMESSAGE);
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        reportsDuringExpansion = sent.Count() - before;
    };
    SendMessageA(tree.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a1Item));
    tree.OnExpanding = nullptr;
    ASSERT_GT(reportsDuringExpansion, 0);
    ASSERT_EQ(tree.Items().GetNode(a1Item), a1) << "the node being expanded is still there";
    EXPECT_TRUE(a1->Expanded());
    EXPECT_EQ(ChildTexts(tree, a1), Texts{"deep"});

    // Then the report's rebuild comes.
    EXPECT_TRUE(PumpUntil([&] { return ChildNamed(tree.Selected(), "during") != nullptr; }));
    EXPECT_EQ(tree.SelectedPath(), PathOf("tree\\a"));
    EXPECT_TRUE(ChildNamed(tree.Selected(), "a1")->Expanded()) << "expanded again by the rebuild";
    EXPECT_EQ(errors, Texts{});
}

TEST(ShellChangeNotifier, WatchesItsFolderWhileItHasAHandler)
{
    TShellModule module;
    TempDir temp;
    temp.MakeDir("one");
    temp.MakeDir("two");
    TShellChangeNotifier watcher;
    watcher.SetRoot(temp.Path() + "one");
    watcher.SetWatchSubTree(false);
    EXPECT_FALSE(watcher.Watching());
    int changes = 0;
    watcher.SetOnChange([&] { ++changes; });
    EXPECT_TRUE(watcher.Watching());
    EXPECT_TRUE(KeepMaking(temp, "one\\x", [&] { return changes > 0; }));

    // A new folder to watch is taken while the worker runs; its notices come from there.
    watcher.SetRoot(temp.Path() + "two");
    changes = 0;
    EXPECT_TRUE(KeepMaking(temp, "two\\y", [&] { return changes > 0; }));

    watcher.SetOnChange({});
    EXPECT_FALSE(watcher.Watching());
}

TEST_F(ShellTreeTest, ScreenshotOfAnExpandedTree)
{
    ShowTreeOver({"Documents\\Letters", "Documents\\Invoices\\2023", "Documents\\Invoices\\2024", "Music",
                  "Pictures\\Holidays", "Pictures\\Family", "Projects\\Quorrel", "Projects\\Website"});
    tree.SetHideSelection(false);
    tree.SetIndent(19);
    tree.SelectPath(PathOf("tree\\Documents\\Invoices\\2024"));
    ChildNamed(tree.Items().GetFirstNode(), "Pictures")->Expand(false);
    UpdateWindow(form.Handle());
    PumpMessages();
    ASSERT_EQ(tree.SelectedPath(), PathOf("tree\\Documents\\Invoices\\2024"));
    const auto [image, selected] = ShownIcons(tree, *tree.Selected());
    EXPECT_GE(image, 0);
    EXPECT_GE(selected, 0);

    const std::string folder = ScreenshotFolder();
    if (folder.empty())
        GTEST_SKIP() << "QUORREL_SCREENSHOTS names no folder";
    EXPECT_TRUE(SaveWindowPng(form.Handle(), folder + "tree.png"));
    EXPECT_TRUE(IsExistingFile(folder + "tree.png"));
}
