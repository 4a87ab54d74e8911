#include "engine/FolderCtrl.h"

#include "EngineGuards.h"
#include "engine/BaseFile.h"
#include "engine/DriveSettings.h"
#include "engine/FolderFailures.h"
#include "engine/FolderSettings.h"
#include "engine/SettingsFiles.h"
#include "support/ShellNotifications.h"
#include "support/TempDir.h"
#include "toolkit/core/Exception.h"
#include "toolkit/core/PathText.h"
#include "toolkit/core/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace {

const char* RecycleBin = "{645FF040-5081-101B-9F08-00AA002F954E}";
const DWORD HiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
const DWORD SystemFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM;

std::string DriveIconValue(char letter)
{
    TRegistry registry(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey(DriveIconKey(std::string(1, letter) + ":\\"), false))
        return "<no key>";
    return registry.ReadString("");
}

void SetDriveIconValue(char letter, const std::string& value)
{
    TRegistry registry(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registry.OpenKey(DriveIconKey(std::string(1, letter) + ":\\"), true));
    registry.WriteString("", value);
}

void DeleteDriveKey(char letter)
{
    TRegistry(HKEY_LOCAL_MACHINE).DeleteKey(DriveKey(std::string(1, letter) + ":\\"));
}

std::string DriveValue(char letter, const std::string& name)
{
    TRegistry registry(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey(DriveKey(std::string(1, letter) + ":\\"), false))
        return "<no key>";
    return registry.ValueExists(name) ? registry.ReadString(name) : "<no value>";
}

} // namespace

TEST(FolderCtrl, StartsEmptyAndRefusesToApplyBeforeALoad)
{
    ShellNotifications notifications;
    TFolderCtrl ctrl(false);
    EXPECT_EQ(ctrl.Current.Path, "");
    EXPECT_EQ(ctrl.Current.IconIndex, "0");
    EXPECT_EQ(ctrl.Current.IconArea_Text, "0x00000000");
    EXPECT_EQ(ctrl.ApplySettings("remembered"), -1);
    EXPECT_EQ(ctrl.Current.Infotip, "remembered") << "the tip is stored before the refusal";
    EXPECT_FALSE(ctrl.RestoreDefault()) << "nothing loaded, nothing restored";
    EXPECT_EQ(notifications.Count(), 0) << "nothing loaded, nothing to tell the shell";
}

TEST(FolderCtrl, LoadAddsTheBackslashAndKeepsTheSubfolderFlag)
{
    TempDir dir;
    const std::string folder = dir.MakeDir("Data");
    dir.WriteFile("Data\\DeskTop.Ini", "[.ShellClassInfo]\r\nInfotip=hello\r\n");
    TFolderCtrl ctrl(true);
    const TDTItem item = ctrl.LoadSettings(folder.substr(0, folder.size() - 1));
    EXPECT_EQ(item.Path, folder);
    EXPECT_EQ(item.Infotip, "hello");
    EXPECT_EQ(ctrl.Current, item);
    EXPECT_TRUE(ctrl.ApplyToSubfolders);
}

TEST(FolderCtrl, ApplyWritesTheRootAndCopiesItIntoSubfoldersWithoutAFile)
{
    TempDir dir;
    const std::string root = dir.MakeDir("Root");
    const std::string alpha = dir.MakeDir("Root\\Alpha");
    const std::string beta = dir.MakeDir("Root\\Alpha\\Beta");
    const std::string gamma = dir.MakeDir("Root\\Gamma");
    const std::string dotted = dir.MakeDir("Root\\.cache");
    const std::string gammaOwn = "[.ShellClassInfo]\r\nInfotip=Gamma's own\r\n";
    dir.WriteFile("Root\\Gamma\\DeskTop.Ini", gammaOwn);

    ShellNotifications notifications;
    TFolderCtrl ctrl(false);
    ctrl.LoadSettings(root);
    ctrl.SetApplyToSubfolders(true);
    ctrl.SetDisguiseIndex(1);
    ASSERT_EQ(ctrl.ApplySettings("tip"), 0);

    const std::string rootFile = ReadFileBytes(root + "DeskTop.Ini");
    EXPECT_NE(rootFile.find(std::string("CLSID=") + RecycleBin), std::string::npos);
    EXPECT_EQ(ReadFileBytes(alpha + "DeskTop.Ini"), rootFile);
    EXPECT_EQ(ReadFileBytes(beta + "DeskTop.Ini"), rootFile);
    EXPECT_EQ(ReadFileBytes(gamma + "DeskTop.Ini"), gammaOwn) << "an existing file is not overwritten";
    EXPECT_FALSE(FileExists(dotted + "DeskTop.Ini"));
    for (const std::string& folder : {root, alpha, beta, gamma}) {
        EXPECT_EQ(AttributesOf(folder + "DeskTop.Ini"), HiddenSystem) << folder;
        EXPECT_EQ(AttributesOf(folder), SystemFolder) << folder;
    }
    EXPECT_EQ(notifications.Count(), 1);

    // Restoring with the flag removes every file below, the foreign one of Gamma too.
    ctrl.LoadSettings(root);
    EXPECT_TRUE(ctrl.RestoreDefault());
    for (const std::string& folder : {root, alpha, beta, gamma})
        EXPECT_FALSE(FileExists(folder + "DeskTop.Ini")) << folder;
    EXPECT_EQ(AttributesOf(root), SystemFolder) << "a restore leaves attributes alone";
    EXPECT_EQ(notifications.Count(), 2);
}

TEST(FolderCtrl, HiddenFoldersStayHiddenThroughApplyAndRestore)
{
    TempDir dir;
    const std::string root = dir.MakeDir("Chosen");
    const std::string hidden = dir.MakeDir("Chosen\\Hidden");
    const std::string plain = dir.MakeDir("Chosen\\Hidden\\Plain");
    SetFileAttributesA(root.c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_EQ(AttributesOf(hidden), DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));

    TFolderCtrl ctrl(true);
    ctrl.LoadSettings(root);
    ctrl.SetDisguiseIndex(1);
    ASSERT_EQ(ctrl.ApplySettings(""), 0);
    const DWORD hiddenSystemFolder = SystemFolder | FILE_ATTRIBUTE_HIDDEN;
    EXPECT_EQ(AttributesOf(root), hiddenSystemFolder);
    EXPECT_EQ(AttributesOf(hidden), hiddenSystemFolder);
    EXPECT_EQ(AttributesOf(plain), SystemFolder) << "a plain folder ends with exactly the system attribute";
    for (const std::string& folder : {root, hidden, plain})
        EXPECT_EQ(AttributesOf(folder + "DeskTop.Ini"), HiddenSystem) << folder;

    // A second apply finds the system attribute there already and changes nothing else.
    ASSERT_EQ(ctrl.ApplySettings(""), 0);
    EXPECT_EQ(AttributesOf(hidden), hiddenSystemFolder);

    ctrl.LoadSettings(root);
    ASSERT_TRUE(ctrl.RestoreDefault());
    for (const std::string& folder : {root, hidden, plain})
        EXPECT_FALSE(FileExists(folder + "DeskTop.Ini")) << folder;
    EXPECT_EQ(AttributesOf(root), hiddenSystemFolder) << "still hidden after the restore";
    EXPECT_EQ(AttributesOf(hidden), hiddenSystemFolder);
}

TEST(FolderCtrl, DisguiseConfirmationWritesAnEmptyTipAndKeepsUnknownIdentifiers)
{
    TempDir dir;
    dir.WriteFile("DeskTop.Ini", "[.ShellClassInfo]\r\nCLSID={00000000-0000-0000-0000-000000000001}\r\n"
                                 "Infotip=old tip\r\n");
    TFolderCtrl ctrl(false);
    ctrl.LoadSettings(dir.Path());
    EXPECT_EQ(ctrl.GetDisguiseIndex(), -1);
    ctrl.SetDisguiseIndex(8);
    ctrl.SetDisguiseIndex(-1);
    EXPECT_EQ(ctrl.Current.CLSID, "{00000000-0000-0000-0000-000000000001}");
    ctrl.ApplySettings("");
    const TDTItem back = ReadFolderSettings(dir.Path());
    EXPECT_EQ(back.CLSID, "{00000000-0000-0000-0000-000000000001}");
    EXPECT_EQ(back.Infotip, "");
    ctrl.SetDisguiseIndex(7);
    EXPECT_EQ(ctrl.GetDisguiseIndex(), 7);
}

TEST(FolderCtrl, FailedWriteStopsBeforeSubfoldersAndNotification)
{
    TempDir dir;
    const std::string root = dir.MakeDir("Root");
    const std::string sub = dir.MakeDir("Root\\Sub");
    ShellNotifications notifications;
    TFolderCtrl ctrl(true);
    ctrl.LoadSettings(root);
    // Another program holds the root's file open without sharing it.
    dir.WriteFile("Root\\DeskTop.Ini", "");
    ScopedFile lock(CreateFileA((root + "DeskTop.Ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    EXPECT_THROW(ctrl.ApplySettings("tip"), EWriteError);
    EXPECT_FALSE(FileExists(sub + "DeskTop.Ini"));
    EXPECT_EQ(notifications.Count(), 0);
}

TEST(FolderCtrl, ApplyThenLoadOfAClearedIconGivesTheShellDefault)
{
    TempDir dir;
    TFolderCtrl ctrl(false);
    ctrl.LoadSettings(dir.Path());
    ctrl.Current.IconFile = "";
    ctrl.Current.IconIndex = "0";
    ctrl.ApplySettings("");
    const std::string text = ReadFileBytes(dir.Path() + "DeskTop.Ini");
    EXPECT_NE(text.find("IconFile=\r\nIconIndex=0\r\n"), std::string::npos) << text;
    const TDTItem back = ctrl.LoadSettings(dir.Path());
    EXPECT_EQ(back.IconFile, "%SystemRoot%\\system32\\shell32.dll");
    EXPECT_EQ(back.IconIndex, "3");
}

TEST(FolderCtrl, OnlyDriveRootsAndFullPathsAreWorkedOn)
{
    // The test's own folder is the current drive, P:, and its root the current folder: every
    // path that would be taken relative to them names something of the test's.
    TempDir dir;
    DriveMapping drive('P', dir.Path());
    ASSERT_TRUE(drive.Made());
    const CurrentFolder current("P:\\");
    const std::string rootFile = "[.ShellClassInfo]\r\nInfotip=drive root\r\n";
    const std::string subFile = "[.ShellClassInfo]\r\nInfotip=below\r\n";
    dir.WriteFile("DeskTop.Ini", rootFile);
    dir.MakeDir("x\\y");
    dir.WriteFile("x\\y\\DeskTop.Ini", subFile);
    const DriveKeyGuard driveA('a');
    SetDriveIconValue('a', "C:\\kept.ico,1");

    ShellNotifications notifications;
    TFolderCtrl ctrl(true);
    ASSERT_EQ(ctrl.LoadSettings("P:\\x\\y").Infotip, "below") << "the full path names the file the others miss";
    for (const char* path : {"", "\\", "ab", "x\\y", "P:x\\y", "\\\\", "\\\\server", "\\\\server\\"}) {
        const TDTItem item = ctrl.LoadSettings(path);
        EXPECT_EQ(item.Path, "") << path;
        EXPECT_EQ(item.Infotip, "") << path << ": no file read";
        EXPECT_EQ(item, ctrl.Current) << path;
        EXPECT_EQ(ctrl.ApplySettings("written"), -1) << path;
        EXPECT_FALSE(ctrl.RestoreDefault()) << path;
    }
    // Set by hand, past LoadSettings: the same refusal.
    ctrl.Current.Path = "\\";
    EXPECT_EQ(ctrl.ApplySettings(""), -1);
    EXPECT_FALSE(ctrl.RestoreDefault());

    EXPECT_EQ(ReadFileBytes(dir.Path() + "DeskTop.Ini"), rootFile);
    EXPECT_EQ(ReadFileBytes(dir.Path() + "x\\y\\DeskTop.Ini"), subFile);
    EXPECT_EQ(DriveIconValue('a'), "C:\\kept.ico,1") << "\"ab\" is no drive a:";
    EXPECT_EQ(notifications.Count(), 0);
}

namespace {

using Reports = std::vector<std::tuple<std::size_t, std::size_t, std::string>>;

struct Stop : std::runtime_error {
    Stop() : std::runtime_error("stopped by the progress handler") {}
};

} // namespace

TEST(FolderCtrl, LongWalksReportProgressAndAStopLeavesEveryFolderWhole)
{
    TempDir dir;
    const std::string root = dir.MakeDir("Root");
    dir.MakeDir("Root\\A\\B");
    dir.MakeDir("Root\\C");
    dir.MakeDir("Root\\D");
    const auto folders = TBaseFile().GetAllSubfolders(root);
    ASSERT_EQ(folders.size(), 4u);

    ShellNotifications notifications;
    TFolderCtrl ctrl(true);
    ctrl.LoadSettings(root);
    ctrl.SetDisguiseIndex(1);
    Reports reports;
    ctrl.OnProgress = [&](std::size_t done, std::size_t total, const std::string& folder) {
        reports.emplace_back(done, total, folder);
        // Reported after the folder is finished, never before.
        if (done > 0) {
            EXPECT_EQ(AttributesOf(folder + "DeskTop.Ini"), HiddenSystem) << folder;
        }
    };
    ASSERT_EQ(ctrl.ApplySettings(""), 0);
    Reports expected{{0, 4, root}};
    for (std::size_t i = 0; i < folders.size(); ++i)
        expected.emplace_back(i + 1, 4, folders[i]);
    EXPECT_EQ(reports, expected);

    // A restore reports the same way.
    reports.clear();
    ctrl.OnProgress = [&](std::size_t done, std::size_t total, const std::string& folder) {
        reports.emplace_back(done, total, folder);
    };
    ASSERT_TRUE(ctrl.RestoreDefault());
    EXPECT_EQ(reports, expected);
    EXPECT_EQ(notifications.Count(), 2);

    // A handler that throws after the second folder: two folders are done, two untouched, the
    // shell is told, and the exception reaches the caller.
    for (const auto& folder : folders)
        SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    ctrl.OnProgress = [](std::size_t done, std::size_t, const std::string&) {
        if (done == 2)
            throw Stop();
    };
    EXPECT_THROW(ctrl.ApplySettings(""), Stop);
    const std::string rootBytes = ReadFileBytes(root + "DeskTop.Ini");
    ASSERT_FALSE(rootBytes.empty());
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (i < 2) {
            EXPECT_EQ(ReadFileBytes(folders[i] + "DeskTop.Ini"), rootBytes) << folders[i];
            EXPECT_EQ(AttributesOf(folders[i] + "DeskTop.Ini"), HiddenSystem) << folders[i];
            EXPECT_EQ(AttributesOf(folders[i]), SystemFolder) << folders[i];
        } else {
            EXPECT_FALSE(FileExists(folders[i] + "DeskTop.Ini")) << folders[i];
            EXPECT_EQ(AttributesOf(folders[i]), DWORD(FILE_ATTRIBUTE_DIRECTORY)) << folders[i];
        }
    }
    EXPECT_EQ(notifications.Count(), 3);

    // The same for a restore stopped after its first folder.
    ctrl.OnProgress = [](std::size_t done, std::size_t, const std::string&) {
        if (done == 1)
            throw Stop();
    };
    EXPECT_THROW(ctrl.RestoreDefault(), Stop);
    EXPECT_FALSE(FileExists(root + "DeskTop.Ini"));
    EXPECT_FALSE(FileExists(folders[0] + "DeskTop.Ini"));
    EXPECT_TRUE(FileExists(folders[1] + "DeskTop.Ini"));
    EXPECT_EQ(notifications.Count(), 4);

    // Without subfolders nothing is walked and nothing reported.
    reports.clear();
    ctrl.OnProgress = [&](std::size_t done, std::size_t total, const std::string& folder) {
        reports.emplace_back(done, total, folder);
    };
    ctrl.SetApplyToSubfolders(false);
    ctrl.ApplySettings("");
    EXPECT_TRUE(reports.empty());
}

TEST(FolderCtrl, SubfoldersReceiveOurKeysAloneNotTheChosenFoldersOwnEntries)
{
    TempDir dir;
    const std::string root = dir.MakeDir("Documents");
    const std::string alpha = dir.MakeDir("Documents\\Alpha");
    const std::string beta = dir.MakeDir("Documents\\Beta");
    dir.WriteFile("Documents\\desktop.ini", Utf16File(kDocumentsIni));
    const std::string betaOwn = "[.ShellClassInfo]\r\nInfotip=Beta's\r\n[ViewState]\r\nFolderType=Pictures\r\n";
    dir.WriteFile("Documents\\Beta\\DeskTop.Ini", betaOwn);

    TFolderCtrl ctrl(true);
    ctrl.LoadSettings(root);
    ctrl.SetDisguiseIndex(1);
    ASSERT_EQ(ctrl.ApplySettings("Фото"), 0);
    const std::string alphaFile = alpha + "DeskTop.Ini";
    EXPECT_EQ(ValueInFile(alphaFile, ".ShellClassInfo", "Infotip"), "Фото");
    EXPECT_EQ(ValueInFile(alphaFile, ".ShellClassInfo", "LocalizedResourceName"), "<none>")
        << "a subfolder is not named Documents";
    EXPECT_EQ(ValueInFile(alphaFile, "ViewState", "FolderType"), "<none>");
    EXPECT_EQ(ValueInFile(root + "DeskTop.Ini", ".ShellClassInfo", "LocalizedResourceName"),
              "@%SystemRoot%\\system32\\shell32.dll,-21770");
    EXPECT_EQ(ReadFileBytes(beta + "DeskTop.Ini"), betaOwn);

    // Default with subfolders: the chosen folder is Windows' own again, the copy goes, and the
    // subfolder's own file keeps what is not ours.
    ctrl.LoadSettings(root);
    ASSERT_TRUE(ctrl.RestoreDefault());
    EXPECT_EQ(WithoutBlankLines(TextOfUtf16File(ReadFileBytes(root + "DeskTop.Ini"))), WithoutBlankLines(kDocumentsIni));
    EXPECT_FALSE(FileExists(alphaFile));
    EXPECT_EQ(ReadFileBytes(beta + "DeskTop.Ini"), "[ViewState]\r\nFolderType=Pictures\r\n");
}

TEST(FolderCtrl, RecursiveWorkDoesWhatItCanThenNamesWhatItCouldNot)
{
    TempDir dir;
    const std::string root = dir.MakeDir("Root");
    const std::string plain = dir.MakeDir("Root\\A");
    const std::string inTheWay = dir.MakeDir("Root\\B");
    dir.MakeDir("Root\\B\\DeskTop.Ini");
    const std::string inUse = dir.MakeDir("Root\\C");
    const std::string deeper = dir.MakeDir("Root\\D\\E");
    dir.WriteFile("Root\\C\\DeskTop.Ini", "[.ShellClassInfo]\r\nInfotip=C's own\r\n");
    // B's DeskTop.Ini is a folder below B, walked as any other.
    ASSERT_EQ(TBaseFile().GetAllSubfolders(root).size(), 6u);

    ShellNotifications notifications;
    TFolderCtrl ctrl(true);
    std::size_t reports = 0;
    ctrl.OnProgress = [&](std::size_t, std::size_t, const std::string&) { ++reports; };
    ctrl.LoadSettings(root);
    ctrl.SetDisguiseIndex(1);
    try {
        ctrl.ApplySettings("");
        FAIL() << "a folder in the way of the file went unreported";
    } catch (const EFoldersNotChanged& e) {
        EXPECT_EQ(e.Failures(), (std::vector<TFolderFailure>{{inTheWay, "A folder named DeskTop.Ini is in the way."}}));
        EXPECT_EQ(e.Message(), "1 of 7 folders could not be changed:\n\n" + dir.Path() +
                                   "Root\\B: A folder named DeskTop.Ini is in the way.");
    }
    EXPECT_EQ(notifications.Count(), 1) << "the shell is told once, before the error";
    EXPECT_EQ(reports, 7u) << "every folder reported, the failed one too";
    for (const std::string& folder : {plain, deeper, dir.Path() + "Root\\D\\"})
        EXPECT_EQ(ReadFileBytes(folder + "DeskTop.Ini"), ReadFileBytes(root + "DeskTop.Ini")) << folder;

    // Default with the file of C in use: everything else goes, C is named with the reason.
    ctrl.LoadSettings(root);
    {
        const ScopedFile lock(CreateFileA((inUse + "DeskTop.Ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                          nullptr));
        ASSERT_TRUE(lock);
        try {
            ctrl.RestoreDefault();
            FAIL() << "a file in use went unreported";
        } catch (const EFoldersNotChanged& e) {
            ASSERT_EQ(e.Failures().size(), 1u);
            EXPECT_EQ(e.Failures()[0].Folder, inUse);
            EXPECT_FALSE(e.Failures()[0].Reason.empty());
            EXPECT_EQ(e.Total(), 7u);
        }
    }
    EXPECT_EQ(notifications.Count(), 2);
    for (const std::string& folder : {root, plain, deeper})
        EXPECT_FALSE(FileExists(folder + "DeskTop.Ini")) << folder;
    EXPECT_EQ(ReadFileBytes(inUse + "DeskTop.Ini"), "[.ShellClassInfo]\r\nInfotip=C's own\r\n");
    EXPECT_TRUE(IsExistingFolder(inTheWay + "DeskTop.Ini"));
}

TEST(FolderCtrl, AStopByTheUserKeepsWhatCouldNotBeChangedAndCountsWhatWasLeft)
{
    TempDir dir;
    const std::string root = dir.MakeDir("Root");
    dir.MakeDir("Root\\A");
    const std::string inTheWay = dir.MakeDir("Root\\B");
    dir.MakeDir("Root\\B\\DeskTop.Ini");
    dir.MakeDir("Root\\C");
    dir.MakeDir("Root\\D\\E");
    const auto folders = TBaseFile().GetAllSubfolders(root);
    ASSERT_EQ(folders.size(), 6u);
    const auto failedAt = std::find(folders.begin(), folders.end(), inTheWay) - folders.begin();
    ASSERT_LT(failedAt, 3) << "the folder in the way comes before the stop";

    ShellNotifications notifications;
    TFolderCtrl ctrl(true);
    ctrl.LoadSettings(root);
    ctrl.SetDisguiseIndex(1);
    // The user stops once the third subfolder is finished.
    ctrl.OnProgress = [](std::size_t done, std::size_t, const std::string&) {
        if (done == 3)
            throw EWorkStopped();
    };
    try {
        ctrl.ApplySettings("");
        FAIL() << "a stop went unreported";
    } catch (const EFoldersNotChanged& e) {
        EXPECT_TRUE(e.Stopped());
        EXPECT_EQ(e.Total(), 7u);
        EXPECT_EQ(e.Untouched(), 3u);
        EXPECT_EQ(e.Changed(), 3u) << "the chosen folder and two of the three reached";
        EXPECT_EQ(e.Failures(), (std::vector<TFolderFailure>{{inTheWay, "A folder named DeskTop.Ini is in the way."}}));
        EXPECT_EQ(e.Message(), "Stopped: 3 of 7 folders were changed. 3 were left as they were. 1 could not be "
                               "changed:\n\n" + dir.Path() + "Root\\B: A folder named DeskTop.Ini is in the way.");
    }
    EXPECT_EQ(notifications.Count(), 1) << "the shell hears of what was done";
    for (std::size_t i = 0; i < folders.size(); ++i)
        EXPECT_EQ(FileExists(folders[i] + "DeskTop.Ini") || IsExistingFolder(folders[i] + "DeskTop.Ini"), i < 3)
            << folders[i];

    // Stopped at once, when the list is made: only the chosen folder was changed.
    ctrl.LoadSettings(root);
    ctrl.OnProgress = [](std::size_t, std::size_t, const std::string&) { throw EWorkStopped(); };
    try {
        ctrl.RestoreDefault();
        FAIL() << "a stop went unreported";
    } catch (const EFoldersNotChanged& e) {
        EXPECT_EQ(e.Message(), "Stopped: 1 of 7 folders was changed. 6 were left as they were.");
    }
    EXPECT_FALSE(FileExists(root + "DeskTop.Ini"));
    EXPECT_TRUE(FileExists(folders[0] + "DeskTop.Ini"));
    EXPECT_EQ(notifications.Count(), 2);
}

TEST(FolderCtrl, ADeepTreeOfHundredsOfFoldersIsAppliedAndRestoredWhole)
{
    TempDir dir;
    const std::string root = dir.MakeDir("Tree");
    std::string chain = "Tree\\";
    for (int level = 0; chain.size() < 330; ++level) {
        chain += "уровень-" + std::to_string(level) + "-level\\";
        for (int leaf = 0; leaf < 24; ++leaf)
            dir.MakeDir(chain + "leaf " + std::to_string(leaf));
    }
    const auto folders = TBaseFile().GetAllSubfolders(root);
    ASSERT_GE(folders.size(), 300u);
    const std::size_t longest =
        std::max_element(folders.begin(), folders.end(), [](auto& a, auto& b) { return a.size() < b.size(); })->size();
    ASSERT_GT(longest, 300u);

    TFolderCtrl ctrl(true);
    ctrl.LoadSettings(root);
    ctrl.SetDisguiseIndex(2);
    ASSERT_EQ(ctrl.ApplySettings("deep"), 0);
    const std::string bytes = ReadFileBytes(root + "DeskTop.Ini");
    for (const auto& folder : folders) {
        ASSERT_EQ(ReadFileBytes(folder + "DeskTop.Ini"), bytes) << folder;
        ASSERT_EQ(AttributesOf(folder), SystemFolder) << folder;
    }
    ctrl.LoadSettings(root);
    ASSERT_TRUE(ctrl.RestoreDefault());
    for (const auto& folder : folders)
        ASSERT_FALSE(FileExists(folder + "DeskTop.Ini")) << folder;
}

TEST(DriveSettings, ValuesAreSplitAtCommas)
{
    const DriveKeyGuard guard('Q');
    DeleteDriveKey('Q');
    TFolderCtrl ctrl(false);
    TDTItem item = ctrl.LoadSettings("Q:");
    EXPECT_EQ(item.Path, "Q:\\");
    EXPECT_EQ(item.IconFile, "");
    EXPECT_EQ(item.IconIndex, "0");
    EXPECT_EQ(DriveIconValue('Q'), "") << "loading leaves an empty icon key behind";

    const std::pair<const char*, std::pair<const char*, const char*>> cases[] = {
        {"C:\\Icons\\Disk.ico,3", {"C:\\Icons\\Disk.ico", "3"}},
        {"C:\\Icons\\Disk.ico", {"C:\\Icons\\Disk.ico", "0"}},
        {"C:\\Icons\\Disk.ico,", {"C:\\Icons\\Disk.ico", "0"}},
        {"C:\\My,Icons\\Disk.ico,3", {"C:\\My", "Icons\\Disk.ico"}},
        {",5", {"", "5"}},
    };
    for (const auto& [stored, expected] : cases) {
        SetDriveIconValue('Q', stored);
        item = ctrl.LoadSettings("Q:\\");
        EXPECT_EQ(item.IconFile, expected.first) << stored;
        EXPECT_EQ(item.IconIndex, expected.second) << stored;
        EXPECT_EQ(item.CLSID, "");
        EXPECT_EQ(item.IconArea_Text, "0x00000000");
    }
}

TEST(DriveSettings, NonStringValueIsReported)
{
    const DriveKeyGuard guard('R');
    const DWORD number = 5;
    ScopedKey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, DriveIconKey("R:\\").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key.get(), "", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    try {
        ReadDriveSettings("R:\\");
        FAIL() << "a number was read as an icon";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Invalid data type for ''");
    }
}

TEST(DriveSettings, ApplyWritesOnlyTheIconAndRestoreRemovesIt)
{
    const DriveKeyGuard guard('Q');
    DeleteDriveKey('Q');
    ShellNotifications notifications;
    TFolderCtrl ctrl(true);
    ctrl.LoadSettings("Q:\\");
    ctrl.Current.IconFile = "C:\\Icons\\Disk.ico";
    ctrl.Current.IconIndex = "2";
    ctrl.SetDisguiseIndex(1);
    ASSERT_EQ(ctrl.ApplySettings("ignored for drives"), 0);
    EXPECT_EQ(DriveIconValue('Q'), "C:\\Icons\\Disk.ico,2");
    EXPECT_EQ(notifications.Count(), 1);

    // A cleared icon deletes the icon rather than storing ",0"; the drive key held nothing
    // else, so it goes too.
    ctrl.Current.IconFile = "";
    ctrl.ApplySettings("");
    EXPECT_EQ(DriveIconValue('Q'), "<no key>");
    EXPECT_FALSE(TRegistry(HKEY_LOCAL_MACHINE).KeyExists(DriveKey("Q:\\")));

    SetDriveIconValue('Q', "C:\\x.ico,1");
    ctrl.LoadSettings("Q:\\");
    ctrl.SetApplyToSubfolders(false);
    EXPECT_TRUE(ctrl.RestoreDefault());
    EXPECT_FALSE(TRegistry(HKEY_LOCAL_MACHINE).KeyExists(DriveKey("Q:\\")));
    EXPECT_TRUE(TRegistry(HKEY_LOCAL_MACHINE).KeyExists(DriveIconsKey)) << "other drives' keys stay";
    EXPECT_EQ(notifications.Count(), 3);
}

TEST(DriveSettings, WhatOthersKeepInTheDriveKeySurvives)
{
    const DriveKeyGuard guard('Q');
    DeleteDriveKey('Q');
    {
        TRegistry registry(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(registry.OpenKey(DriveKey("Q:\\") + "\\DefaultLabel", true));
        registry.WriteString("", "Backups");
    }
    SetDriveIconValue('Q', "C:\\Icons\\Disk.ico,0");

    TFolderCtrl ctrl(false);
    ctrl.LoadSettings("Q:\\");
    ctrl.Current.IconFile.clear();  // Clear, as the Icon page's button does
    ASSERT_EQ(ctrl.ApplySettings(""), 0);
    EXPECT_EQ(DriveIconValue('Q'), "<no key>");
    TRegistry registry(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registry.OpenKey(DriveKey("Q:\\") + "\\DefaultLabel", false)) << "Clear took the label";
    EXPECT_EQ(registry.ReadString(""), "Backups");

    SetDriveIconValue('Q', "C:\\Icons\\Disk.ico,0");
    ctrl.LoadSettings("Q:\\");
    ASSERT_TRUE(ctrl.RestoreDefault());
    EXPECT_EQ(DriveIconValue('Q'), "<no key>");
    ASSERT_TRUE(registry.OpenKey(DriveKey("Q:\\") + "\\DefaultLabel", false)) << "Default took the label";
    EXPECT_EQ(registry.ReadString(""), "Backups");

    // A value of the drive key itself keeps the key too.
    DeleteDriveKey('Q');
    SetDriveIconValue('Q', "C:\\Icons\\Disk.ico,0");
    {
        TRegistry drive(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(drive.OpenKey(DriveKey("Q:\\"), false));
        drive.WriteString("Note", "set by another tool");
    }
    ctrl.LoadSettings("Q:\\");
    ASSERT_TRUE(ctrl.RestoreDefault());
    EXPECT_EQ(DriveValue('Q', "Note"), "set by another tool");
}

TEST(DriveSettings, DriveRootAppliesOnlyTheIconButRestoresEveryFolder)
{
    // A drive letter of Wine's is a link in its dosdevices folder: Q: becomes a temporary folder.
    TempDir dir;
    DriveMapping drive('Q', dir.Path());
    ASSERT_TRUE(drive.Made());
    const DriveKeyGuard guard('Q');
    const std::string sub = dir.MakeDir("Folder\\Below");
    dir.WriteFile("DeskTop.Ini", "[.ShellClassInfo]\r\nInfotip=root\r\n");
    dir.WriteFile("Folder\\DeskTop.Ini", "[.ShellClassInfo]\r\nInfotip=folder\r\n");
    DeleteDriveKey('Q');

    TFolderCtrl ctrl(true);
    ctrl.LoadSettings("Q:\\");
    ctrl.Current.IconFile = "C:\\Icons\\Disk.ico";
    ctrl.Current.IconIndex = "0";
    ctrl.ApplySettings("a tip a drive cannot take");
    EXPECT_EQ(DriveIconValue('Q'), "C:\\Icons\\Disk.ico,0");
    EXPECT_FALSE(FileExists(sub + "DeskTop.Ini")) << "subfolders of a drive are not written";
    EXPECT_EQ(ReadFileBytes(dir.Path() + "DeskTop.Ini"), "[.ShellClassInfo]\r\nInfotip=root\r\n");

    ctrl.RestoreDefault();
    EXPECT_FALSE(TRegistry(HKEY_LOCAL_MACHINE).KeyExists(DriveKey("Q:\\")));
    EXPECT_FALSE(FileExists(dir.Path() + "DeskTop.Ini"));
    EXPECT_FALSE(FileExists(dir.Path() + "Folder\\DeskTop.Ini"));
}
