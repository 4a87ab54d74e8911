// Root texts: the named roots in any letter case, paths, bare drives and texts that name nothing.
#include "shelltree/RootFolder.h"
#include "shelltree/ShellNamespace.h"
#include "shelltree/ShellTestSupport.h"

namespace {
IdList SpecialFolder(int csidl)
{
    IdList list;
    EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, csidl, ReceiveIdList(list)), S_OK) << csidl;
    return list;
}

class RootFolderTest : public ShellItemTest {
protected:
    // Opens the text and expects it to fail with the message for the text shown.
    void ExpectRefused(std::string text, const std::string& shown)
    {
        std::unique_ptr<TShellFolder> root = RootItemFromIdList(Pidl(DesktopLocation()));
        TShellFolder* const kept = root.get();
        ExpectPathRefused([&] { OpenRootLocation(root, "rfDesktop", text); }, shown);
        EXPECT_EQ(text, "rfDesktop") << "the root text goes back to the previous one";
        EXPECT_EQ(root.get(), kept) << "the current root item stays";
    }
};
} // namespace

TEST_F(RootFolderTest, EveryNamedRootIsItsSpecialFolder)
{
    for (int i = 0; i < kRootFolderCount; ++i) {
        const auto root = static_cast<TRootFolder>(i);
        std::string text(RootFolderName(root));
        ASSERT_EQ(RootFolderOf(text), root);
        std::unique_ptr<TShellFolder> item;
        OpenRootLocation(item, "rfDesktop", text);
        ASSERT_NE(item, nullptr) << text;
        EXPECT_EQ(text, RootFolderName(root));
        EXPECT_TRUE(SameIdList(item->IdFromDesktop(), Pidl(SpecialFolder(RootFolderCsidl(root))))) << text;
        EXPECT_EQ(item->ParentItem(), DesktopItem());
        EXPECT_NE(item->FolderObject(), nullptr) << text;
    }
    EXPECT_EQ(RootFolderCsidl(rfMyComputer), CSIDL_DRIVES);
    EXPECT_EQ(RootFolderCsidl(rfTemplates), CSIDL_TEMPLATES);
}

TEST_F(RootFolderTest, NamesInAnyLetterCase)
{
    const IdList computer = SpecialFolder(CSIDL_DRIVES);
    for (const char* name : {"rfmycomputer", "RFMYCOMPUTER", "Rfmycomputer"}) {
        std::string text = name;
        std::unique_ptr<TShellFolder> item;
        OpenRootLocation(item, "rfDesktop", text);
        EXPECT_TRUE(SameIdList(item->IdFromDesktop(), Pidl(computer))) << name;
        EXPECT_EQ(text, name) << "the text keeps its own spelling";
    }
    EXPECT_FALSE(RootFolderOf("rfMyComputer "));
    EXPECT_FALSE(RootFolderOf("MyComputer"));
}

TEST_F(RootFolderTest, PathsAndBareDrives)
{
    const std::string folder = WithoutBackslash(temp.MakeDir("rooted"));
    std::string text = folder;
    std::unique_ptr<TShellFolder> item = RootItemFromIdList(Pidl(DesktopLocation()));
    OpenRootLocation(item, "rfDesktop", text);
    EXPECT_EQ(text, folder);
    EXPECT_EQ(item->ParsingName(), folder);
    EXPECT_TRUE(item->IsContainer());

    std::string drive = "C:";
    OpenRootLocation(item, folder, drive);
    EXPECT_EQ(drive, "C:\\");
    EXPECT_EQ(item->ParsingName(), "C:\\");
    EXPECT_TRUE(SameIdList(item->IdFromDesktop(), Pidl(ParsedIdList("C:\\"))));
}

TEST_F(RootFolderTest, TextsThatNameNothingAreRefused)
{
    ExpectRefused("", "");
    ExpectRefused(temp.Path() + "missing", temp.Path() + "missing");
    // The message shows the text as it was tried, backslash and all.
    ExpectRefused(temp.Path() + "no:", temp.Path() + "no:\\");
}

TEST_F(RootFolderTest, RootOfAFileTakesTheDesktopsFolderObject)
{
    const std::string file = temp.WriteFile("plain.txt", "x");
    const std::unique_ptr<TShellFolder> item = RootItemFromIdList(Pidl(ParsedIdList(file)));
    ASSERT_NE(item->FolderObject(), nullptr);
    EXPECT_EQ(item->ParsingName(), file);
}
