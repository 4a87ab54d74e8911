// The life of the shell item model, and whole scenarios counted through the task allocator: every
// list made on the way is given back, also when an error breaks off an operation.
#include "shelltree/RootFolder.h"
#include "shelltree/ShellNamespace.h"
#include "shelltree/ShellTestSupport.h"

#include <objbase.h>

namespace {
// True when OLE is initialised on this thread already (the probe leaves it as it was).
bool OleRunning()
{
    const HRESULT status = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(status))
        CoUninitialize();
    return status == S_FALSE;
}

// Everything an item of the tree goes through, on temporary folders, with two errors on the way.
void ItemScenario()
{
    TShellModule module;
    TempDir temp;
    temp.MakeDir("tree\\a\\b");
    temp.MakeDir("tree\\taken");
    std::string rootText = temp.Path() + "tree";
    std::unique_ptr<TShellFolder> root;
    OpenRootLocation(root, "rfDesktop", rootText);
    std::string bad = temp.Path() + "missing";
    EXPECT_THROW(OpenRootLocation(root, "rfDesktop", bad), EInvalidPath);

    auto a = ChildItem(*root, "a");
    auto b = ChildItem(*a, "b");
    for (TShellFolder* item : {root.get(), a.get(), b.get()}) {
        item->NameInFolder();
        item->ParsingName();
        item->IsContainer();
        item->HasChildFolders();
        item->ItemFlags();
        item->ShellIconIndex(false, true);
    }
    EXPECT_EQ(AncestorIdLists(b->IdFromDesktop()).size(), ItemIdCount(b->IdFromDesktop()));
    EXPECT_TRUE(SameIdList(b->IdFromDesktop(), Pidl(ParsedIdList(temp.Path() + "tree\\a\\b"))));
    EXPECT_TRUE(b->RenameTo("c"));
    EXPECT_THROW(a->RenameTo("taken"), Exception);
    std::string computer = "rfMyComputer";
    OpenRootLocation(root, rootText, computer);
    root->NameInFolder();
}
} // namespace

TEST(ShellModule, MakesTheDesktopItemWithOleAndEndsBoth)
{
    EXPECT_EQ(DesktopItem(), nullptr);
    EXPECT_THROW(ShellTreeLock(), Exception);
    EXPECT_FALSE(OleRunning());
    {
        TShellModule module;
        TShellFolder* desktop = DesktopItem();
        ASSERT_NE(desktop, nullptr);
        EXPECT_TRUE(OleRunning());
        EXPECT_TRUE(ShellTreeLock().try_lock());
        ShellTreeLock().unlock();
        try {
            TShellModule second;
            ADD_FAILURE() << "a second module was made";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "The shell item model is running already");
        }
        EXPECT_EQ(DesktopItem(), desktop) << "the failed second one leaves the first alone";
        EXPECT_TRUE(OleRunning());
    }
    EXPECT_EQ(DesktopItem(), nullptr);
    EXPECT_FALSE(OleRunning()) << "OLE is uninitialised as often as it was initialised";
}

TEST(ShellModule, WholeScenariosGiveBackEveryList)
{
    ExpectEveryListGivenBack(ItemScenario);
}

TEST_F(ShellItemTest, ListsGoBackWhenMemoryRunsOutHalfway)
{
    temp.MakeDir("x\\y\\z");
    const auto root = RootItemFromIdList(Pidl(ParsedIdList(temp.Path() + "x")));
    const IdList y = ParsedChildIdList(root->FolderObject(), "y");
    const IdList deep = ParsedIdList(temp.Path() + "x\\y\\z");

    TaskAllocationCounter counter;
    // An item gets two lists: the second one fails.
    counter.FailFrom(1);
    EXPECT_THROW(TShellFolder(root.get(), {}, Pidl(y)), std::bad_alloc);
    // The ancestors of a list of several entries: the last copy fails.
    counter.FailFrom(ItemIdCount(deep.get()) - 1);
    EXPECT_THROW(AncestorIdLists(Pidl(deep)), std::bad_alloc);
    counter.StopFailing();
    EXPECT_EQ(counter.Live(), 0u);

    EXPECT_EQ(counter.Live(), 0u);
}

TEST_F(ShellItemTest, RenameWhoseNewListsCannotBeMadeKeepsItsItemWhole)
{
    const auto root = RootItemFromIdList(Pidl(ParsedIdList(temp.Path())));
    // A rename asks the shell first (whose own allocations must not fail: it does not survive
    // that) and then makes the item's three new lists, which come last.
    temp.MakeDir("probe");
    std::size_t shellPart = 0;
    {
        auto probe = ChildItem(*root, "probe");
        TaskAllocationCounter counter;
        ASSERT_TRUE(probe->RenameTo("probed"));
        ASSERT_GE(counter.Made(), 3u);
        shellPart = counter.Made() - 3;
    }
    for (std::size_t ours = 0; ours < 3; ++ours) {
        const std::string name = "r" + std::to_string(ours);
        temp.MakeDir(name);
        auto item = ChildItem(*root, name);
        const IdList before = CopyIdList(item->IdFromDesktop());
        TaskAllocationCounter counter;
        counter.FailFrom(shellPart + ours);
        EXPECT_THROW(item->RenameTo("probe" + std::to_string(ours)), std::bad_alloc) << ours;
        counter.StopFailing();
        EXPECT_TRUE(ILIsEqual(item->IdFromDesktop(), Pidl(before))) << ours;
        EXPECT_EQ(counter.Live(), 0u) << ours;
    }
}
