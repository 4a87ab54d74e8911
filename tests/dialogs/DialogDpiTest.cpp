// The dialogs and the progress window on a display of another scale: moved there while open,
// with the messages the system sends then (its size asked, WM_DPICHANGED with the place it
// suggests), in a test program that itself runs at 96 DPI. What Wine cannot show (two monitors)
// is what these messages stand for; the windows' answers are real.
#include "DialogFixture.h"
#include "dialogs/Adorn.h"
#include "dialogs/Pretend.h"
#include "dialogs/Progress.h"
#include "engine/DisguiseTargets.h"
#include "skin/BmpButton.h"
#include "skin/FormShape.h"
#include "skin/KeyboardCues.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/PageControl.h"
#include "toolkit/controls/RadioButton.h"
#include "sidecars/SidecarTestSupport.h"
#include "support/Screenshots.h"
#include "toolkit/core/Application.h"
#include "toolkit/core/DisplayDpi.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"


namespace {

// The form moves to a monitor of `dpi`: the system asks its size there, then sends the change
// with the place it worked out from that size.
void MoveToDpi(TForm& form, int dpi)
{
    SIZE size{};
    SendMessageA(form.Handle(), kGetDpiScaledSizeMessage, dpi, reinterpret_cast<LPARAM>(&size));
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    RECT suggested{r.left, r.top, r.left + size.cx, r.top + size.cy};
    SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

DriverStep MoveStep(TForm& form, int dpi)
{
    return [&form, dpi] {
        MoveToDpi(form, dpi);
        return true;
    };
}

// Lets the form paint, then runs the check and saves the screen's picture of it.
DriverStep Settled(TForm& form, const std::string& shot, std::function<void()> check)
{
    int ticks = 0;
    return [&form, shot, check, ticks]() mutable {
        if (++ticks < 6)
            return false;
        check();
        const auto picture = CaptureWindow(form.Handle());
        SaveScreenshot(*picture, shot);
        return true;
    };
}

SIZE WindowSizeOf(TForm& form)
{
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    return {r.right - r.left, r.bottom - r.top};
}

// The window's outline is exactly its skin's non-key pixels, point by point.
void ExpectOutlineIsTheSkin(TForm& form)
{
    TBitmap& skin = form.Component<TFormShape>("FormShape1").Picture().Bitmap();
    const COLORREF key = ColorToRGB(skin.TransparentColor());
    ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(form.Handle(), region.get()), COMPLEXREGION);
    const SIZE size = WindowSizeOf(form);
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            const bool opaque = x < skin.Width() && y < skin.Height() && PixelOf(skin, x, y) != key;
            ASSERT_EQ(bool(PtInRegion(region.get(), x, y)), opaque) << x << ", " << y;
        }
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
    EXPECT_FALSE(PtInRegion(region.get(), skin.Width() - 1, 0));
}

// A control's place and size are its 96-DPI ones at `dpi`.
void ExpectScaled(TControl& control, int left, int top, int width, int height, int dpi)
{
    EXPECT_EQ(control.Left(), ScaledToDpi(left, dpi)) << control.Name();
    EXPECT_EQ(control.Top(), ScaledToDpi(top, dpi)) << control.Name();
    EXPECT_EQ(control.Width(), ScaledToDpi(width, dpi)) << control.Name();
    EXPECT_EQ(control.Height(), ScaledToDpi(height, dpi)) << control.Name();
}

// An icon of the generated icon library, which holds 32-, 48- and 64-pixel images.
std::string LibraryIcon()
{
    return BuildFolder("QUORREL_ART") + "library\\folder_blue.ico";
}

using DialogDpi = DialogTest;

} // namespace

TEST_F(DialogDpi, PretendMovedTo150PercentTakesThatSetAndItsTargetsStillChooseAndWrite)
{
    LoadFolder("");
    auto form = MakeForm<TFormPretend>();
    const int dpi = 144;
    auto check = [&] {
        EXPECT_EQ(form->Dpi(), dpi);
        const SIZE size = WindowSizeOf(*form);
        EXPECT_EQ(size.cx, 731); // 487 x 1.5, rounded half up
        EXPECT_EQ(size.cy, 515);
        ExpectScaled(form->BmpButton(1), 261, 293, 108, 38, dpi);
        ExpectScaled(form->BmpButton(10), 443, 6, 31, 27, dpi);
        EXPECT_EQ(form->BmpButton(1).Bitmaps().Up().Width(), 162);
        auto& shape = form->Component<TFormShape>("FormShape1");
        EXPECT_EQ(shape.Picture().Width(), 737);
        EXPECT_EQ(shape.Picture().Height(), 513);
        ExpectOutlineIsTheSkin(*form);
        auto& icon = form->Component<TImage>("Image4");
        EXPECT_EQ(icon.Width(), 54);
        EXPECT_EQ(icon.Picture().Width(), 54);
        // The caption on the title strip at 16 pixels times the scale.
        EXPECT_EQ(form->Component<TLabel>("lblCaption").Font().PixelHeight(), 24);
        EXPECT_EQ(form->RadioButton(4).Font().PixelHeight(), 17);
    };
    EXPECT_EQ(RunModal(*form, {MoveStep(*form, dpi), Settled(*form, "pretend-moved-to-150", check),
                               Click(*form, form->RadioButton(4)), Click(*form, form->BmpButton(1))}),
              mrOk);
    EXPECT_EQ(Setting(ShellClassInfo, "CLSID"), DisguiseTargets[3].Clsid);
}

TEST_F(DialogDpi, AdornAtAScaleWithoutItsOwnArtMakesTheNextLargerSmallerAndRedrawsTheIcon)
{
    LoadFolder("[.ShellClassInfo]\r\nIconFile=" + LibraryIcon() + "\r\nIconIndex=0\r\n");
    auto form = MakeForm<TFormAdorn>();
    form->ShowSettings(TheFolderCtrl->Current);
    RECT at96{}, at144{};
    const int dpi = 110; // 115%: drawn from the 125% set
    auto check96 = [&] { at96 = InkBounds(form->Image1().Picture().Bitmap(), RGB(255, 255, 255)); };
    int previewWidth144 = 0;
    auto check144 = [&] {
        at144 = InkBounds(form->Image1().Picture().Bitmap(), RGB(255, 255, 255));
        previewWidth144 = form->Image1().Width();
    };
    auto check = [&] {
        const SIZE size = WindowSizeOf(*form);
        EXPECT_EQ(size.cx, ScaledToDpi(488, dpi));
        EXPECT_EQ(size.cy, ScaledToDpi(341, dpi));
        auto& shape = form->Component<TFormShape>("FormShape1");
        EXPECT_EQ(shape.Picture().Width(), ScaledToDpi(491, dpi));
        EXPECT_EQ(shape.Picture().Height(), ScaledToDpi(342, dpi));
        ExpectOutlineIsTheSkin(*form);
        ExpectScaled(form->BmpButton(7), 344, 132, 108, 38, dpi);
        EXPECT_EQ(form->BmpButton(7).Bitmaps().Up().Height(), ScaledToDpi(38, dpi));
        ExpectScaled(form->PageControl1(), 11, 39, 467, 248, dpi);
    };
    EXPECT_EQ(RunModal(*form, {Settled(*form, "adorn-at-100", check96), MoveStep(*form, 144),
                               Settled(*form, "adorn-moved-to-150", check144), MoveStep(*form, dpi),
                               Settled(*form, "adorn-moved-to-115", check), Click(*form, form->BmpButton(2))}),
              mrCancel);
    // The library's 32-pixel image at 96 DPI, its 48-pixel one at 150%.
    const int width96 = at96.right - at96.left, width144 = at144.right - at144.left;
    EXPECT_GT(width96, 16);
    EXPECT_LE(width96, 32);
    EXPECT_GT(width144, 32);
    EXPECT_LE(width144, 48);
    EXPECT_NEAR(width144, width96 * 3 / 2, 2);
    // Centred in the preview of its scale.
    EXPECT_NEAR((at144.left + at144.right) / 2, previewWidth144 / 2, 2);
}

// At twice the scale the focus rectangle of a skinned button is drawn inside its picture's rim,
// where the picture is opaque, and nothing else of the picture changes.
TEST_F(DialogDpi, TheFocusRectangleStandsInsideTheButtonsPictureAtTwiceTheScale)
{
    LoadFolder("");
    auto form = MakeForm<TFormPretend>();
    const int dpi = 192;
    TBmpButton& ok = form->BmpButton(1);
    auto check = [&] {
        ASSERT_EQ(ok.Dpi(), dpi);
        for (int attempt = 0; attempt < 50 && !ok.HasFocus(); ++attempt) {
            SetForegroundWindow(form->Handle());
            ok.SetFocus();
        }
        ASSERT_TRUE(ok.HasFocus());
        SendMessageA(form->Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
        TBitmap& up = ok.Bitmaps().Up();
        const COLORREF key = ColorToRGB(ok.Bitmaps().TransparentColor());
        TBitmap painted(ok.Width(), ok.Height());
        SendMessageA(ok.Handle(), WM_PAINT, reinterpret_cast<WPARAM>(painted.Canvas().Handle()), 0);
        const RECT ring = FocusCueRect(ok.Width(), ok.Height(), dpi);
        int marks = 0;
        for (int y = 0; y < up.Height(); ++y)
            for (int x = 0; x < up.Width(); ++x) {
                const bool onRing = x >= ring.left && x < ring.right && y >= ring.top && y < ring.bottom &&
                                    (x == ring.left || x == ring.right - 1 || y == ring.top || y == ring.bottom - 1);
                if (onRing)
                    EXPECT_NE(PixelOf(up, x, y), key) << "the ring leaves the picture at " << x << ", " << y;
                if (PixelOf(up, x, y) == key || PixelOf(painted, x, y) == PixelOf(up, x, y))
                    continue;
                ++marks;
                EXPECT_TRUE(onRing) << "changed off the ring at " << x << ", " << y;
            }
        EXPECT_GT(marks, (ring.right - ring.left + ring.bottom - ring.top) / 2) << "a dotted ring all round";
        SaveScreenshot(painted, "ok-focused-192");
    };
    int ticks = 0;
    const DriverStep settledCheck = [&]() mutable {
        if (++ticks < 6)
            return false;
        check();
        return true;
    };
    EXPECT_EQ(RunModal(*form, {MoveStep(*form, dpi), settledCheck,
                               Click(*form, form->BmpButton(2))}),
              mrCancel);
}

TEST_F(DialogDpi, TheSampleTextFitsItsLabelAtEveryScale)
{
    LoadFolder("[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\nIconArea_Text=0x00C00000\r\n");
    auto form = MakeForm<TFormAdorn>();
    form->ShowSettings(TheFolderCtrl->Current);
    std::vector<DriverStep> steps{[&] {
        form->PageControl1().SetActivePageIndex(2);
        return true;
    }};
    for (int dpi : {120, 144, 192}) {
        steps.push_back(MoveStep(*form, dpi));
        steps.push_back(Settled(*form, "adorn-color-" + std::to_string(dpi), [&form, dpi] {
            TLabel& label = form->Label1();
            EXPECT_EQ(label.Font().PixelHeight(), ScaledToDpi(24, dpi));
            TBitmap measure(1, 1);
            measure.Canvas().Font().Assign(label.Font());
            EXPECT_GE(label.Width(), measure.Canvas().TextWidth(label.Caption())) << dpi;
            EXPECT_GE(label.Width(), ScaledToDpi(102, dpi)) << dpi;
        }));
    }
    steps.push_back(Click(*form, form->BmpButton(2)));
    EXPECT_EQ(RunModal(*form, std::move(steps)), mrCancel);
}

TEST_F(DialogDpi, TheProgressWindowAtEachScale)
{
    for (int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(std::to_string(dpi) + " DPI");
        TFormProgress progress(nullptr);
        progress.AfterConstruction();
        progress.HandleNeeded();
        if (dpi != progress.Dpi())
            MoveToDpi(progress, dpi);
        progress.SetProgress(1234, 20000, "C:\\Users\\someone\\Pictures\\Holidays\\2019\\Summer in the mountains\\");
        progress.Show();
        // The window asked for its client area at this scale inside the frame of this DPI (a
        // test program at 96 DPI draws the smaller frame of its own, so the area is at least it).
        EXPECT_GE(progress.ClientWidth(), ScaledToDpi(420, dpi));
        EXPECT_GE(progress.ClientHeight(), ScaledToDpi(92, dpi));
        EXPECT_EQ(progress.Font().PixelHeight(), ScaledToDpi(11, dpi));
        // The path is shortened to the width of its line at this scale, not at 96 DPI's.
        const std::string shown = progress.FolderText();
        EXPECT_NE(shown.find("Summer in the mountains"), std::string::npos) << shown;
        // Captured once the screen shows it painted (the window's face beside its count).
        std::unique_ptr<TBitmap> shot;
        for (int i = 0; i < 300; ++i) {
            Application.ProcessMessages();
            shot = CaptureWindow(progress.Handle(), 0);
            POINT face{4, 4};
            ClientToScreen(progress.Handle(), &face);
            RECT window{};
            GetWindowRect(progress.Handle(), &window);
            if (PixelOf(*shot, face.x - window.left, face.y - window.top) == ColorToRGB(clBtnFace))
                break;
            Sleep(10);
        }
        SaveScreenshot(*shot, "progress-" + std::to_string(dpi));
        progress.Hide();
    }
}
