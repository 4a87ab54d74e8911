// Shell items of temporary folders and files: lists, names, paths, attributes, icons, renaming.
#include "shelltree/RootFolder.h"
#include "shelltree/ShellNamespace.h"
#include "shelltree/ShellTestSupport.h"

#include "toolkit/core/PathText.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <vector>

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

// A shortcut to the target, saved at the path.
void SaveShortcut(const std::string& target, const std::string& path)
{
    ComPtr<IShellLinkA> link;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put_void()), S_OK);
    ASSERT_EQ(link->SetPath(target.c_str()), S_OK);
    ComPtr<IPersistFile> file;
    ASSERT_EQ(link->QueryInterface(IID_IPersistFile, file.put_void()), S_OK);
    ASSERT_EQ(file->Save(AnsiToWide(path).c_str(), TRUE), S_OK);
}

// A folder with a settings file, marked as the shell wants it to be read.
void MakeCustomFolder(const TempDir& temp, const std::string& relative, const std::string& settings)
{
    const std::string folder = temp.MakeDir(relative);
    temp.WriteFile(relative + "\\DeskTop.Ini", "[.ShellClassInfo]\r\n" + settings + "\r\n");
    ASSERT_TRUE(SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_SYSTEM)) << folder;
}

// Items for everything a folder object lists, hanging below the parent item.
std::vector<std::unique_ptr<TShellFolder>> ListedItems(TShellFolder& parent)
{
    std::vector<std::unique_ptr<TShellFolder>> items;
    ComPtr<IEnumIDList> entries;
    if (FAILED(parent.FolderObject()->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, entries.put())) ||
        !entries)
        return items;
    for (IdList entry; NextEntry(*entries.get(), entry);)
        items.push_back(std::make_unique<TShellFolder>(
            &parent, BindChildFolder(parent.FolderObject(), Pidl(entry), nullptr), Pidl(entry)));
    return items;
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

// The index is asked of the parent folder where it can be: for every kind of item it must be the
// one the shell gives for the item's absolute list.
TEST_F(ShellFolderTest, IconIndicesAreTheShellsForEveryKindOfItem)
{
    MakeCustomFolder(temp, "top\\own icon", "IconFile=shell32.dll\r\nIconIndex=12");
    MakeCustomFolder(temp, "top\\disguised", "CLSID={21EC2020-3AEA-1069-A2DD-08002B30309D}");
    SaveShortcut(temp.Path() + "top\\leaf", temp.Path() + "top\\leaf.lnk");
    std::vector<std::unique_ptr<TShellFolder>> items = ListedItems(*top);
    ASSERT_EQ(items.size(), 6u) << "with, leaf, own icon, disguised, note.txt and leaf.lnk";
    // The desktop's objects (My Computer among them), and the drives and virtual folders below
    // My Computer.
    std::vector<std::unique_ptr<TShellFolder>> desktop = ListedItems(*DesktopItem());
    const auto computer = RootItemFromIdList(Pidl(ParsedIdList("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}")));
    std::vector<std::unique_ptr<TShellFolder>> below = ListedItems(*computer);
    ASSERT_FALSE(below.empty());
    for (auto* more : {&desktop, &below})
        std::move(more->begin(), more->end(), std::back_inserter(items));

    std::map<std::string, int> closed;
    for (const auto& item : items) {
        const std::string name = item->ParsingName();
        for (const bool large : {false, true})
            for (const bool open : {false, true})
                EXPECT_EQ(item->ShellIconIndex(large, open), SystemIconIndex(item->IdFromDesktop(), large, open))
                    << name << (large ? " large" : " small") << (open ? " open" : " closed");
        closed[name] = SystemIconIndex(item->IdFromDesktop(), false, false);
        // Folders and objects are mapped by their parent, not by the slower way round.
        if (item->IsContainer()) {
            EXPECT_EQ(ChildIconIndex(*item->ParentFolderObject().get(), item->IdInParent()), closed[name]) << name;
        }
    }
    // The settings file is read: the folder that names its own icon does not show a plain
    // folder's (under Wine not the named one either, but the default icon). Wine draws a folder
    // disguised by a class identifier as a plain one, so that folder is only compared above.
    EXPECT_NE(closed.at(temp.Path() + "top\\own icon"), closed.at(temp.Path() + "top\\leaf"));
    EXPECT_TRUE(closed.contains("C:\\")) << "the drives are among them";
    EXPECT_EQ(DesktopItem()->ShellIconIndex(false, false), SystemIconIndex(DesktopItem()->IdFromDesktop(), false, false));
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
