// The dialogs that the Adorn and Pretend actions open in Quorrel.exe, started from Explorer's
// entries and from the main window, and the progress of long work.
#include "e2e/ProgramRun.h"
#include "e2e/RemoteTree.h"
#include "e2e/VerbDialogs.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

// The dialogs' OK and Cancel, by their places on the dialog skin.
constexpr POINT kOk{261 + 54, 293 + 19};
constexpr POINT kCancel{370 + 54, 293 + 19};
constexpr POINT kPretendButton{368 + 54, 232 + 19};

} // namespace

TEST(PretendVerb, ShowsTheCurrentTargetAndOkWritesTheChosenOneWithAnEmptyTip)
{
    const ProgramCopy program;
    const DisguisedFolder disguised;
    ProgramRun run(program, "Pretend " + Quoted(disguised.folder));
    HWND dialog = run.WaitForWindow(Titled("Pretend Folder"));
    ASSERT_NE(dialog, nullptr);
    ExpectAWindowOfItsOwn(run, dialog);
    HWND bin = ButtonCaptioned(dialog, "Recycle Bin");
    HWND panel = ButtonCaptioned(dialog, "Control Panel");
    ASSERT_NE(bin, nullptr);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(Checked(bin));
    EXPECT_FALSE(Checked(panel));
    // Started from Explorer, the dialog offers its own box.
    HWND box = ButtonCaptioned(dialog, "Apply to folder");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(IsWindowVisible(box));

    SendMessageA(panel, BM_CLICK, 0, 0);
    EXPECT_FALSE(Checked(bin));
    ClickAt(ChildAt(dialog, kOk), {54, 19});
    EXPECT_EQ(run.WaitForExit(), 0u);
    EXPECT_EQ(SettingOf(disguised.folder, ".ShellClassInfo", "CLSID"), kControlPanel);
    EXPECT_EQ(SettingOf(disguised.folder, ".ShellClassInfo", "InfoTip"), "");
    for (HWND w : run.Windows())
        EXPECT_FALSE(IsMainWindow(w));
}

TEST(PretendVerb, CancelWritesNothing)
{
    const ProgramCopy program;
    const DisguisedFolder disguised;
    ProgramRun run(program, "Pretend " + Quoted(disguised.folder));
    HWND dialog = run.WaitForWindow(Titled("Pretend Folder"));
    ASSERT_NE(dialog, nullptr);
    SendMessageA(ButtonCaptioned(dialog, "Control Panel"), BM_CLICK, 0, 0);
    ClickAt(ChildAt(dialog, kCancel), {54, 19});
    EXPECT_EQ(run.WaitForExit(), 0u);
    EXPECT_EQ(ReadFileBytes(disguised.folder + kSettings), disguised.bytes);
}

TEST(AdornVerb, ADriveRootOffersOnlyTheIconPageAndAFolderAllFour)
{
    const ProgramCopy program;
    {
        ProgramRun run(program, "Adorn \"C:\\\"");
        HWND dialog = run.WaitForWindow(Titled("Adorn Folder"));
        ASSERT_NE(dialog, nullptr);
        ExpectAWindowOfItsOwn(run, dialog);
        EXPECT_EQ(TabCount(dialog), 1);
        ClickAt(ChildAt(dialog, kCancel), {54, 19});
        EXPECT_EQ(run.WaitForExit(), 0u);
    }
    const TempDir temp;
    ProgramRun run(program, "Adorn " + Quoted(temp.MakeDir("Plain")));
    HWND dialog = run.WaitForWindow(Titled("Adorn Folder"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TabCount(dialog), 4);
    ClickAt(ChildAt(dialog, kCancel), {54, 19});
    EXPECT_EQ(run.WaitForExit(), 0u);
    EXPECT_FALSE(FileExists(temp.Path() + "Plain\\" + kSettings));
}

TEST(AdornVerb, ABackgroundPictureOfAnUnknownKindGivesTheErrorBoxAndNoDialog)
{
    const ProgramCopy program;
    const TempDir temp;
    const std::string folder = temp.MakeDir("Pictured");
    const std::string picture = temp.WriteFile("back.png", "not looked at");
    const std::string bytes = "[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\nIconArea_Image=" + picture + "\r\n";
    temp.WriteFile("Pictured\\" + std::string(kSettings), bytes);
    ProgramRun run(program, "Adorn " + Quoted(folder));
    HWND box = run.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Unknown picture file extension (.png)");
    EXPECT_EQ(run.WaitForWindow(Titled("Adorn Folder"), 300), nullptr);
    PressDialogButton(box, IDOK);
    // An error of the verb's work ends in a window start.
    HWND main = run.WaitForWindow(IsMainWindow);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(run.WaitForWindow(Titled("Adorn Folder"), 300), nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
    EXPECT_EQ(ReadFileBytes(folder + kSettings), bytes);
}

TEST(MainWindow, ABoxTickedInADialogAndCancelledShowsTickedInTheMainWindow)
{
    const ProgramCopy program;
    const DisguisedFolder disguised;
    // A word that is no verb, and a folder: a window start whose dialogs offer their own box.
    MainWindowOn window(program, "pretend " + Quoted(disguised.folder), disguised.folder);
    EXPECT_FALSE(Checked(window.box));
    ClickAt(ChildAt(window.main, kPretendButton), {54, 19});
    HWND dialog = window.run.WaitForWindow(Titled("Pretend Folder"));
    ASSERT_NE(dialog, nullptr);
    HWND dialogBox = ButtonCaptioned(dialog, "Apply to folder");
    ASSERT_NE(dialogBox, nullptr);
    SendMessageA(dialogBox, BM_CLICK, 0, 0);
    ClickAt(ChildAt(dialog, kCancel), {54, 19});
    ASSERT_TRUE(window.run.WaitUntilGone(dialog));
    // The setting stays with the controller, and the main window says so.
    EXPECT_TRUE(WaitFor([&] { return Checked(window.box); }, 3000));
    EXPECT_EQ(ReadFileBytes(disguised.folder + kSettings), disguised.bytes);
    PostMessageA(window.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(window.run.WaitForExit(), 0u);
}

TEST(MainWindow, DefaultOnALargeTreeShowsProgressAndTheWindowsKeepAnswering)
{
    const ProgramCopy program;
    const TempDir temp;
    const std::string root = temp.MakeDir("Large");
    for (int a = 0; a < 60; ++a)
        for (int b = 0; b < 60; ++b) {
            const std::string relative = "Large\\" + std::to_string(a) + "\\" + std::to_string(b);
            temp.MakeDir(relative);
            temp.WriteFile(relative + "\\" + kSettings, "[.ShellClassInfo]\r\nInfoTip=x\r\n");
        }
    MainWindowOn window(program, "", root);
    SendMessageA(window.box, BM_CLICK, 0, 0);
    ClickAt(ChildAt(window.main, kDefaultButton), {54, 19});
    // The progress window: the program's title as caption, neither the main window nor a box.
    HWND progress = window.run.WaitForWindow(
        [&](HWND w) { return w != window.main && ClassOf(w) != "#32770" && WindowText(w) == "Quorrel"; }, 20000);
    ASSERT_NE(progress, nullptr);
    int answered = 0;
    while (IsWindowVisible(progress) && answered < 5) {
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(window.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 250, &result))
            ++answered;
        Pause(20);
    }
    EXPECT_GE(answered, 1) << "the program took no message while it worked";
    ASSERT_TRUE(window.run.WaitUntilGone(progress, 60000));
    EXPECT_FALSE(FileExists(root + "59\\59\\" + kSettings));
    PostMessageA(window.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(window.run.WaitForExit(), 0u);
}
