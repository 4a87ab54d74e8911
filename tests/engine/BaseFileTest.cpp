#include "engine/BaseFile.h"

#include "support/ShellNotifications.h"
#include "support/TempDir.h"
#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

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

namespace {

// Listings that fail the way some network shares and older servers do: refused with "invalid
// parameter" at once, or part of the way through a folder.
BOOL Refused(HANDLE, FILE_INFO_BY_HANDLE_CLASS, void*, DWORD)
{
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

// Small batches, so that a folder takes several calls; the calls after the first are refused.
BOOL RefusedAfterTheFirstBatch(HANDLE folder, FILE_INFO_BY_HANDLE_CLASS query, void* buffer, DWORD)
{
    if (query == FileIdBothDirectoryRestartInfo)
        return GetFileInformationByHandleEx(folder, query, buffer, 200);
    return Refused(folder, query, buffer, 0);
}

BOOL SmallBatches(HANDLE folder, FILE_INFO_BY_HANDLE_CLASS query, void* buffer, DWORD)
{
    return GetFileInformationByHandleEx(folder, query, buffer, 200);
}

// Every other folder is refused, so the walk mixes both kinds of listing.
TBaseFile::IdListing RefusingEveryOtherFolder()
{
    auto folders = std::make_shared<int>(0);
    return [folders](HANDLE folder, FILE_INFO_BY_HANDLE_CLASS query, void* buffer, DWORD size) -> BOOL {
        if (query == FileIdBothDirectoryRestartInfo && ++*folders % 2 == 0)
            return Refused(folder, query, buffer, size);
        return GetFileInformationByHandleEx(folder, query, buffer, size);
    };
}

struct Listing {
    const char* Name;
    TBaseFile::IdListing Call;
};

std::vector<Listing> Listings()
{
    return {{"the platform's", {}},
            {"refused", Refused},
            {"refused after the first batch", RefusedAfterTheFirstBatch},
            {"in small batches", SmallBatches},
            {"refused for every other folder", RefusingEveryOtherFolder()}};
}

} // namespace

TEST(Subfolders, AVolumeThatRefusesTheIdListingGivesTheSameTree)
{
    TempDir dir;
    dir.MakeDir("A\\B\\C");
    dir.MakeDir("A\\.git\\objects");
    for (int i = 0; i < 12; ++i)
        dir.MakeDir("Many\\folder with a long name number " + std::to_string(i) + "\\inner");
    const std::string hidden = dir.MakeDir("D\\Hidden");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const std::string p = dir.Path();

    List expected = TBaseFile().GetAllSubfolders(p);
    ASSERT_EQ(expected.size(), 30u);
    std::sort(expected.begin(), expected.end());
    for (const auto& listing : Listings()) {
        const List list = TBaseFile(listing.Call).GetAllSubfolders(p);
        List sorted = list;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, expected) << listing.Name;
        // Pre-order still: every folder after the folder it is in.
        for (std::size_t i = 0; i < list.size(); ++i) {
            const std::string parent = list[i].substr(0, list[i].rfind('\\', list[i].size() - 2) + 1);
            if (parent != p) {
                EXPECT_LT(std::find(list.begin(), list.end(), parent) - list.begin(), std::ptrdiff_t(i))
                    << listing.Name << ": " << list[i];
            }
        }
    }
}

TEST(Subfolders, LinksNeverLeadIntoAFolderTwice)
{
    TempDir dir;
    dir.MakeDir("Top\\Mid");
    dir.MakeDir("Other");
    const std::string unix = UnixPathOf(dir.Path());
    ASSERT_FALSE(unix.empty());
    // A loop back to an ancestor, and a second way into a folder that is walked anyway. The
    // links go before the folder does, whatever the test's outcome.
    struct Links {
        std::string Remove;
        ~Links() { RunUnixCommand(Remove.c_str()); }
    } links{"rm -f '" + unix + "Top/Mid/loop' '" + unix + "Top/again'"};
    ASSERT_TRUE(RunUnixCommand(("ln -s '" + unix + "Top' '" + unix + "Top/Mid/loop' && ln -s '" + unix +
                                "Other' '" + unix + "Top/again'")
                                   .c_str()));
    ASSERT_NE(GetFileAttributesA((dir.Path() + "Top\\Mid\\loop").c_str()), INVALID_FILE_ATTRIBUTES);

    const std::string p = dir.Path();
    for (const auto& listing : Listings()) {
        const List list = TBaseFile(listing.Call).GetAllSubfolders(p);
        List sorted = list;
        std::sort(sorted.begin(), sorted.end());
        // "Other" is reached once, either directly or through the link, never both.
        ASSERT_EQ(sorted.size(), 3u) << listing.Name << ": " << ::testing::PrintToString(list);
        EXPECT_EQ(std::count(sorted.begin(), sorted.end(), p + "Top\\"), 1) << listing.Name;
        EXPECT_EQ(std::count(sorted.begin(), sorted.end(), p + "Top\\Mid\\"), 1) << listing.Name;
        EXPECT_EQ(std::count(sorted.begin(), sorted.end(), p + "Other\\") +
                      std::count(sorted.begin(), sorted.end(), p + "Top\\again\\"),
                  1)
            << listing.Name;
    }
}

TEST(Subfolders, NamesInAnyScriptAndPathsPastTheOldLimitWithEveryListing)
{
    TempDir dir;
    // Look-alike siblings: a name that came out changed would lead into its neighbour.
    for (const char* name : {"Фото", "Café", "Ωmega", "Omega", "写真", "🙂 smile", "_ smile"})
        dir.MakeDir(name);
    std::string deep = "Deep\\";
    while (deep.size() < 320)
        deep += "папка-" + std::to_string(deep.size()) + "\\";
    dir.MakeDir(deep + "end");
    const std::string p = dir.Path();
    const std::string unix = UnixPathOf(p);
    ASSERT_FALSE(unix.empty());
    // A link at the bottom of the deep branch back to its top: the guard must hold there too.
    struct Link {
        std::string Remove;
        ~Link() { RunUnixCommand(Remove.c_str()); }
    } link{"rm -f '" + unix + "Deep/loop'"};
    std::string deepUnix = deep;
    std::replace(deepUnix.begin(), deepUnix.end(), '\\', '/');
    link.Remove = "rm -f '" + unix + deepUnix + "loop'";
    ASSERT_TRUE(RunUnixCommand(("ln -s '" + unix + "Deep' '" + unix + deepUnix + "loop'").c_str()));

    List expected{p + "Café\\", p + "Omega\\", p + "_ smile\\", p + "Ωmega\\", p + "Фото\\", p + "写真\\",
                  p + "🙂 smile\\"};
    for (std::size_t end = deep.find('\\'); end != std::string::npos; end = deep.find('\\', end + 1))
        expected.push_back(p + deep.substr(0, end + 1));
    expected.push_back(p + deep + "end\\");
    ASSERT_GT(expected.back().size(), 300u);
    std::sort(expected.begin(), expected.end());
    for (const auto& listing : Listings()) {
        TFolderFailures unlisted;
        List list = TBaseFile(listing.Call).GetAllSubfolders(p, unlisted);
        std::sort(list.begin(), list.end());
        EXPECT_EQ(list, expected) << listing.Name;
        EXPECT_TRUE(unlisted.Empty()) << listing.Name;
    }
}

TEST(Subfolders, AFolderThatCannotBeListedIsNamedWithTheReason)
{
    TempDir dir;
    const std::string held = dir.MakeDir("Held");
    dir.MakeDir("Held\\Inside");
    dir.MakeDir("Free\\Inside");
    // Another program holds the folder open without sharing it.
    const ScopedFile lock(CreateFileA(held.c_str(), FILE_LIST_DIRECTORY, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(lock);
    TFolderFailures unlisted;
    List list = TBaseFile().GetAllSubfolders(dir.Path(), unlisted);
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, (List{dir.Path() + "Free\\", dir.Path() + "Free\\Inside\\", held}));
    ASSERT_EQ(unlisted.Items().size(), 1u);
    EXPECT_EQ(unlisted.Items()[0].Folder, held);
    EXPECT_TRUE(unlisted.Items()[0].Reason.starts_with("Its subfolders could not be listed: "))
        << unlisted.Items()[0].Reason;
}

TEST(Icons, ExtractionGivesAnOwnedIconOrNone)
{
    const ScopedIcon icon = TBaseFile().ExtractIconFromFile("shell32.dll", 3);
    EXPECT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info)) << "a live icon";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    TempDir dir;
    const std::string text = dir.WriteFile("plain.txt", "no icons in here");
    EXPECT_FALSE(TBaseFile().ExtractIconFromFile(text, 0));
    EXPECT_FALSE(TBaseFile().ExtractIconFromFile(dir.Path() + "missing.dll", 0));
    EXPECT_FALSE(TBaseFile().ExtractIconFromFile("shell32.dll", 100000));
    EXPECT_FALSE(TBaseFile().ExtractIconFromFile("shell32.dll", -1)) << "not the icon count";
}
