#include "engine/SettingsText.h"

#include <gtest/gtest.h>

TEST(SettingsText, OnlyAFileOfOurKeysAloneIsSaidToHoldNothingElse)
{
    // What this program writes, in any line ending, letter case and spacing the writers use.
    EXPECT_TRUE(HoldsOnlyOurKeys(L"[.ShellClassInfo]\r\nCLSID={645FF040-5081-101B-9F08-00AA002F954E}\r\n"
                                 L"IconFile=%SystemRoot%\\system32\\shell32.dll\r\nIconIndex=3\r\nInfotip=\r\n"
                                 L"[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\nIconArea_Image=\r\n"
                                 L"IconArea_Text=0x00000000\r\n"));
    EXPECT_TRUE(HoldsOnlyOurKeys(L"\n  [.shellclassinfo]  \n\tInfoTip = \u0424\u043e\u0442\u043e\n\n"));
    EXPECT_TRUE(HoldsOnlyOurKeys(L"[.ShellClassInfo]\rCLSID=x\rCLSID=y"));

    const wchar_t* others[] = {
        L"",                                                              // nothing of ours either
        L"[.ShellClassInfo]\r\n",                                         // a section, no key
        L"[.ShellClassInfo]\r\nCLSID=x\r\nConfirmFileOp=0\r\n",           // a key of Windows'
        L"[.ShellClassInfo]\r\nCLSID=x\r\n[ViewState]\r\nMode=\r\n",      // a section of Windows'
        L"[Other]\r\nCLSID=x\r\n",                                        // our name, their section
        L"CLSID=x\r\n[.ShellClassInfo]\r\nInfotip=t\r\n",                 // before any section
        L"[.ShellClassInfo]\r\n; a note\r\nInfotip=t\r\n",                // a comment
        L"[.ShellClassInfo]\r\nInfotip\r\n",                              // a line without "="
        L"[.ShellClassInfo\r\nInfotip=t\r\n",                             // a broken section line
        L"[.ShellClassInfo]\r\nLocalizedResourceName=@shell32.dll,-21770", // Documents' name
    };
    for (const wchar_t* text : others)
        EXPECT_FALSE(HoldsOnlyOurKeys(text)) << ::testing::PrintToString(std::wstring(text));
}
