#include "engine/FolderSettings.h"

#include "support/ShellNotifications.h"
#include "support/TempDir.h"
#include "toolkit/core/Exception.h"
#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>

namespace {

const char* RecycleBin = "{645FF040-5081-101B-9F08-00AA002F954E}";

TDTItem DisguisedItem(const std::string& path)
{
    TDTItem item = ReadFolderSettings(path);
    item.CLSID = RecycleBin;
    return item;
}

} // namespace

TEST(FolderSettings, NewFileHoldsSixKeysInTheirOrder)
{
    TempDir dir;
    WriteFolderSettings(DisguisedItem(dir.Path()));
    EXPECT_EQ(ReadFileBytes(dir.Path() + "DeskTop.Ini"),
              "[.ShellClassInfo]\r\n"
              "CLSID={645FF040-5081-101B-9F08-00AA002F954E}\r\n"
              "IconFile=%SystemRoot%\\system32\\shell32.dll\r\n"
              "IconIndex=3\r\n"
              "Infotip=\r\n"
              "[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n"
              "IconArea_Image=\r\n"
              "IconArea_Text=0x00000000\r\n");
}

TEST(FolderSettings, FolderWithoutFileReadsDefaults)
{
    TempDir dir;
    const TDTItem item = ReadFolderSettings(dir.Path());
    EXPECT_EQ(item.Path, dir.Path());
    EXPECT_EQ(item.CLSID, "");
    EXPECT_EQ(item.IconFile, "%SystemRoot%\\system32\\shell32.dll");
    EXPECT_EQ(item.IconIndex, "3");
    EXPECT_EQ(item.Infotip, "");
    EXPECT_EQ(item.IconArea_Image, "");
    EXPECT_EQ(item.IconArea_Text, "0x00000000");
    // A folder that does not exist reads the same.
    EXPECT_EQ(ReadFolderSettings(dir.Path() + "missing\\").IconIndex, "3");
}

TEST(FolderSettings, EmptyValuesAreReplacedOnRead)
{
    TempDir dir;
    dir.WriteFile("DeskTop.Ini", "[.ShellClassInfo]\r\nIconFile=\r\nIconIndex=7\r\n"
                                 "[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\nIconArea_Text=\r\n");
    TDTItem item = ReadFolderSettings(dir.Path());
    EXPECT_EQ(item.IconFile, "%SystemRoot%\\system32\\shell32.dll");
    EXPECT_EQ(item.IconIndex, "3") << "the stored index goes with the replaced file";
    EXPECT_EQ(item.IconArea_Text, "0x00000000");

    dir.WriteFile("DeskTop.Ini", "[.shellclassinfo]\r\niconfile=C:\\a.ico\r\nICONINDEX=\r\nCLSID=junk\r\n");
    item = ReadFolderSettings(dir.Path());
    EXPECT_EQ(item.IconFile, "C:\\a.ico") << "sections and keys match regardless of case";
    EXPECT_EQ(item.IconIndex, "0");
    EXPECT_EQ(item.CLSID, "junk") << "values are returned unchecked";
}

TEST(FolderSettings, HugeValueIsCutTo2047Bytes)
{
    TempDir dir;
    dir.WriteFile("DeskTop.Ini", "[.ShellClassInfo]\r\nInfotip=" + std::string(100000, 'x') + "\r\n");
    EXPECT_EQ(ReadFolderSettings(dir.Path()).Infotip, std::string(2047, 'x'));
}

TEST(FolderSettings, WriteKeepsWhatItDoesNotKnow)
{
    TempDir dir;
    dir.WriteFile("desktop.ini", "[.ShellClassInfo]\r\nConfirmFileOp=0\r\nCLSID=old\r\n"
                                 "[ViewState]\r\nMode=4\r\n");
    TDTItem item = ReadFolderSettings(dir.Path());
    item.Infotip = "tip";
    WriteFolderSettings(item);
    const std::string text = ReadFileBytes(dir.Path() + "DeskTop.Ini");
    EXPECT_NE(text.find("ConfirmFileOp=0\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[ViewState]\r\nMode=4\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("CLSID=old\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Infotip=tip\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("CLSID", text.find("CLSID") + 1), std::string::npos) << "no key written twice";
}

TEST(FolderSettings, WriteAddsTheSystemAttributeToWhatTheFolderHas)
{
    TempDir dir;
    const std::string plain = dir.MakeDir("Plain");
    const std::string hidden = dir.MakeDir("Hidden");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteFolderSettings(DisguisedItem(plain));
    WriteFolderSettings(DisguisedItem(hidden));
    for (const std::string& folder : {plain, hidden})
        EXPECT_EQ(AttributesOf(folder + "DeskTop.Ini"), DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) << folder;
    EXPECT_EQ(AttributesOf(plain), DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(AttributesOf(hidden), DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

TEST(FolderSettings, LineBreaksInAValueCannotAddKeysOrSections)
{
    TempDir dir;
    TDTItem item = ReadFolderSettings(dir.Path());
    item.Infotip = "first\r\n[evil]\rCLSID=x\nlast";
    WriteFolderSettings(item);
    const TDTItem back = ReadFolderSettings(dir.Path());
    EXPECT_EQ(back.Infotip, "first [evil] CLSID=x last");
    EXPECT_EQ(back.CLSID, "");
    EXPECT_EQ(ReadFileBytes(dir.Path() + "DeskTop.Ini").find("\n[evil]"), std::string::npos);
}

TEST(FolderSettings, FailedWriteNamesTheFileAndChangesNothing)
{
    TempDir dir;
    const std::string folder = dir.MakeDir("Locked");
    const std::string file = folder + "DeskTop.Ini";
    const std::string before = "[.ShellClassInfo]\r\nCLSID=kept\r\n";
    dir.WriteFile("Locked\\DeskTop.Ini", before);
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
    {
        // Another program holds the file open without sharing it.
        ScopedFile lock(CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        try {
            WriteFolderSettings(DisguisedItem(folder));
            FAIL() << "the write went through a locked file";
        } catch (const EWriteError& e) {
            EXPECT_EQ(e.Message(), "Unable to write to " + file);
        }
    }
    EXPECT_EQ(ReadFileBytes(file), before);
    EXPECT_EQ(AttributesOf(folder), DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN)) << "attributes untouched";

    try {
        WriteFolderSettings(DisguisedItem(dir.Path() + "NoSuchFolder\\"));
        FAIL() << "wrote into a folder that does not exist";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + dir.Path() + "NoSuchFolder\\DeskTop.Ini");
    }
}

TEST(FolderSettings, RemoveDeletesHiddenSystemAndReadOnlyFiles)
{
    TempDir dir;
    RemoveFolderSettings(dir.Path());  // nothing there: nothing happens
    WriteFolderSettings(DisguisedItem(dir.Path()));
    const std::string file = dir.Path() + "DeskTop.Ini";
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    RemoveFolderSettings(dir.Path());
    EXPECT_FALSE(FileExists(file));
    EXPECT_EQ(AttributesOf(dir.Path()), DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM))
        << "the folder keeps its system attribute";
}

TEST(FolderSettings, NotifyShellSendsOneNotification)
{
    ShellNotifications notifications;
    NotifyShell();
    EXPECT_EQ(notifications.Count(), 1);
}
