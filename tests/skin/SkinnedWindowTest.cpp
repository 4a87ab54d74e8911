// The main window's skin with its nine buttons in place, shown on the screen in each button
// state. Every state is read back from the screen and saved as a screenshot (a .bmp that the
// build turns into .png) in $QUORREL_SCREENSHOTS.
#include "skin/BmpButton.h"
#include "skin/FormShape.h"
#include "skin/KeyboardCues.h"
#include "skin/SkinTestSupport.h"
#include "support/ContrastTheme.h"
#include "support/Screenshots.h"
#include "toolkit/core/Application.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kMagenta = RGBColor(255, 0, 255);
constexpr int kLeft = 40, kTop = 30, kMargin = 12;

struct ButtonPlace {
    const char* name;
    const char* art;
    int left, top, width, height;
    const char* caption;
    TWindowGlyph glyph;
};
// The main window's layout table, with the names the pictures carry.
constexpr ButtonPlace kButtons[] = {
    {"BmpButton1", "BTN_ADORN", 368, 192, 108, 38, "&Adorn", wgNone},
    {"BmpButton2", "BTN_PRETEND", 368, 232, 108, 38, "&Pretend", wgNone},
    {"BmpButton3", "BTN_DEFAULT", 368, 272, 108, 38, "&Default", wgNone},
    {"BmpButton4", "BTN_MIN", 408, 6, 31, 27, "Minimize", wgMinimize},
    {"BmpButton5", "BTN_CLOSE", 441, 6, 31, 27, "Close", wgClose},
    {"BmpButton6", "BTN_HOME", 258, 44, 48, 41, "Home page", wgNone},
    {"BmpButton7", "BTN_EMAIL", 314, 44, 48, 41, "E-mail", wgNone},
    {"BmpButton8", "BTN_HELP", 370, 44, 48, 41, "Help", wgNone},
    {"BmpButton9", "BTN_ABOUT", 426, 44, 48, 41, "About", wgNone},
};

class MainSkinForm : public TForm {
public:
    MainSkinForm()
    {
        SetFont();
        TFormLayout rows{Place<TFormShape>("FormShape1", 0, 0, 496, 377, {}, [](TFormShape& s) {
            s.Picture().Bitmap().Assign(*ArtBitmap("SKIN_MAIN"));
        })};
        for (const ButtonPlace& p : kButtons)
            rows.push_back(Place<TBmpButton>(p.name, p.left, p.top, p.width, p.height, {}, [&p](TBmpButton& b) {
                const int found = b.Bitmaps().LoadFromResources(GetModuleHandleA(nullptr), p.art);
                EXPECT_GE(found, 2) << p.art;
                b.SetCaption(p.caption);
                b.SetCaptionInPicture(true);
                b.SetWindowGlyph(p.glyph);
            }));
        BuildLayout(*this, rows);
        SetBounds(kLeft, kTop, 496, 377);
    }
    TBmpButton& Button(int n) { return Component<TBmpButton>("BmpButton" + std::to_string(n)); }

private:
    void SetFont()
    {
        Font().SetName("MS Sans Serif");
        Font().SetHeight(11);
    }
};

void Settle()
{
    for (int i = 0; i < 8; ++i) {
        Application.ProcessMessages();
        Sleep(25);
    }
}

// The window and a margin of the desktop around it, as the screen shows them.
std::unique_ptr<TBitmap> Capture(TForm& form, const std::string& state)
{
    Settle();
    const RECT r = form.BoundsRect();
    const int w = r.right - r.left + 2 * kMargin, h = r.bottom - r.top + 2 * kMargin;
    auto shot = std::make_unique<TBitmap>(w, h);
    ScopedWindowDC screen(nullptr);
    BitBlt(shot->Canvas().Handle(), 0, 0, w, h, screen.get(), r.left - kMargin, r.top - kMargin, SRCCOPY);
    if (const std::string folder = ScreenshotFolder(); !folder.empty())
        shot->SaveToFile(folder + "main-window-" + state + ".bmp");
    return shot;
}

// No key colour is left anywhere: magenta is cut away with the outline, olive by the buttons.
testing::AssertionResult NoKeyColours(TBitmap& shot)
{
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) {
            const TColor c = PixelAt(shot, x, y);
            if (c == kMagenta || c == clOlive)
                return testing::AssertionFailure() << "key colour " << std::hex << c << std::dec << " at (" << x
                                                   << ", " << y << ")";
        }
    return testing::AssertionSuccess();
}

// The button shows this picture: every non-key pixel of it is on the screen where it belongs.
testing::AssertionResult ShowsPicture(TBitmap& shot, TBmpButton& button, TBitmap& picture)
{
    int compared = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TColor want = PixelAt(picture, x, y);
            if (want == clOlive)
                continue;
            const TColor got = PixelAt(shot, kMargin + button.Left() + x, kMargin + button.Top() + y);
            if (got != want)
                return testing::AssertionFailure() << button.Name() << " (" << x << ", " << y << ") shows " << std::hex
                                                   << got << ", its picture has " << want;
            ++compared;
        }
    if (compared == 0)
        return testing::AssertionFailure() << "the picture has no opaque pixel";
    return testing::AssertionSuccess();
}

TEST(SkinnedWindow, EveryButtonStateOnTheMainSkin)
{
    MainSkinForm form;
    form.Show();
    SetCursorPos(0, 0);
    // As for a mouse user: no keyboard cues.
    SendMessageA(form.Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    Settle();

    auto up = Capture(form, "up");
    EXPECT_TRUE(NoKeyColours(*up));
    for (int n = 1; n <= 9; ++n)
        EXPECT_TRUE(ShowsPicture(*up, form.Button(n), form.Button(n).Bitmaps().Up()));
    // The body shows the skin as it is.
    auto skin = ArtBitmap("SKIN_MAIN");
    EXPECT_EQ(PixelAt(*up, kMargin + 200, kMargin + 330), PixelAt(*skin, 200, 330));

    // The pointer over the Adorn button.
    TBmpButton& adorn = form.Button(1);
    const POINT centre = adorn.ClientToScreen({54, 19});
    SetCursorPos(centre.x, centre.y);
    SendMessageA(adorn.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(54, 19));
    auto hot = Capture(form, "hot");
    EXPECT_TRUE(NoKeyColours(*hot));
    EXPECT_TRUE(ShowsPicture(*hot, adorn, adorn.Bitmaps().Hot()));

    // Pressed and held.
    TBmpButton& pretend = form.Button(2);
    const POINT press = pretend.ClientToScreen({54, 19});
    SetCursorPos(press.x, press.y);
    SendMessageA(pretend.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(54, 19));
    auto pressed = Capture(form, "pressed");
    EXPECT_EQ(pretend.State(), bstDown);
    EXPECT_TRUE(NoKeyColours(*pressed));
    EXPECT_TRUE(ShowsPicture(*pressed, pretend, pretend.Bitmaps().Down()));
    SendMessageA(pretend.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 19));
    SendMessageA(pretend.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 19));
    SetCursorPos(0, 0);
    SendMessageA(adorn.Handle(), WM_MOUSELEAVE, 0, 0);
    SendMessageA(pretend.Handle(), WM_MOUSELEAVE, 0, 0);

    // Latched in a group: without a latched picture it shows its Down picture.
    TBmpButton& restore = form.Button(3);
    restore.SetGroupIndex(1);
    restore.SetDown(true);
    auto latched = Capture(form, "latched");
    EXPECT_TRUE(NoKeyColours(*latched));
    EXPECT_TRUE(ShowsPicture(*latched, restore, restore.Bitmaps().Down()));
    restore.SetAllowAllUp(true);
    restore.SetDown(false);

    // Disabled, with the picture made from Up.
    adorn.SetEnabled(false);
    auto disabled = Capture(form, "disabled");
    std::unique_ptr<TBitmap> embossed = DisabledImage(adorn.Bitmaps().Up());
    EXPECT_TRUE(ShowsPicture(*disabled, adorn, *embossed));
    adorn.SetEnabled(true);

    // Focused, for a mouse user: the picture alone. Another test program on the same display
    // may take the foreground at any moment: the focus is asked for again until the button has
    // it.
    for (int attempt = 0; attempt < 50 && !pretend.HasFocus(); ++attempt) {
        SetForegroundWindow(form.Handle());
        pretend.SetFocus();
        if (!pretend.HasFocus())
            Settle();
    }
    ASSERT_TRUE(pretend.HasFocus());
    auto focused = Capture(form, "focused");
    EXPECT_TRUE(ShowsPicture(*focused, pretend, pretend.Bitmaps().Up()));
    EXPECT_TRUE(NoKeyColours(*focused));

    // Once the keyboard is used: the focus ring over the picture, the access keys underlined.
    SendMessageA(form.Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    auto keyboard = Capture(form, "keyboard");
    EXPECT_FALSE(ShowsPicture(*keyboard, pretend, pretend.Bitmaps().Up())) << "the focus shows";
    EXPECT_FALSE(ShowsPicture(*keyboard, adorn, adorn.Bitmaps().Up())) << "its A is underlined";
    EXPECT_TRUE(ShowsPicture(*keyboard, form.Button(8), form.Button(8).Bitmaps().Up())) << "no access key";
    EXPECT_TRUE(NoKeyColours(*keyboard));

    // In a contrast theme: plain faces and frames with the names, on the system's face.
    {
        const ContrastTheme theme;
        form.Invalidate();
        RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
        auto contrast = Capture(form, "contrast");
        EXPECT_EQ(PixelAt(*contrast, kMargin + 200, kMargin + 330), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
        EXPECT_EQ(PixelAt(*contrast, kMargin + 368, kMargin + 192), static_cast<TColor>(GetSysColor(COLOR_BTNTEXT)));
        EXPECT_TRUE(NoKeyColours(*contrast));
    }
    form.Hide();
}

} // namespace
