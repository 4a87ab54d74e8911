#include "ModalCloser.h"

#include "support/TempDir.h"
#include "toolkit/ColorDialog.h"
#include "toolkit/OpenDialog.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(OpenDialogFilter, BarsBecomeTheDoubleZeroList)
{
    EXPECT_EQ(TOpenDialog::PlatformFilter("Picture file(*.Bmp, *.Jpg)|*.bmp;*.jpg"),
              "Picture file(*.Bmp, *.Jpg)\0*.bmp;*.jpg\0\0"s);
    EXPECT_EQ(TOpenDialog::PlatformFilter("Text|*.txt|All|*.*"), "Text\0*.txt\0All\0*.*\0\0"s);
    EXPECT_EQ(TOpenDialog::PlatformFilter(""), ""s);
}

TEST(OpenDialogFilter, IncompleteEntriesAreDropped)
{
    // A trailing bar, a lone description and an empty pattern must not end the list early
    // or leave a description paired with nothing.
    EXPECT_EQ(TOpenDialog::PlatformFilter("Text|*.txt|"), "Text\0*.txt\0\0"s);
    EXPECT_EQ(TOpenDialog::PlatformFilter("Text|*.txt|Lonely"), "Text\0*.txt\0\0"s);
    EXPECT_EQ(TOpenDialog::PlatformFilter("None||Text|*.txt"), "Text\0*.txt\0\0"s);
    EXPECT_EQ(TOpenDialog::PlatformFilter("Only a description"), ""s);
}

TEST(ColorDialog, StartsAtBlackAndKeepsItOnCancel)
{
    TestOwnerWindow owner;
    TColorDialog dialog(owner.get());
    EXPECT_EQ(dialog.Color(), clBlack);
    ModalCloser closer(IDCANCEL);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(closer.Found());
    EXPECT_EQ(dialog.Color(), clBlack);
}

TEST(ColorDialog, ConfirmingAnswersTheShownColour)
{
    TestOwnerWindow owner;
    TColorDialog dialog(owner.get());
    dialog.SetColor(clRed);
    ModalCloser closer(IDOK);
    EXPECT_TRUE(dialog.Execute());
    EXPECT_TRUE(closer.Found());
    EXPECT_EQ(dialog.Color(), clRed);
}

TEST(ColorDialog, ASystemColourComesBackAsItsPlainValue)
{
    TestOwnerWindow owner;
    TColorDialog dialog(owner.get());
    dialog.SetColor(clWindow);
    ModalCloser closer(IDOK);
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Color(), GetSysColor(COLOR_WINDOW));
}

TEST(OpenDialog, CancelKeepsTheFileName)
{
    TestOwnerWindow owner;
    TOpenDialog dialog(owner.get());
    dialog.SetFilter("Picture file(*.Bmp, *.Jpg)|*.bmp;*.jpg");
    dialog.SetFileName("before.bmp");
    ModalCloser closer(IDCANCEL);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(closer.Found());
    EXPECT_EQ(dialog.FileName(), "before.bmp");
}

TEST(OpenDialog, ConfirmingAnswersTheFullPath)
{
    TempDir dir;
    const std::string picture = dir.WriteFile("sky.bmp", "BM");
    TestOwnerWindow owner;
    TOpenDialog dialog(owner.get());
    dialog.SetFilter("Picture file(*.Bmp, *.Jpg)|*.bmp;*.jpg");
    dialog.SetInitialDir(dir.Path());
    dialog.SetFileName("sky.bmp");
    ModalCloser closer(IDOK);
    EXPECT_TRUE(dialog.Execute());
    EXPECT_TRUE(closer.Found());
    EXPECT_EQ(dialog.FileName(), picture);
}
