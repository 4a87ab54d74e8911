// Shell items of temporary folders and files: lists, names, paths, attributes, icons, renaming.
#include "shelltree/RootFolder.h"
#include "shelltree/ShellNamespace.h"
#include "shelltree/ShellTestSupport.h"

#include <shellapi.h>

namespace {
bool FolderExists(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

int PathIconIndex(const std::string& path, UINT extra)
{
    SHFILEINFOA info{};
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | extra);
    return info.iIcon;
}

// The item's lists keep the rule: the parent's list followed by the item's own.
void ExpectJoinedLists(const TShellFolder& item)
{
    ASSERT_NE(item.ParentItem(), nullptr);
    const IdList combined = AdoptIdList(ILCombine(item.ParentItem()->IdFromDesktop(), item.IdInParent()));
    EXPECT_TRUE(ILIsEqual(combined.get() ? Pidl(combined) : nullptr, item.IdFromDesktop()));
}

class ShellFolderTest : public ShellItemTest {
protected:
    ShellFolderTest()
    {
        temp.MakeDir("top\\with\\below");
        temp.MakeDir("top\\leaf");
        temp.WriteFile("top\\note.txt", "text");
        top = RootItemFromIdList(Pidl(ParsedIdList(temp.Path() + "top")));
    }
    std::unique_ptr<TShellFolder> top;
};
} // namespace

TEST_F(ShellFolderTest, DesktopItemIsTheEmptyListWithoutParent)
{
    TShellFolder* desktop = DesktopItem();
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(desktop->ParentItem(), nullptr);
    EXPECT_EQ(IdListSize(desktop->IdFromDesktop()), 2u);
    EXPECT_EQ(IdListSize(desktop->IdInParent()), 2u);
    EXPECT_NE(desktop->FolderObject(), nullptr);
    EXPECT_TRUE(desktop->IsContainer());
    EXPECT_FALSE(desktop->RenameTo("Elsewhere")) << "the desktop cannot be renamed";
}

TEST_F(ShellFolderTest, ItemsCopyTheirListsAndHangBelowTheirParent)
{
    EXPECT_EQ(top->ParentItem(), DesktopItem());
    EXPECT_TRUE(ILIsEqual(top->IdFromDesktop(), top->IdInParent()));

    const IdList list = ParsedChildIdList(top->FolderObject(), "leaf");
    {
        TShellFolder leaf(top.get(), {}, Pidl(list));
        EXPECT_EQ(leaf.ParentItem(), top.get());
        EXPECT_NE(leaf.IdInParent(), Pidl(list));
        EXPECT_TRUE(ILIsEqual(leaf.IdInParent(), Pidl(list)));
        ExpectJoinedLists(leaf);
        EXPECT_TRUE(SameIdList(leaf.IdFromDesktop(), Pidl(ParsedIdList(temp.Path() + "top\\leaf"))));
    }
    // The caller's list outlives the item unharmed.
    EXPECT_EQ(ILGetSize(Pidl(list)), IdListSize(list.get()));
    EXPECT_THROW(TShellFolder(top.get(), {}, nullptr), Exception);
}

TEST_F(ShellFolderTest, NamesAndPaths)
{
    const auto with = ChildItem(*top, "with");
    const auto below = ChildItem(*with, "below");
    const auto note = ChildItem(*top, "note.txt");
    EXPECT_EQ(top->ParsingName(), temp.Path() + "top");
    EXPECT_EQ(top->NameInFolder(), "top");
    EXPECT_EQ(with->NameInFolder(), "with");
    EXPECT_EQ(below->NameInFolder(), "below");
    EXPECT_EQ(below->ParsingName(), temp.Path() + "top\\with\\below");
    EXPECT_EQ(note->ParsingName(), temp.Path() + "top\\note.txt");
    ExpectJoinedLists(*below);
}

TEST_F(ShellFolderTest, AttributesOfFoldersAndFiles)
{
    const auto with = ChildItem(*top, "with");
    const auto leaf = ChildItem(*top, "leaf");
    const auto note = ChildItem(*top, "note.txt");
    EXPECT_TRUE(with->IsContainer());
    EXPECT_TRUE(with->HasChildFolders());
    EXPECT_TRUE(leaf->IsContainer());
    EXPECT_FALSE(note->IsContainer());
    EXPECT_FALSE(note->HasChildFolders());
    EXPECT_EQ(note->FolderObject(), nullptr) << "a file binds to no folder";
    EXPECT_NE(with->FolderObject(), nullptr);

    const TShellItemFlags flags = with->ItemFlags();
    EXPECT_TRUE(flags.Contains(ifFileSystem));
    EXPECT_TRUE(flags.Contains(ifFileSystemAncestor));
    EXPECT_FALSE(flags.Contains(ifLink));
    EXPECT_FALSE(flags.Contains(ifShared));
    const TShellItemAbilities abilities = with->ItemAbilities();
    for (TShellItemAbility a : {iaCopy, iaDelete, iaMove, iaRename})
        EXPECT_TRUE(abilities.Contains(a)) << static_cast<int>(a);
}

TEST_F(ShellFolderTest, ParentWithoutFolderObjectAnswersNothing)
{
    const auto note = ChildItem(*top, "note.txt");
    ASSERT_EQ(note->FolderObject(), nullptr);
    TShellFolder orphan(note.get(), {}, note->IdInParent());
    EXPECT_EQ(orphan.ParentFolderObject().get(), nullptr);
    EXPECT_EQ(orphan.NameInFolder(), "parentfolder = nil");
    EXPECT_TRUE(orphan.ItemFlags().Empty());
    EXPECT_TRUE(orphan.ItemAbilities().Empty());
    EXPECT_FALSE(orphan.IsContainer());
    EXPECT_FALSE(orphan.HasChildFolders());
    EXPECT_FALSE(orphan.RenameTo("other"));
}

TEST_F(ShellFolderTest, IconIndicesAreTheSystemListsOnes)
{
    const auto leaf = ChildItem(*top, "leaf");
    const std::string path = temp.Path() + "top\\leaf";
    EXPECT_EQ(leaf->ShellIconIndex(false, false), PathIconIndex(path, SHGFI_SMALLICON));
    EXPECT_EQ(leaf->ShellIconIndex(false, true), PathIconIndex(path, SHGFI_SMALLICON | SHGFI_OPENICON));
    EXPECT_EQ(leaf->ShellIconIndex(true, false), PathIconIndex(path, 0));
    const auto note = ChildItem(*top, "note.txt");
    EXPECT_GE(note->ShellIconIndex(false, false), 0);
}

TEST_F(ShellFolderTest, RenameMovesTheFolderAndTheItemsLists)
{
    auto leaf = ChildItem(*top, "leaf");
    ASSERT_TRUE(leaf->RenameTo("renamed"));
    EXPECT_FALSE(FolderExists(temp.Path() + "top\\leaf"));
    EXPECT_TRUE(FolderExists(temp.Path() + "top\\renamed"));
    EXPECT_EQ(leaf->NameInFolder(), "renamed");
    EXPECT_EQ(leaf->ParsingName(), temp.Path() + "top\\renamed");
    EXPECT_TRUE(SameIdList(leaf->IdFromDesktop(), Pidl(ParsedIdList(temp.Path() + "top\\renamed"))));
    ExpectJoinedLists(*leaf);
}

TEST_F(ShellFolderTest, RootItemsAreAskedOfTheFolderThatHoldsTheirLastEntry)
{
    // A root item keeps its whole absolute list as its list in the desktop.
    const std::string file = temp.Path() + "top\\note.txt";
    const auto note = RootItemFromIdList(Pidl(ParsedIdList(file)));
    ASSERT_GT(ItemIdCount(note->IdInParent()), 1u);
    EXPECT_FALSE(note->IsContainer());
    EXPECT_TRUE(top->IsContainer());
    EXPECT_TRUE(top->ItemFlags().Contains(ifFileSystem));

    ASSERT_TRUE(top->RenameTo("moved"));
    EXPECT_FALSE(FolderExists(temp.Path() + "top"));
    EXPECT_TRUE(FolderExists(temp.Path() + "moved\\with\\below"));
    EXPECT_EQ(top->ParsingName(), temp.Path() + "moved");
    EXPECT_TRUE(SameIdList(top->IdFromDesktop(), Pidl(ParsedIdList(temp.Path() + "moved"))));
    EXPECT_TRUE(ILIsEqual(top->IdInParent(), top->IdFromDesktop()));
}

TEST_F(ShellFolderTest, RefusedRenameRaisesAndKeepsTheLists)
{
    auto leaf = ChildItem(*top, "leaf");
    const IdList before = CopyIdList(leaf->IdFromDesktop());
    try {
        leaf->RenameTo("with");
        FAIL() << "a name that is taken must be refused";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Rename to with failed");
    }
    EXPECT_TRUE(ILIsEqual(leaf->IdFromDesktop(), Pidl(before)));
    EXPECT_EQ(leaf->ParsingName(), temp.Path() + "top\\leaf");
    EXPECT_TRUE(FolderExists(temp.Path() + "top\\leaf"));
    EXPECT_TRUE(FolderExists(temp.Path() + "top\\with\\below"));
}

TEST_F(ShellFolderTest, SiblingsSortAsTheirFolderSortsThem)
{
    temp.MakeDir("top\\Alpha");
    temp.MakeDir("top\\beta");
    const auto alpha = ChildItem(*top, "Alpha");
    const auto beta = ChildItem(*top, "beta");
    const auto with = ChildItem(*top, "with");
    const auto again = ChildItem(*top, "beta");
    EXPECT_LT(CompareSiblings(*alpha, *beta), 0);
    EXPECT_GT(CompareSiblings(*with, *beta), 0);
    EXPECT_EQ(CompareSiblings(*beta, *again), 0);

    const auto note = ChildItem(*top, "note.txt");
    TShellFolder orphan(note.get(), {}, note->IdInParent());
    EXPECT_EQ(CompareSiblings(orphan, orphan), 0) << "no folder to ask";
}
