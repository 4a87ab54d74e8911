#include "engine/FolderSettings.h"

#include "engine/SettingsFiles.h"
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
        } catch (const ESettingsFileError& e) {
            EXPECT_EQ(e.Message(), "Unable to write to " + file);
            EXPECT_FALSE(e.Reason().empty());
        }
        EXPECT_THROW(RemoveFolderSettings(folder), ESettingsFileError) << "Default cannot take it either";
    }
    EXPECT_EQ(ReadFileBytes(file), before);
    EXPECT_EQ(AttributesOf(folder), DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN)) << "attributes untouched";
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"DeskTop.Ini"}) << "no temporary file left";

    // A read-only file is refused as the platform's writer refuses it.
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(WriteFolderSettings(DisguisedItem(folder)), ESettingsFileError);
    EXPECT_EQ(ReadFileBytes(file), before);

    // A folder of that name is in the way.
    const std::string odd = dir.MakeDir("Odd\\DeskTop.Ini");
    try {
        WriteFolderSettings(DisguisedItem(dir.Path() + "Odd\\"));
        FAIL() << "wrote over a folder";
    } catch (const ESettingsFileError& e) {
        EXPECT_EQ(e.Reason(), "A folder named DeskTop.Ini is in the way.");
    }
    EXPECT_EQ(NamesIn(dir.Path() + "Odd\\"), std::vector<std::string>{"DeskTop.Ini"});
    EXPECT_NO_THROW(RemoveFolderSettings(dir.Path() + "Odd\\")) << "nothing of ours to take out";
    EXPECT_EQ(AttributesOf(odd), DWORD(FILE_ATTRIBUTE_DIRECTORY));

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

// ---- Default takes out what this program writes, and nothing else.

TEST(FolderSettingsRemove, OurKeysAndTheSectionsTheyLeaveEmptyGoTheRestStays)
{
    TempDir dir;
    const std::string file = dir.WriteFile("DeskTop.Ini", "[.ShellClassInfo]\r\nConfirmFileOp=0\r\nCLSID=x\r\n"
                                                          "Infotip=t\r\n[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n"
                                                          "IconArea_Text=0x00FF0000\r\n[Other]\r\nCLSID=theirs\r\n");
    const DWORD readOnlyHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    SetFileAttributesA(file.c_str(), readOnlyHidden);
    SetFileAttributesA(dir.Path().c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    RemoveFolderSettings(dir.Path());
    EXPECT_EQ(ReadFileBytes(file), "[.ShellClassInfo]\r\nConfirmFileOp=0\r\n[Other]\r\nCLSID=theirs\r\n")
        << "a key of our name in another tool's section is not ours";
    EXPECT_EQ(AttributesOf(file), readOnlyHidden) << "the file keeps its attributes";
    EXPECT_EQ(AttributesOf(dir.Path()), DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        << "the folder keeps its attributes: Explorer needs them for what is left";
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"DeskTop.Ini"});

    // Nothing of ours in it: not even rewritten (the platform's writer would drop blank lines).
    const std::string theirs = "\r\n[.ShellClassInfo]\r\nLocalizedResourceName=@x.dll,-1\r\n\r\n[ViewState]\r\nMode=\r\n";
    dir.WriteFile("DeskTop.Ini", theirs);
    RemoveFolderSettings(dir.Path());
    EXPECT_EQ(ReadFileBytes(file), theirs);
}

TEST(FolderSettingsRemove, WindowsOwnFileKeepsItsEntriesAndEncodingThroughAdornAndDefault)
{
    TempDir dir;
    const std::string original = Utf16File(kDocumentsIni);
    dir.WriteFile("desktop.ini", original);
    TDTItem item = ReadFolderSettings(dir.Path());
    item.Infotip = "Ωmega 写真 🙂 Фото";
    item.IconFile = "C:\\Icons\\Café.ico";
    item.IconIndex = "2";
    WriteFolderSettings(item);

    const std::string file = dir.Path() + "DeskTop.Ini";
    const std::string written = ReadFileBytes(file);
    ASSERT_TRUE(written.starts_with("\xFF\xFE")) << "a Unicode file stays Unicode";
    EXPECT_EQ(ReadFolderSettings(dir.Path()), item);
    EXPECT_EQ(ValueInFile(file, ".ShellClassInfo", "LocalizedResourceName"), "@%SystemRoot%\\system32\\shell32.dll,-21770");
    EXPECT_EQ(ValueInFile(file, "LocalizedFileNames", "Фото.jpg"), "@%SystemRoot%\\system32\\shell32.dll,-21779");
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"desktop.ini"}) << "the file keeps its name";

    RemoveFolderSettings(dir.Path());
    const std::string restored = ReadFileBytes(file);
    EXPECT_EQ(WithoutBlankLines(TextOfUtf16File(restored)), WithoutBlankLines(kDocumentsIni))
        << "everything but our keys, in UTF-16, line for line";
}

// ---- The file's encoding: what Explorer, reading in the system's legacy code page, reads right.

TEST(FolderSettingsEncoding, AsciiStaysAsciiAndOtherTextMakesTheFileUtf16)
{
    TempDir dir;
    const std::string file = dir.WriteFile("DeskTop.Ini", "[.ShellClassInfo]\r\nConfirmFileOp=0\r\n");
    TDTItem item = DisguisedItem(dir.Path());
    WriteFolderSettings(item);
    EXPECT_FALSE(ReadFileBytes(file).starts_with("\xFF\xFE"));
    EXPECT_NE(ReadFileBytes(file).find("ConfirmFileOp=0\r\n"), std::string::npos);

    item.Infotip = "Фото";
    WriteFolderSettings(item);
    EXPECT_EQ(ReadFileBytes(file), Utf16File("[.ShellClassInfo]\r\nConfirmFileOp=0\r\n"
                                             "CLSID={645FF040-5081-101B-9F08-00AA002F954E}\r\n"
                                             "IconFile=%SystemRoot%\\system32\\shell32.dll\r\nIconIndex=3\r\n"
                                             "Infotip=Фото\r\n[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n"
                                             "IconArea_Image=\r\nIconArea_Text=0x00000000\r\n"));
    EXPECT_EQ(ReadFolderSettings(dir.Path()).Infotip, "Фото");

    // A new file with such text is UTF-16 from the start.
    const std::string fresh = dir.MakeDir("Ωmega");
    item.Path = fresh;
    WriteFolderSettings(item);
    EXPECT_EQ(TextOfUtf16File(ReadFileBytes(fresh + "DeskTop.Ini")).find("[.ShellClassInfo]\r\nCLSID="), 0u);
    EXPECT_EQ(ReadFolderSettings(fresh), item);
}

TEST(FolderSettingsEncoding, ALegacyFileIsReadInTheSystemsPageAndLosesNothing)
{
    TempDir dir;
    // An older tool's file in code page 1252: "Café crème", "René".
    const std::string legacy = "[.ShellClassInfo]\r\nInfotip=Caf\xE9 cr\xE8me\r\n[OtherTool]\r\nOwner=Ren\xE9\r\n";
    const std::string file = dir.WriteFile("DeskTop.Ini", legacy);
    TDTItem item = ReadFolderSettings(dir.Path());
    EXPECT_EQ(item.Infotip, "Café crème");
    EXPECT_EQ(ReadFileBytes(file), legacy) << "reading writes nothing";
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"DeskTop.Ini"});

    item.CLSID = RecycleBin;
    WriteFolderSettings(item);
    const std::string text = TextOfUtf16File(ReadFileBytes(file));
    EXPECT_NE(text.find("Infotip=Café crème\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[OtherTool]\r\nOwner=René\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << "no replacement character";
    EXPECT_EQ(text.find('?'), std::string::npos);

    // Default on a legacy file gives it back in its own page, without our keys.
    dir.WriteFile("DeskTop.Ini", "[.ShellClassInfo]\r\nCLSID=x\r\nInfotip=Caf\xE9\r\n[OtherTool]\r\nOwner=Ren\xE9\r\n");
    RemoveFolderSettings(dir.Path());
    EXPECT_EQ(ReadFileBytes(file), "[OtherTool]\r\nOwner=Ren\xE9\r\n");
}

// ---- Any depth.

TEST(FolderSettings, AFolderDeeperThanTheOldLimitIsReadWrittenCopiedAndRestored)
{
    TempDir dir;
    std::string relative;
    for (int level = 0; relative.size() < 320; ++level)
        relative += "level-" + std::to_string(level) + "-Ωmega-folder\\";
    const std::string deep = dir.MakeDir(relative);
    ASSERT_GT(deep.size(), 300u);
    TDTItem item = DisguisedItem(deep);
    item.Infotip = "deep";
    WriteFolderSettings(item);
    EXPECT_EQ(ReadFolderSettings(deep), item);
    EXPECT_EQ(AttributesOf(deep + "DeskTop.Ini"), DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(AttributesOf(deep), DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM));

    const std::string below = dir.MakeDir(relative + "below");
    CopySettingsInto(below, FreshSettingsBytes(item));
    EXPECT_EQ(ReadFileBytes(below + "DeskTop.Ini"), ReadFileBytes(deep + "DeskTop.Ini"));
    EXPECT_EQ(AttributesOf(below), DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM));

    RemoveFolderSettings(deep);
    RemoveFolderSettings(below);
    EXPECT_EQ(NamesIn(deep), std::vector<std::string>{"below"});
    EXPECT_TRUE(NamesIn(below).empty());
}
