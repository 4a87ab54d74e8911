// Both dialogs as the screen shows them, every page, saved as screenshots (.bmp that the build
// turns into .png) in $QUORREL_SCREENSHOTS; what must merge with the skin is read back.
#include "DialogFixture.h"
#include "dialogs/Adorn.h"
#include "dialogs/Pretend.h"
#include "dialogs/Progress.h"
#include "engine/DisguiseTargets.h"
#include "support/ContrastTheme.h"
#include "toolkit/core/Application.h"
#include "skin/BmpButton.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/controls/CheckBox.h"
#include "toolkit/core/CommandLine.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Memo.h"
#include "toolkit/controls/PageControl.h"
#include "toolkit/controls/Panel.h"

namespace {

constexpr int kMargin = 10;
constexpr COLORREF kBody = RGB(222, 222, 222);

// Lets the dialog paint (its buttons ask for the skin under them), then captures it.
DriverStep Shoot(TForm& form, const std::string& name, std::unique_ptr<TBitmap>& shot)
{
    int ticks = 0;
    return [&form, name, &shot, ticks]() mutable {
        if (++ticks < 6)
            return false;
        shot = CaptureWindow(form.Handle(), kMargin);
        SaveScreenshot(*shot, name);
        return true;
    };
}

// The colour of a point of the form's client area in a capture.
COLORREF At(TBitmap& shot, int x, int y)
{
    return PixelOf(shot, kMargin + x, kMargin + y);
}

// The colour of a point of a control in a capture of its form.
COLORREF At(TBitmap& shot, TForm& form, TControl& control, int x, int y)
{
    const POINT p = control.ClientToScreen({x, y});
    RECT window{};
    GetWindowRect(form.Handle(), &window);
    return PixelOf(shot, kMargin + p.x - window.left, kMargin + p.y - window.top);
}

// Every pixel of the box's row right of its caption is the body grey, as is the skin beside it.
void ExpectBoxMergesWithTheSkin(TBitmap& shot, TCheckBox& box)
{
    const int y = box.Top() + box.Height() / 2;
    for (int x = box.Left() + box.Width() - 20; x < box.Left() + box.Width() + 20; ++x)
        ASSERT_EQ(At(shot, x, y), kBody) << "at " << x << ", " << y;
}

using DialogScreenshots = DialogTest;

TEST_F(DialogScreenshots, PretendWithTheBoxOfAnExplorerStart)
{
    LoadFolder(std::string("[.ShellClassInfo]\r\nCLSID=") + DisguiseTargets[1].Clsid + "\r\n");
    TCommandLineScope verbStart(TCommandLine("Quorrel.exe Pretend \"" + folder + "\"", "Quorrel.exe", NoLeadBytes));
    auto form = MakeForm<TFormPretend>();
    std::unique_ptr<TBitmap> shot;
    EXPECT_EQ(RunModal(*form, {Shoot(*form, "pretend", shot), Click(*form, form->BmpButton(2))}), mrCancel);
    ASSERT_TRUE(shot);
    ExpectBoxMergesWithTheSkin(*shot, form->AlppeSubDirectory());
    // The targets' icons stand on the white panel as drawn.
    auto& icon = form->Component<TImage>("Image2");
    for (int y = 4; y < 32; y += 9)
        for (int x = 4; x < 32; x += 9)
            EXPECT_EQ(At(*shot, *form, icon, x, y), PixelOf(icon.Picture().Bitmap(), x, y)) << x << ", " << y;
}

TEST_F(DialogScreenshots, AdornEveryPage)
{
    LoadFolder("[.ShellClassInfo]\r\nInfotip=Holiday pictures, 2019 to 2023\r\n[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n"
               "IconArea_Text=0x00C00000\r\n");
    TCommandLineScope verbStart(TCommandLine("Quorrel.exe Adorn \"" + folder + "\"", "Quorrel.exe", NoLeadBytes));
    auto form = MakeForm<TFormAdorn>();
    const TDTItem& item = TheFolderCtrl->Current;
    TheFolderCtrl->DrawIcon(form->Image1(), item.IconFile, std::stoi(item.IconIndex));
    form->FolderTip().SetText(item.Infotip);
    form->Label1().Font().SetColor(static_cast<TColor>(0xC00000));
    // A background picture: a blue to white gradient.
    TBitmap& picture = form->Image2().Picture().Bitmap();
    picture.SetSize(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            picture.Canvas().SetPixel(x, y, RGB(60 + 3 * x, 120 + 2 * y, 230));

    std::unique_ptr<TBitmap> icon, tip, color, background;
    auto page = [&](int index) {
        return [&form, index] {
            form->PageControl1().SetActivePageIndex(index);
            return true;
        };
    };
    EXPECT_EQ(RunModal(*form, {Shoot(*form, "adorn-icon", icon), page(1), Shoot(*form, "adorn-tip", tip), page(2),
                               Shoot(*form, "adorn-color", color), page(3),
                               Shoot(*form, "adorn-background", background), Click(*form, form->BmpButton(2))}),
              mrCancel);
    ASSERT_TRUE(icon && tip && color && background);
    ExpectBoxMergesWithTheSkin(*icon, form->AlppeSubDirectory());
    // The sample text is drawn in the folder's colour somewhere on its label.
    TLabel& label = form->Label1();
    int inColour = 0;
    for (int y = 0; y < label.Height(); ++y)
        for (int x = 0; x < label.Width(); ++x)
            inColour += At(*color, *form, label, x, y) == 0xC00000;
    // ... and ends before the label does: nothing of it is cut off at the right.
    for (int y = 0; y < label.Height(); ++y)
        EXPECT_NE(At(*color, *form, label, label.Width() - 1, y), 0xC00000u) << "row " << y;
    EXPECT_GT(inColour, 50);
}

// In a contrast theme: the body, the card, the tabs and the words in the theme's colours.
TEST_F(DialogScreenshots, BothDialogsAndTheProgressWindowInAContrastTheme)
{
    LoadFolder(std::string("[.ShellClassInfo]\r\nCLSID=") + DisguiseTargets[1].Clsid + "\r\nInfotip=Holiday pictures\r\n");
    TCommandLineScope verbStart(TCommandLine("Quorrel.exe Pretend \"" + folder + "\"", "Quorrel.exe", NoLeadBytes));
    const ContrastTheme theme;
    const COLORREF face = GetSysColor(COLOR_BTNFACE), text = GetSysColor(COLOR_BTNTEXT);
    {
        auto form = MakeForm<TFormPretend>();
        std::unique_ptr<TBitmap> shot;
        EXPECT_EQ(RunModal(*form, {Shoot(*form, "pretend-contrast", shot), Click(*form, form->BmpButton(2))}), mrCancel);
        ASSERT_TRUE(shot);
        EXPECT_EQ(At(*shot, 200, 320), face) << "the body";
        EXPECT_EQ(At(*shot, 261, 293), text) << "OK's frame";
        EXPECT_EQ(At(*shot, *form, form->Component<TPanel>("Panel2"), 150, 75), GetSysColor(COLOR_WINDOW)) << "the card";
        int captionInk = 0;
        for (int x = 44; x < 160; ++x)
            for (int y = 9; y < 29; ++y)
                captionInk += At(*shot, x, y) == text;
        EXPECT_GT(captionInk, 30) << "the dialog's name in the theme's text colour";
    }
    {
        auto form = MakeForm<TFormAdorn>();
        form->ShowSettings(TheFolderCtrl->Current);
        std::unique_ptr<TBitmap> icon, tip, color;
        const auto page = [&](int index) {
            return [&form, index] {
                form->PageControl1().SetActivePageIndex(index);
                return true;
            };
        };
        EXPECT_EQ(RunModal(*form, {Shoot(*form, "adorn-icon-contrast", icon), page(1),
                                   Shoot(*form, "adorn-tip-contrast", tip), page(2),
                                   Shoot(*form, "adorn-color-contrast", color), Click(*form, form->BmpButton(2))}),
                  mrCancel);
        ASSERT_TRUE(icon && tip && color);
        // The sample in the folder's colour (black here) stands on white, readable in any theme.
        EXPECT_EQ(At(*color, *form, form->Label1(), 1, 1), RGB(255, 255, 255));
        EXPECT_EQ(At(*icon, 200, 320), face);
        EXPECT_EQ(At(*tip, *form, form->FolderTip(), 200, 150), GetSysColor(COLOR_WINDOW));
    }
    TFormProgress progress(nullptr);
    progress.AfterConstruction();
    progress.SetProgress(1234, 2000, folder + "A12\\B3\\");
    progress.Show();
    for (int i = 0; i < 10; ++i) {
        Application.ProcessMessages();
        Sleep(20);
    }
    auto shot = CaptureWindow(progress.Handle(), kMargin);
    SaveScreenshot(*shot, "progress-contrast");
    RECT client{};
    GetClientRect(progress.Handle(), &client);
    POINT corner{4, 4};
    ClientToScreen(progress.Handle(), &corner);
    RECT window{};
    GetWindowRect(progress.Handle(), &window);
    EXPECT_EQ(PixelOf(*shot, kMargin + corner.x - window.left, kMargin + corner.y - window.top), face);
    progress.Hide();
}

} // namespace
