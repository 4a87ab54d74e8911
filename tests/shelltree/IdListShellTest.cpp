// The identifier-list operations on real lists of temporary folders and virtual places, with the
// shell's own list functions as the judge.
#include "shelltree/ShellNamespace.h"
#include "shelltree/ShellTestSupport.h"

#include <cstring>
#include <vector>

namespace {
// The bytes of a list, as long as the shell measures it.
std::vector<unsigned char> ShellBytes(LPCITEMIDLIST list)
{
    const auto* p = reinterpret_cast<const unsigned char*>(list);
    return std::vector<unsigned char>(p, p + ILGetSize(list));
}

class IdListAgainstShell : public ShellItemTest {
protected:
    IdListAgainstShell()
    {
        temp.MakeDir("a\\b\\c");
        lists.push_back(DesktopLocation());
        SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, ReceiveIdList(lists.emplace_back()));
        lists.push_back(ParsedIdList("C:\\"));
        lists.push_back(ParsedIdList(temp.Path()));
        lists.push_back(ParsedIdList(temp.Path() + "a"));
        lists.push_back(ParsedIdList(temp.Path() + "a\\b\\c"));
        for (const IdList& l : lists)
            EXPECT_TRUE(l);
    }
    // The shell's own copy, to be taken apart by its own functions.
    static IdList ShellClone(LPCITEMIDLIST list) { return AdoptIdList(ILClone(list)); }

    std::vector<IdList> lists;
};
} // namespace

TEST_F(IdListAgainstShell, SizesCountsAndCopies)
{
    EXPECT_EQ(IdListSize(nullptr), ILGetSize(nullptr));
    EXPECT_EQ(IdListSize(Pidl(lists[0])), 2u) << "the desktop is the empty list";
    for (const IdList& l : lists) {
        EXPECT_EQ(IdListSize(l.get()), ILGetSize(Pidl(l)));
        // The shell's count: how often the last entry can be removed.
        IdList clone = ShellClone(Pidl(l));
        std::size_t count = 0;
        while (ILRemoveLastID(Pidl(clone)))
            ++count;
        EXPECT_EQ(ItemIdCount(l.get()), count);

        const IdList copy = CopyIdList(Pidl(l));
        ASSERT_TRUE(copy);
        EXPECT_NE(copy.get(), l.get());
        EXPECT_EQ(ShellBytes(Pidl(copy)), ShellBytes(Pidl(l)));
        EXPECT_TRUE(ILIsEqual(Pidl(copy), Pidl(l)));
    }
    EXPECT_FALSE(CopyIdList(nullptr));
}

TEST_F(IdListAgainstShell, JoinIsTheShellsCombination)
{
    const IdList& a = lists[4];
    ComPtr<IShellFolder> folderA = BindChildFolder(DesktopFolderObject().get(), Pidl(a), nullptr);
    ASSERT_TRUE(folderA);
    const IdList b = ParsedChildIdList(folderA.get(), "b");
    const IdList bc = ParsedChildIdList(folderA.get(), "b\\c");
    ASSERT_EQ(ItemIdCount(bc.get()), 2u);

    for (const IdList* tail : {&b, &bc, static_cast<const IdList*>(&lists[0])}) {
        const IdList joined = JoinIdLists(Pidl(a), Pidl(*tail));
        const IdList combined = AdoptIdList(ILCombine(Pidl(a), Pidl(*tail)));
        EXPECT_EQ(ShellBytes(Pidl(joined)), ShellBytes(Pidl(combined)));
    }
    EXPECT_TRUE(ILIsEqual(Pidl(JoinIdLists(Pidl(a), Pidl(bc))), Pidl(lists[5])));
    // A null or empty side: the other list alone, as the shell combines it.
    EXPECT_EQ(ShellBytes(Pidl(JoinIdLists(nullptr, Pidl(b)))), ShellBytes(Pidl(b)));
    EXPECT_EQ(ShellBytes(Pidl(JoinIdLists(Pidl(lists[0]), Pidl(b)))), ShellBytes(Pidl(b)));
    EXPECT_EQ(ShellBytes(Pidl(JoinIdLists(Pidl(a), nullptr))),
              ShellBytes(Pidl(AdoptIdList(ILCombine(Pidl(a), nullptr)))));
}

TEST_F(IdListAgainstShell, DropLastAndLastEntryAsTheShellDoes)
{
    for (const IdList& l : lists) {
        const IdList last = LastItemIdOf(Pidl(l));
        EXPECT_EQ(ShellBytes(Pidl(last)), ShellBytes(ILFindLastID(Pidl(l))));

        IdList ours = CopyIdList(Pidl(l));
        IdList theirs = ShellClone(Pidl(l));
        for (;;) {
            DropLastItemId(ours.get());
            const bool more = ILRemoveLastID(Pidl(theirs));
            EXPECT_EQ(ShellBytes(Pidl(ours)), ShellBytes(Pidl(theirs)));
            if (!more)
                break;
        }
        EXPECT_EQ(IdListSize(ours.get()), 2u);
    }
}

TEST_F(IdListAgainstShell, AncestorsAreTheShellsParentsDesktopFirst)
{
    const IdList& deep = lists[5];
    const IdList before = CopyIdList(Pidl(deep));
    const std::vector<IdList> ancestors = AncestorIdLists(Pidl(deep));
    ASSERT_EQ(ancestors.size(), ItemIdCount(deep.get()));
    EXPECT_EQ(IdListSize(ancestors.front().get()), 2u);
    EXPECT_TRUE(SameIdList(Pidl(ancestors.back()), Pidl(ParsedIdList(temp.Path() + "a\\b"))));
    // Each one is the shell's parent of the one after it.
    for (std::size_t i = 0; i + 1 < ancestors.size(); ++i) {
        IdList parent = ShellClone(Pidl(ancestors[i + 1]));
        ILRemoveLastID(Pidl(parent));
        EXPECT_TRUE(ILIsEqual(Pidl(parent), Pidl(ancestors[i]))) << i;
    }
    EXPECT_EQ(ShellBytes(Pidl(deep)), ShellBytes(Pidl(before)));
    EXPECT_TRUE(AncestorIdLists(Pidl(lists[0])).empty());
}

TEST_F(IdListAgainstShell, SameIdListAgreesWithTheShell)
{
    for (const IdList& x : lists)
        for (const IdList& y : lists)
            EXPECT_EQ(SameIdList(Pidl(x), Pidl(y)), ILIsEqual(Pidl(x), Pidl(y)) != FALSE);
    EXPECT_TRUE(SameIdList(Pidl(lists[5]), Pidl(ParsedIdList(temp.Path() + "a\\b\\c"))));
}
