#include "DialogFixture.h"
#include "dialogs/Adorn.h"
#include "dialogs/Pretend.h"
#include "engine/FolderSettings.h"
#include "skin/BmpButton.h"
#include "toolkit/core/Application.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Scoped.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Memo.h"
#include "toolkit/controls/PageControl.h"
#include "toolkit/controls/TabSheet.h"
#include "toolkit/core/Exception.h"

#include <algorithm>

namespace {

const char* const IconArea = "{BE098140-A513-11D0-A3A4-00C04FD706EC}";

// The dialog filled from the loaded folder by the filling every opening uses.
std::unique_ptr<TFormAdorn> FilledAdorn()
{
    auto form = MakeForm<TFormAdorn>();
    form->ShowSettings(TheFolderCtrl->Current);
    return form;
}

// The message of the error the filling raises; empty when it raised none.
std::string FillingError()
{
    const auto form = MakeForm<TFormAdorn>();
    try {
        form->ShowSettings(TheFolderCtrl->Current);
    } catch (const Exception& e) {
        return e.Message();
    }
    return {};
}

std::string TabText(HWND pageControl, int tab)
{
    char text[64] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(pageControl, TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item));
    return text;
}

// A step that brings a page up by its tab and waits until it is the active one.
DriverStep OpenPage(TFormAdorn& form, int page)
{
    bool clicked = false;
    return [&form, page, clicked]() mutable {
        if (!clicked)
            clicked = ClickTab(form.PageControl1().Handle(), page);
        return form.PageControl1().ActivePageIndex() == page;
    };
}

// The colour chooser's red, green and blue boxes set to pure blue.
void ChooseBlue(HWND dialog)
{
    SetDlgItemInt(dialog, 706, 0, FALSE);
    SetDlgItemInt(dialog, 707, 0, FALSE);
    SetDlgItemInt(dialog, 708, 255, FALSE);
}

using AdornDialog = DialogTest;

TEST_F(AdornDialog, FourPagesUnderTheirTabs)
{
    LoadFolder("");
    auto form = FilledAdorn();
    std::vector<std::string> tabs;
    EXPECT_EQ(RunModal(*form, {[&] {
                                   const HWND pages = form->PageControl1().Handle();
                                   for (int i = 0; i < TabCtrl_GetItemCount(pages); ++i)
                                       tabs.push_back(TabText(pages, i));
                                   return true;
                               },
                               OpenPage(*form, 3), OpenPage(*form, 1), Click(*form, form->BmpButton(2))}),
              mrCancel);
    EXPECT_EQ(tabs, (std::vector<std::string>{"Icon", "Tip", "Text color", "Background"}));
    EXPECT_FALSE(FileExists(folder + SettingsFileName)) << "Cancel writes nothing";
}

TEST_F(AdornDialog, OpensOnTheStoredColourAndIconAndNamesWhatItCannotRead)
{
    const std::string area = std::string("[") + IconArea + "]\r\n";
    LoadFolder(area + "IconArea_Text=0x00FF0000\r\n[.ShellClassInfo]\r\nInfoTip=tip\r\n");
    auto blue = FilledAdorn();
    EXPECT_EQ(blue->Label1().Font().Color(), clBlue) << "the digits are the value, red in the low byte";
    EXPECT_EQ(blue->FolderTip().Text(), "tip");
    EXPECT_EQ(blue->PageControl1().ActivePageIndex(), 0);
    LoadFolder("", "Plain");
    EXPECT_EQ(FilledAdorn()->Label1().Font().Color(), clBlack);

    const std::pair<std::string, std::string> unreadable[] = {
        {area + "IconArea_Text=0x0\r\n", "'$' is not a valid integer value"},
        {area + "IconArea_Text=0x00GG0000\r\n", "'$GG0000' is not a valid integer value"},
        {"[.ShellClassInfo]\r\nIconFile=shell32.dll\r\nIconIndex=four\r\n", "'four' is not a valid integer value"},
    };
    int n = 0;
    for (const auto& [settings, message] : unreadable) {
        SCOPED_TRACE(settings);
        LoadFolder(settings, "Bad" + std::to_string(n++));
        EXPECT_EQ(FillingError(), message);
    }
    const std::string picture = dir.WriteFile("back.png", "not looked at");
    LoadFolder(area + "IconArea_Image=" + picture + "\r\n", "Pictured");
    EXPECT_EQ(FillingError(), "Unknown picture file extension (.png)");
    // A picture that is gone is no error: the preview stays empty.
    LoadFolder(area + "IconArea_Image=" + dir.Path() + "gone.bmp\r\n", "Gone");
    EXPECT_EQ(FillingError(), "");
}

TEST_F(AdornDialog, ADriveRootOffersOnlyTheIconPageAndAFolderAllFour)
{
    TheFolderCtrl->LoadSettings("C:\\");
    auto drive = FilledAdorn();
    EXPECT_EQ(TabCtrl_GetItemCount(drive->PageControl1().Handle()), 1);
    EXPECT_EQ(TabText(drive->PageControl1().Handle(), 0), "Icon");
    LoadFolder("");
    auto folder = FilledAdorn();
    EXPECT_EQ(TabCtrl_GetItemCount(folder->PageControl1().Handle()), 4);
}

// An icon file whose path holds other scripts is drawn as the same file under a plain name.
TEST_F(AdornDialog, AnIconFileNamedInAnyScriptIsDrawn)
{
    char system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    const std::string plain = std::string(system) + "\\shell32.dll";
    const std::string named = dir.Path() + "\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE \xCE\xA9mega \xF0\x9F\x93\x81.dll";
    ASSERT_TRUE(CopyFileA(plain.c_str(), named.c_str(), FALSE)) << GetLastError();
    const auto drawn = [&](const std::string& file, const std::string& name) {
        LoadFolder("[.ShellClassInfo]\r\nIconFile=" + file + "\r\nIconIndex=3\r\n", name);
        auto form = FilledAdorn();
        TCanvas& canvas = form->Image1().Canvas();
        std::vector<TColor> pixels;
        for (int y = 0; y < form->Image1().Height(); y += 3)
            for (int x = 0; x < form->Image1().Width(); x += 3)
                pixels.push_back(canvas.Pixel(x, y));
        return pixels;
    };
    const std::vector<TColor> fromPlain = drawn(plain, "Plain"), fromNamed = drawn(named, "Named");
    ASSERT_FALSE(fromPlain.empty());
    EXPECT_TRUE(std::any_of(fromPlain.begin(), fromPlain.end(), [&](TColor c) { return c != fromPlain[0]; }))
        << "no icon drawn";
    EXPECT_EQ(fromNamed, fromPlain);
}

TEST_F(AdornDialog, OkWritesTheTipWithItsLineBreaksAsSpaces)
{
    LoadFolder("[.ShellClassInfo]\r\nInfotip=old\r\n");
    auto form = FilledAdorn();
    EXPECT_EQ(RunModal(*form, {OpenPage(*form, 1),
                               [&] {
                                   SetWindowTextA(form->FolderTip().Handle(), "First line\r\nsecond line");
                                   return true;
                               },
                               Click(*form, form->BmpButton(1))}),
              mrOk);
    EXPECT_EQ(Setting(ShellClassInfo, "Infotip"), "First line second line");
}

TEST_F(AdornDialog, IconSelectCancelledChangesNothingAndClearWipesThePreview)
{
    LoadFolder("");
    const TDTItem loaded = TheFolderCtrl->Current;
    auto form = FilledAdorn();
    ASSERT_TRUE(form->Image1().Visible()) << "the shell's folder icon is drawn";
    bool visibleAfterSelect = false;
    TDTItem afterSelect;
    std::string missingLibrary;
    EXPECT_EQ(RunModal(*form, {Click(*form, form->BmpButton(7)),
                               // No icon library beside the test program; the picker of this
                               // system answers "cancelled" at once.
                               AnswerBox(Application.Title(), "Icon.dll is not found", IDOK, &missingLibrary),
                               [&] {
                                   afterSelect = TheFolderCtrl->Current;
                                   visibleAfterSelect = form->Image1().Visible();
                                   return true;
                               },
                               Click(*form, form->BmpButton(8)), Click(*form, form->BmpButton(2))}),
              mrCancel);
    EXPECT_EQ(missingLibrary, "Icon.dll is not found. Please reinstall this program.");
    EXPECT_EQ(afterSelect, loaded);
    EXPECT_TRUE(visibleAfterSelect);
    EXPECT_EQ(TheFolderCtrl->Current.IconFile, "");
    EXPECT_EQ(TheFolderCtrl->Current.IconIndex, "0");
    EXPECT_FALSE(FileExists(folder + SettingsFileName));
}

TEST_F(AdornDialog, ColourButtonsColourTheSample)
{
    LoadFolder(std::string("[") + IconArea + "]\r\nIconArea_Text=0x000000FF\r\n");
    auto form = FilledAdorn();
    EXPECT_EQ(form->Label1().Font().Color(), clRed);
    TColor afterSelect = clNone;
    EXPECT_EQ(RunModal(*form, {OpenPage(*form, 2), Click(*form, form->BmpButton(11)),
                               AnswerBox("Color", "", IDOK, nullptr, ChooseBlue),
                               [&] {
                                   afterSelect = form->Label1().Font().Color();
                                   return true;
                               },
                               Click(*form, form->BmpButton(12)), Click(*form, form->BmpButton(1))}),
              mrOk);
    EXPECT_EQ(afterSelect, clBlue);
    EXPECT_EQ(form->Label1().Font().Color(), clBlack);
    EXPECT_EQ(Setting(IconArea, "IconArea_Text"), "0x00000000");
}

TEST_F(AdornDialog, PictureButtonsShowAndHideThePreview)
{
    LoadFolder("");
    TBitmap picture(4, 3);
    const std::string file = dir.Path() + "picture.bmp";
    picture.SaveToFile(file);
    auto form = FilledAdorn();
    bool shownAfterSelect = false;
    std::string storedAfterSelect;
    EXPECT_EQ(RunModal(*form, {OpenPage(*form, 3), Click(*form, form->BmpButton(5)),
                               AnswerBox("Open", "", IDOK, nullptr,
                                         [file](HWND dialog) {
                                             SetDlgItemTextA(dialog, 0x47c, file.c_str());
                                             SetDlgItemTextA(dialog, 0x480, file.c_str());
                                         }),
                               [&] {
                                   shownAfterSelect = form->Image2().Visible() && form->Image2().Picture().Width() == 4;
                                   storedAfterSelect = TheFolderCtrl->Current.IconArea_Image;
                                   return true;
                               },
                               Click(*form, form->BmpButton(6)),
                               [&] {
                                   EXPECT_FALSE(form->Image2().Visible());
                                   return true;
                               },
                               Click(*form, form->BmpButton(10))}),
              mrCancel);
    EXPECT_TRUE(shownAfterSelect);
    EXPECT_EQ(storedAfterSelect, file);
    EXPECT_EQ(TheFolderCtrl->Current.IconArea_Image, "");
    // Hiding the dialog leaves no preview behind.
    EXPECT_FALSE(form->Image1().Visible());
    EXPECT_EQ(form->Image2().Picture().Graphic(), nullptr);
}

TEST_F(AdornDialog, WriteErrorIsShownAndTheDialogStillEndsWithOk)
{
    for (const char* dialog : {"Adorn", "Pretend"}) {
        SCOPED_TRACE(dialog);
        LoadFolder("[.ShellClassInfo]\r\nInfotip=old\r\n", dialog);
        const std::string file = folder + SettingsFileName;
        // Another program holds the file open without sharing it (a read-only file is still
        // written here: this system's profile functions ignore the attribute).
        const ScopedFile lock(CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        std::unique_ptr<TFolderDialog> form;
        if (std::string(dialog) == "Adorn")
            form = FilledAdorn();
        else
            form = MakeForm<TFormPretend>();
        std::string error;
        EXPECT_EQ(RunModal(*form, {Click(*form, form->BmpButton(1)),
                                   AnswerBox(Application.Title(), "Unable to write to", IDOK, &error)}),
                  mrOk);
        EXPECT_EQ(error, "Unable to write to " + file + ".");
        EXPECT_EQ(TheFolderCtrl->Current.Infotip, dialog == std::string("Adorn") ? "old" : "");
    }
}

} // namespace
