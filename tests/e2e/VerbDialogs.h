#pragma once
// What the tests of the dialogs that Explorer's entries open share: a folder disguised as the
// Recycle Bin, and the check that such a dialog is a window of its own.
#include "e2e/ProgramRun.h"

#include <gtest/gtest.h>

#include <string>

inline constexpr const char* kRecycleBin = "{645FF040-5081-101B-9F08-00AA002F954E}";
inline constexpr const char* kControlPanel = "{21EC2020-3AEA-1069-A2DD-08002B30309D}";

// A folder disguised as the Recycle Bin, with an info tip.
struct DisguisedFolder {
    TempDir temp;
    std::string folder = temp.MakeDir("Bin");
    std::string bytes = "[.ShellClassInfo]\r\nCLSID=" + std::string(kRecycleBin) + "\r\nInfoTip=kept\r\n";
    DisguisedFolder() { temp.WriteFile("Bin\\" + std::string(kSettings), bytes); }
};

// A verb start's dialog is all the program shows: a window of its own in the task bar, in
// front; no main window, not even a hidden one. (Its icon is tested in-process: Wine answers
// no icon to another process.)
inline void ExpectAWindowOfItsOwn(const ProgramRun& run, HWND dialog)
{
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }, 3000)) << "not in front";
    for (HWND w : run.AllWindows())
        EXPECT_FALSE(IsMainWindow(w)) << "a main window was made";
}
