#include "DialogFixture.h"
#include "dialogs/Adorn.h"
#include "dialogs/Pretend.h"
#include "skin/FormShape.h"
#include "toolkit/graphics/Bitmap.h"
#include "engine/DisguiseTargets.h"
#include "skin/BmpButton.h"
#include "toolkit/controls/CheckBox.h"
#include "toolkit/core/CommandLine.h"
#include "toolkit/controls/RadioButton.h"
#include "toolkit/core/Application.h"
#include "toolkit/core/Exception.h"

namespace {

const std::string RecycleBin = DisguiseTargets[1].Clsid;
const std::string MyComputer = DisguiseTargets[7].Clsid;

// The radio buttons the platform shows checked, by number.
std::vector<int> CheckedOnScreen(TFormPretend& form)
{
    std::vector<int> checked;
    for (int n = 1; n <= 8; ++n)
        if (SendMessageA(form.RadioButton(n).Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED)
            checked.push_back(n);
    return checked;
}

std::string WithDisguise(const std::string& clsid)
{
    return "[.ShellClassInfo]\r\nCLSID=" + clsid + "\r\nInfotip=An old tip\r\n";
}

using PretendDialog = DialogTest;

TEST_F(PretendDialog, OpensOnTheCurrentDisguiseAndWritesTheOneClickedWithoutTip)
{
    LoadFolder(WithDisguise(RecycleBin));
    auto form = MakeForm<TFormPretend>();
    std::vector<int> atOpen, afterClick;
    const TModalResult result = RunModal(*form, {
        [&] {
            atOpen = CheckedOnScreen(*form);
            SendMessageA(form->RadioButton(8).Handle(), BM_CLICK, 0, 0);
            afterClick = CheckedOnScreen(*form);
            EXPECT_EQ(TheFolderCtrl->Current.CLSID, MyComputer) << "a click goes to the controller at once";
            EXPECT_EQ(Setting(ShellClassInfo, "CLSID"), RecycleBin) << "nothing is written before OK";
            return true;
        },
        Click(*form, form->BmpButton(1)),
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(atOpen, std::vector<int>{2});
    EXPECT_EQ(afterClick, std::vector<int>{8});
    EXPECT_EQ(Setting(ShellClassInfo, "CLSID"), MyComputer);
    EXPECT_EQ(Setting(ShellClassInfo, "Infotip"), "") << "confirming a disguise removes the tip";
}

TEST_F(PretendDialog, NoOrAnUnknownDisguiseChecksNothingAndOkKeepsIt)
{
    int n = 0;
    for (const std::string clsid : {"", "{11111111-2222-3333-4444-555555555555}", "{645ff040-5081-101b-9f08-00aa002f954e}"}) {
        SCOPED_TRACE("CLSID " + clsid);
        LoadFolder(WithDisguise(clsid), "Folder" + std::to_string(++n));
        auto form = MakeForm<TFormPretend>();
        std::vector<int> atOpen{-1};
        EXPECT_EQ(RunModal(*form, {[&] {
                                       atOpen = CheckedOnScreen(*form);
                                       return true;
                                   },
                                   Click(*form, form->BmpButton(1))}),
                  mrOk);
        EXPECT_TRUE(atOpen.empty());
        EXPECT_EQ(Setting(ShellClassInfo, "CLSID"), clsid);
    }
}

TEST_F(PretendDialog, CancelAndTheCloseGlyphWriteNothing)
{
    const std::string settings = WithDisguise(RecycleBin);
    LoadFolder(settings);
    for (int button : {2, 10}) {
        SCOPED_TRACE("BmpButton" + std::to_string(button));
        auto form = MakeForm<TFormPretend>();
        bool minimiseShown = true;
        EXPECT_EQ(RunModal(*form, {[&] {
                                       minimiseShown = IsWindowVisible(form->BmpButton(9).Handle());
                                       SendMessageA(form->RadioButton(5).Handle(), BM_CLICK, 0, 0);
                                       return true;
                                   },
                                   Click(*form, form->BmpButton(button))}),
                  mrCancel);
        EXPECT_FALSE(minimiseShown) << "the minimise glyph is hidden";
        EXPECT_EQ(ReadFileBytes(folder + "DeskTop.Ini"), settings);
    }
}

TEST_F(PretendDialog, ApplyToFolderOnlyFromExplorerAndShowingTheControllersChoice)
{
    LoadFolder(WithDisguise(RecycleBin));
    const std::string sub = dir.MakeDir("Folder\\Sub");
    {
        TCommandLineScope windowStart(TCommandLine("Quorrel.exe", "Quorrel.exe", NoLeadBytes));
        auto form = MakeForm<TFormPretend>();
        EXPECT_FALSE(form->AlppeSubDirectory().Visible());
    }
    TCommandLineScope verbStart(TCommandLine("Quorrel.exe Pretend \"" + folder + "\"", "Quorrel.exe", NoLeadBytes));
    TheFolderCtrl->SetApplyToSubfolders(true);
    auto form = MakeForm<TFormPretend>();
    ASSERT_TRUE(form->AlppeSubDirectory().Visible());
    bool shownChecked = false;
    EXPECT_EQ(RunModal(*form, {[&] {
                                   shownChecked = SendMessageA(form->AlppeSubDirectory().Handle(), BM_GETCHECK, 0, 0) ==
                                                  BST_CHECKED;
                                   return true;
                               },
                               Click(*form, form->BmpButton(1))}),
              mrOk);
    EXPECT_TRUE(shownChecked) << "the box shows what OK is going to do";
    EXPECT_TRUE(FileExists(sub + "DeskTop.Ini")) << "and OK did it";

    // Unticking it is the controller's choice from then on.
    auto again = MakeForm<TFormPretend>();
    EXPECT_EQ(RunModal(*again, {Click(*again, again->AlppeSubDirectory()), Click(*again, again->BmpButton(2))}),
              mrCancel);
    EXPECT_FALSE(TheFolderCtrl->ApplyToSubfolders);
}

} // namespace

// Where no main window exists (a start from Explorer) a dialog stands alone: no owner, a task
// bar button of its own and the program's icon; the main window's dialogs stay owned by it.
TEST_F(PretendDialog, AStandaloneDialogHasNoOwnerATaskBarButtonAndTheProgramsIcon)
{
    LoadFolder("");
    TForm main;
    main.HandleNeeded();
    Application.SetMainForm(&main);
    auto owned = MakeForm<TFormPretend>();
    owned->HandleNeeded();
    auto alone = MakeForm<TFormPretend>();
    alone->SetStandalone(true);
    alone->HandleNeeded();
    Application.SetMainForm(nullptr);

    EXPECT_EQ(GetWindow(owned->Handle(), GW_OWNER), main.Handle());
    EXPECT_FALSE(GetWindowLongA(owned->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(alone->Handle(), GW_OWNER), nullptr);
    EXPECT_TRUE(GetWindowLongA(alone->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    const HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, 32, 32, LR_SHARED);
    ASSERT_NE(icon, nullptr) << "the test program carries the program's icon";
    EXPECT_EQ(reinterpret_cast<HANDLE>(SendMessageA(alone->Handle(), WM_GETICON, ICON_BIG, 0)), icon);
    EXPECT_EQ(SendMessageA(owned->Handle(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_THROW(alone->SetStandalone(false), Exception) << "the window is made already";

    // With no main window at all, OK writes as from the main window.
    EXPECT_EQ(RunModal(*alone, {Click(*alone, alone->BmpButton(1))}), mrOk);
    EXPECT_EQ(Setting(ShellClassInfo, "Infotip"), "");
}

// A dialog made and never shown (the two a window start makes) holds none of its pictures;
// they are read when its window is made.
TEST_F(PretendDialog, PicturesAreReadWhenTheWindowIsMade)
{
    LoadFolder("");
    for (const bool adorn : {false, true}) {
        std::unique_ptr<TFolderDialog> form;
        if (adorn)
            form = MakeForm<TFormAdorn>();
        else
            form = MakeForm<TFormPretend>();
        TFormShape& skin = form->Component<TFormShape>("FormShape1");
        EXPECT_EQ(skin.Picture().Width(), 0) << adorn;
        EXPECT_TRUE(form->BmpButton(1).Bitmaps().Up().Empty()) << adorn;
        form->HandleNeeded();
        EXPECT_EQ(skin.Picture().Width(), 491) << adorn;
        EXPECT_FALSE(form->BmpButton(1).Bitmaps().Up().Empty()) << adorn;
    }
}
