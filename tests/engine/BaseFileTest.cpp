#include "engine/BaseFile.h"

#include "support/ShellNotifications.h"
#include "support/TempDir.h"
#include "toolkit/Scoped.h"

#include <gtest/gtest.h>

#include <algorithm>

using List = std::vector<std::string>;

TEST(Subfolders, PreOrderWithFullPathsAndDotFoldersLeftOut)
{
    TempDir dir;
    dir.MakeDir("A\\B\\C");
    dir.MakeDir("A\\.git\\objects");
    dir.MakeDir(".cache\\deep");
    dir.MakeDir("D");
    dir.WriteFile("A\\file.txt", "not a folder");
    const std::string hidden = dir.MakeDir("D\\Hidden");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

    const std::string p = dir.Path();
    const List list = TBaseFile().GetAllSubfolders(p);
    // Siblings come in the platform's order, so check the tree order relation, not one sequence.
    ASSERT_EQ(list.size(), 5u);
    List sorted = list;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (List{p + "A\\", p + "A\\B\\", p + "A\\B\\C\\", p + "D\\", p + "D\\Hidden\\"}));
    auto at = [&](const std::string& s) { return std::find(list.begin(), list.end(), p + s) - list.begin(); };
    EXPECT_EQ(at("A\\B\\"), at("A\\") + 1) << "a folder directly before its own subfolders";
    EXPECT_EQ(at("A\\B\\C\\"), at("A\\B\\") + 1);
    EXPECT_EQ(at("D\\Hidden\\"), at("D\\") + 1);

    EXPECT_EQ(TBaseFile().GetAllSubfolders(p.substr(0, p.size() - 1)), list) << "with or without the backslash";
}

TEST(Subfolders, EmptyAndMissingFoldersGiveEmptyLists)
{
    TempDir dir;
    EXPECT_TRUE(TBaseFile().GetAllSubfolders(dir.Path()).empty());
    EXPECT_TRUE(TBaseFile().GetAllSubfolders(dir.Path() + "nothing here").empty());
}

TEST(Subfolders, ErrorModeIsRestored)
{
    const UINT before = SetErrorMode(SEM_NOGPFAULTERRORBOX);
    TempDir dir;
    dir.MakeDir("X");
    TBaseFile().GetAllSubfolders(dir.Path());
    EXPECT_EQ(SetErrorMode(before), UINT(SEM_NOGPFAULTERRORBOX));
}

TEST(Subfolders, LinksNeverLeadIntoAFolderTwice)
{
    TempDir dir;
    dir.MakeDir("Top\\Mid");
    dir.MakeDir("Other");
    const std::string unix = UnixPathOf(dir.Path());
    ASSERT_FALSE(unix.empty());
    // A loop back to an ancestor, and a second way into a folder that is walked anyway.
    ASSERT_TRUE(RunUnixCommand(("ln -s '" + unix + "Top' '" + unix + "Top/Mid/loop' && ln -s '" + unix +
                                "Other' '" + unix + "Top/again'")
                                   .c_str()));
    ASSERT_NE(GetFileAttributesA((dir.Path() + "Top\\Mid\\loop").c_str()), INVALID_FILE_ATTRIBUTES);

    const List list = TBaseFile().GetAllSubfolders(dir.Path());
    List sorted = list;
    std::sort(sorted.begin(), sorted.end());
    const std::string p = dir.Path();
    // "Other" is reached once, either directly or through the link, never both.
    ASSERT_EQ(sorted.size(), 3u) << ::testing::PrintToString(list);
    EXPECT_EQ(std::count(sorted.begin(), sorted.end(), p + "Top\\"), 1);
    EXPECT_EQ(std::count(sorted.begin(), sorted.end(), p + "Top\\Mid\\"), 1);
    EXPECT_EQ(std::count(sorted.begin(), sorted.end(), p + "Other\\") +
                  std::count(sorted.begin(), sorted.end(), p + "Top\\again\\"),
              1);
    RunUnixCommand(("rm -f '" + unix + "Top/Mid/loop' '" + unix + "Top/again'").c_str());
}

TEST(Icons, ExtractionGivesAnIconOrNull)
{
    ScopedIcon icon(TBaseFile().ExtractIconFromFile("shell32.dll", 3));
    EXPECT_TRUE(icon);
    TempDir dir;
    const std::string text = dir.WriteFile("plain.txt", "no icons in here");
    EXPECT_EQ(TBaseFile().ExtractIconFromFile(text, 0), nullptr);
    EXPECT_EQ(TBaseFile().ExtractIconFromFile(dir.Path() + "missing.dll", 0), nullptr);
    EXPECT_EQ(TBaseFile().ExtractIconFromFile("shell32.dll", 100000), nullptr);
    EXPECT_EQ(TBaseFile().ExtractIconFromFile("shell32.dll", -1), nullptr) << "not the icon count";
}
