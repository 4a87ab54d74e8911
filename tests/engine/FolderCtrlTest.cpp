#include "engine/FolderCtrl.h"

#include "engine/DriveSettings.h"
#include "engine/FolderSettings.h"
#include "support/ShellNotifications.h"
#include "support/TempDir.h"
#include "toolkit/Exception.h"
#include "toolkit/Registry.h"

#include <gtest/gtest.h>

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
    EXPECT_TRUE(ctrl.RestoreDefault());
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

TEST(DriveSettings, ValuesAreSplitAtCommas)
{
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
    DeleteDriveKey('Q');
}

TEST(DriveSettings, NonStringValueIsReported)
{
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
    DeleteDriveKey('R');
}

TEST(DriveSettings, ApplyWritesOnlyTheIconAndRestoreRemovesTheKey)
{
    TempDir dir;
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

    // A cleared icon deletes the drive's key rather than storing ",0".
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

TEST(DriveSettings, PathsWithoutADriveLetterNeverTouchTheDriveIconsKey)
{
    SetDriveIconValue('Q', "C:\\x.ico,1");
    TFolderCtrl ctrl(false);
    ctrl.Current.Path = "\\";
    ctrl.RestoreDefault();
    ctrl.ApplySettings("");
    EXPECT_EQ(DriveIconValue('Q'), "C:\\x.ico,1");
    DeleteDriveKey('Q');
}

TEST(DriveSettings, DriveRootAppliesOnlyTheIconButRestoresEveryFolder)
{
    // A drive letter of Wine's is a link in its dosdevices folder: Q: becomes a temporary folder.
    TempDir dir;
    const std::string drive = UnixPathOf("C:\\");
    ASSERT_FALSE(drive.empty());
    const std::string dosdevices = drive.substr(0, drive.rfind("/c:"));
    ASSERT_TRUE(RunUnixCommand(("ln -sfn '" + UnixPathOf(dir.Path()) + "' '" + dosdevices + "/q:'").c_str()));
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
    RunUnixCommand(("rm -f '" + dosdevices + "/q:'").c_str());
}
