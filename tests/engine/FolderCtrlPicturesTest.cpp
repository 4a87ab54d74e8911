#include "engine/FolderCtrl.h"

#include "EngineGuards.h"
#include "engine/BaseApplication.h"

#include "support/ModalCloser.h"
#include "support/RegistryKeyRestorer.h"
#include "support/TempDir.h"
#include "toolkit/core/Application.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/core/Exception.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"

#include <gtest/gtest.h>

namespace {

const char* Shell32 = "%SystemRoot%\\system32\\shell32.dll";

TColor PixelOf(TImage& image, int x, int y)
{
    return image.Canvas().Pixel(x, y);
}

// Where the pixels differ from the top-left one: the bounding box of what was drawn.
RECT DrawnArea(TImage& image)
{
    const TColor background = PixelOf(image, 0, 0);
    RECT box{image.Width(), image.Height(), -1, -1};
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (PixelOf(image, x, y) != background) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

} // namespace

TEST(FolderCtrlPictures, IconIsCentredAtItsNaturalSize)
{
    TFolderCtrl ctrl(false);
    TImage image;
    image.SetBounds(0, 0, 251, 185);
    image.SetVisible(false);
    ctrl.DrawIcon(image, Shell32, 3);
    EXPECT_TRUE(image.Visible());
    const RECT drawn = DrawnArea(image);
    // A 32 x 32 icon lands at ((251 - 32) / 2, (185 - 32) / 2) = (109, 76).
    ASSERT_LT(drawn.left, drawn.right) << "nothing was drawn";
    EXPECT_GE(drawn.left, 109);
    EXPECT_GE(drawn.top, 76);
    EXPECT_LE(drawn.right, 109 + 32);
    EXPECT_LE(drawn.bottom, 76 + 32);
    EXPECT_GT(drawn.right - drawn.left, 16) << "the icon is drawn at its natural size, not shrunk";
}

namespace {

// A 32 x 32 icon file of one opaque colour (32 bits per pixel, blue first, alpha last).
std::string OpaqueIconFile(COLORREF colour)
{
    std::string bytes;
    const auto put = [&](unsigned value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    const unsigned pixels = 32 * 32 * 4, mask = 32 * 4;
    put(0, 2), put(1, 2), put(1, 2);                                   // icon directory
    put(32, 1), put(32, 1), put(0, 1), put(0, 1), put(1, 2), put(32, 2);  // its one entry
    put(40 + pixels + mask, 4), put(22, 4);
    put(40, 4), put(32, 4), put(64, 4), put(1, 2), put(32, 2);          // bitmap header
    put(0, 4), put(pixels + mask, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
    for (int i = 0; i < 32 * 32; ++i)
        put(GetBValue(colour), 1), put(GetGValue(colour), 1), put(GetRValue(colour), 1), put(0xFF, 1);
    bytes.append(mask, '\0');                                           // nothing masked out
    return bytes;
}

} // namespace

TEST(FolderCtrlPictures, IcoFileIsDrawnFromAPlainAndAnEnvironmentPath)
{
    TempDir dir;
    const std::string file = dir.WriteFile("Folder.ico", OpaqueIconFile(RGB(255, 0, 0)));
    char temp[MAX_PATH];
    const DWORD length = ExpandEnvironmentStringsA("%TEMP%\\", temp, MAX_PATH);
    ASSERT_GT(length, 1u);
    const std::string expandedTemp(temp);
    ASSERT_EQ(file.rfind(expandedTemp, 0), 0u) << file << " lies under %TEMP% (" << expandedTemp << ")";
    const std::string throughTemp = "%TEMP%\\" + file.substr(expandedTemp.size());

    TFolderCtrl ctrl(false);
    for (const std::string& name : {file, throughTemp}) {
        TImage image;
        image.SetBounds(0, 0, 251, 185);
        image.Canvas().Brush().SetColor(clWhite);
        image.SetVisible(false);
        ctrl.DrawIcon(image, name, 7);
        EXPECT_TRUE(image.Visible()) << name;
        const RECT drawn = DrawnArea(image);
        // (251 - 32) / 2 = 109 and (185 - 32) / 2 = 76, to the pixel.
        EXPECT_EQ(drawn.left, 109) << name;
        EXPECT_EQ(drawn.top, 76) << name;
        EXPECT_EQ(drawn.right, 109 + 32) << name;
        EXPECT_EQ(drawn.bottom, 76 + 32) << name;
        EXPECT_EQ(PixelOf(image, 109, 76), clRed) << name;
        EXPECT_EQ(PixelOf(image, 140, 107), clRed) << name;
        EXPECT_EQ(PixelOf(image, 0, 0), clWhite) << name;
    }
}

TEST(FolderCtrlPictures, MissingIconLeavesTheControlAsItWas)
{
    TFolderCtrl ctrl(false);
    TImage image;
    image.SetBounds(0, 0, 40, 30);
    image.Canvas().Brush().SetColor(clRed);
    image.Canvas().FillRect({0, 0, 40, 30});
    image.SetVisible(false);
    ctrl.DrawIcon(image, "C:\\no\\such\\library.dll", 0);
    ctrl.DrawIcon(image, Shell32, 100000);
    EXPECT_FALSE(image.Visible());
    EXPECT_EQ(PixelOf(image, 20, 15), clRed);
}

TEST(FolderCtrlPictures, UnreadableIcoFileRaisesThePictureError)
{
    TempDir dir;
    const std::string bad = dir.WriteFile("broken.ICO", "this is no icon");
    TFolderCtrl ctrl(false);
    TImage image;
    image.SetBounds(0, 0, 40, 30);
    EXPECT_THROW(ctrl.DrawIcon(image, bad, 5), Exception);
}

TEST(FolderCtrlPictures, ClearIconHidesAndWipesThePreview)
{
    TFolderCtrl ctrl(false);
    ctrl.Current.IconFile = Shell32;
    ctrl.Current.IconIndex = "3";
    TImage image;
    image.SetBounds(0, 0, 64, 64);
    image.Canvas().Brush().SetColor(clWhite);
    ctrl.DrawIcon(image, Shell32, 3);
    ASSERT_LT(DrawnArea(image).left, 64);
    ctrl.ClearIcon(image);
    EXPECT_FALSE(image.Visible());
    EXPECT_EQ(ctrl.Current.IconFile, "");
    EXPECT_EQ(ctrl.Current.IconIndex, "0");
    EXPECT_EQ(DrawnArea(image).right, -1) << "the whole preview is one colour again";
}

TEST(FolderCtrlPictures, ClearingColourAndBackground)
{
    TFolderCtrl ctrl(false);
    ctrl.Current.IconArea_Text = "0x000000FF";
    TLabel label;
    label.Font().SetColor(clRed);
    ctrl.ClearTextColor(&label);
    EXPECT_EQ(ctrl.Current.IconArea_Text, "0x00000000");
    EXPECT_EQ(label.Font().Color(), clBlack);
    ctrl.Current.IconArea_Text = "0x00FF0000";
    ctrl.ClearTextColor(nullptr);
    EXPECT_EQ(ctrl.Current.IconArea_Text, "0x00000000");

    TImage image;
    image.SetBounds(0, 0, 8, 8);
    image.Canvas().Pixel(0, 0);  // the preview holds a picture
    ctrl.Current.IconArea_Image = "C:\\pictures\\old.jpg";
    ctrl.ClearBackground(image);
    EXPECT_EQ(ctrl.Current.IconArea_Image, "");
    EXPECT_FALSE(image.Visible());
    EXPECT_NE(image.Picture().Graphic(), nullptr) << "the picture stays loaded";
}

TEST(FolderCtrlPictures, SelectIconDoesNothingWithoutAnExistingFolder)
{
    TFolderCtrl ctrl(false);
    ctrl.Current.Path = "C:\\no such folder\\";
    ctrl.Current.IconFile = "kept.ico";
    ctrl.SelectIcon(nullptr);
    EXPECT_EQ(ctrl.Current.IconFile, "kept.ico");
}

namespace {

// The colour chooser's red, green and blue boxes.
void ChoosePureRed(HWND dialog)
{
    SetDlgItemInt(dialog, 706, 255, FALSE);
    SetDlgItemInt(dialog, 707, 0, FALSE);
    SetDlgItemInt(dialog, 708, 0, FALSE);
}

std::string chosenFile;

// The open-file dialog's file name box (a combo box in the explorer style, an edit otherwise).
void TypeChosenFile(HWND dialog)
{
    SetDlgItemTextA(dialog, 0x47c, chosenFile.c_str());
    SetDlgItemTextA(dialog, 0x480, chosenFile.c_str());
}

// A 2 x 1 bitmap file, 24 bits per pixel: one blue and one green pixel.
std::string TinyBitmapFile()
{
    const unsigned char bytes[] = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                   // file header
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,     // info header
        8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        255, 0, 0, 0, 255, 0, 0, 0};                                      // pixels, row padded
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

} // namespace

TEST(FolderCtrlPictures, ChosenColourIsStoredBlueFirstAndCancelChangesNothing)
{
    TFolderCtrl ctrl(false);
    TLabel label;
    {
        ModalCloser closer(DialogWindow("Color", IDOK, ChoosePureRed));
        ctrl.SelectTextColor(&label);
        ASSERT_TRUE(closer.Found());
    }
    EXPECT_EQ(ctrl.Current.IconArea_Text, "0x000000FF");
    EXPECT_EQ(label.Font().Color(), clRed);
    {
        ModalCloser closer(DialogWindow("Color", IDCANCEL, ChoosePureRed));
        ctrl.SelectTextColor(&label);
        ASSERT_TRUE(closer.Found());
    }
    EXPECT_EQ(ctrl.Current.IconArea_Text, "0x000000FF");
}

TEST(FolderCtrlPictures, ChosenBackgroundIsLoadedBeforeItIsStored)
{
    const RegistryKeyRestorer recent(HKEY_CURRENT_USER, FileDialogRecentFolders);
    TempDir dir;
    const CurrentFolder keep;
    TFolderCtrl ctrl(false);
    TImage image;
    image.SetBounds(0, 0, 20, 20);
    image.SetVisible(false);
    ctrl.Current.IconArea_Image = "old.jpg";

    chosenFile = dir.WriteFile("broken.jpg", "not a picture at all");
    {
        ModalCloser closer(DialogWindow("Open", IDOK, TypeChosenFile));
        EXPECT_THROW(ctrl.SelectBackground(image), EInvalidGraphic);
        ASSERT_TRUE(closer.Found());
    }
    EXPECT_EQ(ctrl.Current.IconArea_Image, "old.jpg");
    EXPECT_FALSE(image.Visible());

    chosenFile = dir.WriteFile("tiny.bmp", TinyBitmapFile());
    {
        ModalCloser closer(DialogWindow("Open", IDOK, TypeChosenFile));
        ctrl.SelectBackground(image);
        ASSERT_TRUE(closer.Found());
    }
    EXPECT_EQ(ctrl.Current.IconArea_Image, chosenFile);
    EXPECT_TRUE(image.Visible());
    EXPECT_EQ(image.Picture().Width(), 2);
}

TEST(FolderCtrlPictures, CancelledPickChangesNothing)
{
    TempDir dir;
    dir.WriteFile("DeskTop.Ini", "[.ShellClassInfo]\r\nIconFile=%SystemRoot%\\system32\\shell32.dll\r\n"
                                 "IconIndex=4\r\n");
    TFolderCtrl ctrl(false);
    const TDTItem loaded = ctrl.LoadSettings(dir.Path());
    TImage image;
    image.SetBounds(0, 0, 64, 64);
    image.Canvas().Brush().SetColor(clWhite);
    ctrl.DrawIcon(image, loaded.IconFile, 4);
    const RECT before = DrawnArea(image);
    ASSERT_LT(before.left, before.right) << "the preview shows the folder's icon";
    const TColor middle = PixelOf(image, 32, 32);

    ASSERT_FALSE(FileExists(TBaseApplication().GetAppDirectory("") + "icon.dll"));
    {
        // The box that reports the missing icon library, and nothing else: Wine's icon picker
        // is a stub that answers at once without a window.
        ModalCloser closer(
            MessageBoxWindow(Application.Title(), "Icon.dll is not found. Please reinstall this program.", IDOK));
        ctrl.SelectIcon(&image);
        ASSERT_TRUE(closer.Found());
    }
    EXPECT_EQ(ctrl.Current, loaded);
    EXPECT_TRUE(image.Visible());
    const RECT after = DrawnArea(image);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(PixelOf(image, 32, 32), middle);
}

TEST(FolderCtrlPictures, PickerOpensOnTheOwnIconOrElseTheLibrary)
{
    const std::string library = "C:\\Program Files\\Quorrel\\icon.dll";
    TDTItem item;
    item.IconFile = "C:\\Icons\\Folder.ico";
    EXPECT_EQ(IconPickerStart(item, library, true), item.IconFile);
    EXPECT_EQ(IconPickerStart(item, library, false), item.IconFile);
    // The shell's folder icon, which a folder without its own reads, and a drive's empty icon.
    for (const char* none : {Shell32, ""}) {
        item.IconFile = none;
        EXPECT_EQ(IconPickerStart(item, library, true), library) << none;
        EXPECT_EQ(IconPickerStart(item, library, false), "") << none << ": the picker's own default";
    }
}
