#include "support/ModalCloser.h"

#include "support/RegistryKeyRestorer.h"
#include "support/TempDir.h"
#include "toolkit/controls/ColorDialog.h"
#include "toolkit/controls/OpenDialog.h"

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

namespace {
// Runs a colour dialog that starts at a colour and is closed with the command; answers what
// Execute answered and the dialog's colour afterwards.
std::pair<bool, TColor> RunColorDialog(TColor start, WPARAM command)
{
    TestOwnerWindow owner;
    TColorDialog dialog(owner.get());
    dialog.SetColor(start);
    ModalCloser closer(DialogWindow("Color", command));
    const bool confirmed = dialog.Execute();
    EXPECT_TRUE(closer.Found());
    return {confirmed, dialog.Color()};
}
} // namespace

TEST(ColorDialog, StartsAtBlackAndKeepsTheColourOnCancel)
{
    EXPECT_EQ(TColorDialog().Color(), clBlack);
    EXPECT_EQ(RunColorDialog(clBlack, IDCANCEL), std::pair(false, clBlack));
    EXPECT_EQ(RunColorDialog(clTeal, IDCANCEL), std::pair(false, clTeal));
}

TEST(ColorDialog, ConfirmingAnswersTheShownColourAsAPlainValue)
{
    EXPECT_EQ(RunColorDialog(clRed, IDOK), std::pair(true, clRed));
    EXPECT_EQ(RunColorDialog(clWindow, IDOK), std::pair(true, TColor(GetSysColor(COLOR_WINDOW))));
}

TEST(OpenDialog, CancelKeepsTheFileName)
{
    const RegistryKeyRestorer recent(HKEY_CURRENT_USER, FileDialogRecentFolders);
    TempDir dir;
    TestOwnerWindow owner;
    TOpenDialog dialog(owner.get());
    dialog.SetFilter("Picture file(*.Bmp, *.Jpg)|*.bmp;*.jpg");
    dialog.SetInitialDir(dir.Path());
    dialog.SetFileName("before.bmp");
    ModalCloser closer(DialogWindow("Open", IDCANCEL));
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(closer.Found());
    EXPECT_EQ(dialog.FileName(), "before.bmp");
}

TEST(OpenDialog, ConfirmingAnswersTheFullPath)
{
    const RegistryKeyRestorer recent(HKEY_CURRENT_USER, FileDialogRecentFolders);
    TempDir dir;
    const std::string picture = dir.WriteFile("sky.bmp", "BM");
    TestOwnerWindow owner;
    TOpenDialog dialog(owner.get());
    dialog.SetFilter("Picture file(*.Bmp, *.Jpg)|*.bmp;*.jpg");
    dialog.SetInitialDir(dir.Path());
    dialog.SetFileName("sky.bmp");
    ModalCloser closer(DialogWindow("Open", IDOK));
    EXPECT_TRUE(dialog.Execute());
    EXPECT_TRUE(closer.Found());
    EXPECT_EQ(dialog.FileName(), picture);
}
