#include "skin/BmpButton.h"
#include "skin/SkinTestSupport.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kFace = RGBColor(222, 222, 222);
constexpr TColor kUp = RGBColor(200, 30, 30);
constexpr TColor kDown = RGBColor(30, 30, 200);
constexpr TColor kHot = RGBColor(30, 200, 30);
constexpr TColor kFocused = RGBColor(220, 220, 40);
constexpr TColor kStayDown = RGBColor(40, 160, 160);

// A 20 x 10 picture of one colour whose 2 x 2 corners have the key colour.
std::unique_ptr<TBitmap> Picture(TColor color)
{
    auto bitmap = SolidBitmap(20, 10, color);
    bitmap->Canvas().Brush().SetColor(clOlive);
    for (const RECT& corner : {RECT{0, 0, 2, 2}, RECT{18, 0, 20, 2}, RECT{0, 8, 2, 10}, RECT{18, 8, 20, 10}})
        bitmap->Canvas().FillRect(corner);
    return bitmap;
}

class ButtonForm : public TForm {
public:
    ButtonForm()
    {
        SetBorderStyle(bsNone);
        SetClientSize(200, 100);
        SetColor(kFace);
        BuildLayout(*this, {
            Place<TBmpButton>("Full", 10, 10, 80, 30, {}, [](TBmpButton& b) {
                b.Bitmaps().SetUp(*Picture(kUp));
                b.Bitmaps().SetDown(*Picture(kDown));
                b.Bitmaps().SetHot(*Picture(kHot));
            }),
            Place<TBmpButton>("UpAndHot", 40, 10, 80, 30, {}, [](TBmpButton& b) {
                b.Bitmaps().SetUp(*Picture(kUp));
                b.Bitmaps().SetHot(*Picture(kHot));
            }),
        });
    }
    TBmpButton& Button(const char* name) { return Component<TBmpButton>(name); }
};

// The button as it paints itself, read back.
std::unique_ptr<TBitmap> Painted(TBmpButton& button)
{
    auto surface = SolidBitmap(button.Width(), button.Height(), clBlack);
    SendMessageA(button.Handle(), WM_PAINT, reinterpret_cast<WPARAM>(surface->Canvas().Handle()), 0);
    return surface;
}

TColor Shown(TBmpButton& button)
{
    auto painted = Painted(button);
    return PixelAt(*painted, button.Width() / 2, button.Height() / 2);
}

LPARAM At(int x, int y)
{
    return MAKELPARAM(x, y);
}

TEST(BmpButton, ConstructedWithItsDefaults)
{
    TBmpButton button;
    EXPECT_EQ(button.Width(), 80);
    EXPECT_EQ(button.Height(), 30);
    EXPECT_TRUE(button.TabStop());
    EXPECT_TRUE(button.ParentFont());
    EXPECT_EQ(button.Bitmaps().TransparentColor(), clOlive);
    EXPECT_EQ(button.Margin(), -1);
    EXPECT_EQ(button.Spacing(), 4);
    EXPECT_EQ(button.ButtonSize(), bszButtonToBitmap);
    EXPECT_EQ(button.ButtonBorder(), bbNone);
    EXPECT_EQ(button.ControlStyle() & csClickEvents, 0u);
    EXPECT_NE(button.ControlStyle() & csOpaque, 0u);
    // Margins below -1 are ignored.
    button.SetMargin(3);
    button.SetMargin(-2);
    EXPECT_EQ(button.Margin(), 3);
    button.SetMargin(-1);
    EXPECT_EQ(button.Margin(), -1);
    // Only a group member stays down.
    button.SetDown(true);
    EXPECT_FALSE(button.Down());
}

TEST(BmpButton, SizeFollowsTheUpPictureAndItsBorder)
{
    ButtonForm form;
    auto& button = form.Button("Full");
    button.Handle();
    button.Bitmaps().SetUp(*SolidBitmap(108, 38, kUp));
    EXPECT_EQ(button.Width(), 108);
    EXPECT_EQ(button.Height(), 38);
    button.SetButtonBorder(bbSingle);
    EXPECT_EQ(button.Width(), 110);
    EXPECT_EQ(button.Height(), 40);
    button.SetButtonBorder(bbButton);
    button.SetButtonStyle(bsNew);
    EXPECT_EQ(button.Width(), 112);
    EXPECT_EQ(button.Height(), 42);
    button.SetButtonStyle(bsWin31);
    EXPECT_EQ(button.Width(), 114);
    EXPECT_EQ(button.Height(), 44);
    // Any other size snaps back, through the window's size message too.
    button.SetBounds(10, 10, 50, 20);
    EXPECT_EQ(button.Width(), 114);
    EXPECT_EQ(button.Height(), 44);
    SetWindowPos(button.Handle(), nullptr, 0, 0, 60, 60, SWP_NOMOVE | SWP_NOZORDER);
    RECT r;
    GetClientRect(button.Handle(), &r);
    EXPECT_EQ(r.right, 114);
    EXPECT_EQ(r.bottom, 44);
    // Other size modes leave the size alone.
    button.SetButtonSize(bszStretchToButton);
    button.SetBounds(10, 10, 50, 20);
    EXPECT_EQ(button.Width(), 50);
}

TEST(BmpButton, APressShowsDownUntilThePointerLeavesAndClicksOnlyInside)
{
    ButtonForm form;
    form.Show();
    auto& button = form.Button("Full");
    int clicks = 0;
    button.OnClick = [&](TObject*) { ++clicks; };
    const HWND w = button.Handle();
    EXPECT_EQ(Shown(button), kUp);
    // Borderless: the form shows through the picture's key corners.
    EXPECT_EQ(PixelAt(*Painted(button), 0, 0), kFace);

    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    EXPECT_TRUE(button.Tracking());
    EXPECT_TRUE(button.HasFocus());
    EXPECT_EQ(button.State(), bstDown);
    EXPECT_EQ(Shown(button), kDown);
    // Out: the right column and the bottom row are outside already.
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, At(20, 5));
    EXPECT_EQ(button.State(), bstUp);
    EXPECT_NE(Shown(button), kDown);
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, At(19, 9));
    EXPECT_EQ(Shown(button), kDown);
    SendMessageA(w, WM_LBUTTONUP, 0, At(19, 9));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button.Tracking());
    EXPECT_EQ(button.State(), bstUp);

    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, At(5, 10));
    SendMessageA(w, WM_LBUTTONUP, 0, At(5, 10));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button.State(), bstUp);
    form.Hide();
}

TEST(BmpButton, ThePointerOverTheButtonShowsHot)
{
    ButtonForm form;
    form.Show();
    auto& button = form.Button("UpAndHot");
    int enters = 0, leaves = 0;
    button.OnMouseEnter = [&](TObject* sender) { enters += sender == &button; };
    button.OnMouseLeave = [&](TObject* sender) { leaves += sender == &button; };
    SendMessageA(button.Handle(), WM_MOUSEMOVE, 0, At(3, 3));
    EXPECT_TRUE(button.MouseInside());
    EXPECT_EQ(Shown(button), kHot);
    // Without a Down picture a press shows Up.
    SendMessageA(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
    EXPECT_EQ(Shown(button), kUp);
    SendMessageA(button.Handle(), WM_LBUTTONUP, 0, At(3, 3));
    EXPECT_EQ(Shown(button), kHot);
    SendMessageA(button.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Shown(button), kUp);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
    form.Hide();
}

TEST(BmpButton, KeyboardPressesClick)
{
    ButtonForm form;
    form.Show();
    auto& button = form.Button("Full");
    int clicks = 0;
    button.OnClick = [&](TObject*) { ++clicks; };
    const HWND w = button.Handle();
    // Space presses; any key released ends the press with a click.
    SendMessageA(w, WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(button.State(), bstDown);
    EXPECT_EQ(Shown(button), kDown);
    SendMessageA(w, WM_KEYUP, 'A', 0xC0000001);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button.State(), bstUp);
    // Enter clicks at once, on every auto-repeated key-down.
    SendMessageA(w, WM_KEYDOWN, VK_RETURN, 1);
    SendMessageA(w, WM_KEYDOWN, VK_RETURN, 0x40000001);
    SendMessageA(w, WM_KEYDOWN, VK_RETURN, 0x40000001);
    EXPECT_EQ(clicks, 4);
    SendMessageA(w, WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_EQ(clicks, 4);
    form.Hide();
}

TEST(BmpButton, ADoubleClickIsTwoClicks)
{
    ButtonForm form;
    form.Show();
    auto& button = form.Button("Full");
    int clicks = 0, doubles = 0;
    button.OnClick = [&](TObject*) { ++clicks; };
    button.OnDblClick = [&](TObject*) { ++doubles; };
    const HWND w = button.Handle();
    auto doubleClick = [&] {
        SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
        SendMessageA(w, WM_LBUTTONUP, 0, At(5, 5));
        SendMessageA(w, WM_LBUTTONDBLCLK, MK_LBUTTON, At(5, 5));
        SendMessageA(w, WM_LBUTTONUP, 0, At(5, 5));
    };
    doubleClick();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(doubles, 0);
    // A latched group member hears the double click: the first click latched it.
    button.SetGroupIndex(1);
    button.SetAllowAllUp(true);
    doubleClick();
    EXPECT_EQ(clicks, 4);
    EXPECT_EQ(doubles, 1);
    EXPECT_FALSE(button.Down()); // latched by the first click, released by the second
    form.Hide();
}

TEST(BmpButton, FocusShowsOnlyThroughItsOwnPicture)
{
    ButtonForm form;
    form.Show();
    auto& full = form.Button("Full");
    auto& other = form.Button("UpAndHot");
    full.SetFocus();
    EXPECT_TRUE(full.HasFocus());
    EXPECT_EQ(Shown(full), kUp); // no focused picture, no caption: no sign of the focus
    auto unchanged = Painted(full);
    full.Bitmaps().SetUpAndFocused(*Picture(kFocused));
    EXPECT_EQ(Shown(full), kFocused);
    full.SetShowFocus(false);
    EXPECT_EQ(Shown(full), kUp);
    full.SetShowFocus(true);
    other.SetFocus();
    EXPECT_FALSE(full.HasFocus());
    EXPECT_EQ(Shown(full), kUp);
    EXPECT_TRUE(SamePixels(*Painted(full), *unchanged));
    form.Hide();
}

TEST(BmpButton, ADisabledButtonEmbossesTheBlackOfItsUpPicture)
{
    ButtonForm form;
    auto& button = form.Button("Full");
    // Olive with a black 4 x 3 block at (5, 3).
    auto up = SolidBitmap(20, 10, clOlive);
    up->Canvas().Brush().SetColor(clBlack);
    up->Canvas().FillRect(RECT{5, 3, 9, 6});
    button.Bitmaps().SetUp(*up);
    button.SetEnabled(false);
    auto painted = Painted(button);
    EXPECT_EQ(button.State(), bstDisabled);
    const TColor face = ColorToRGB(clBtnFace), shadow = ColorToRGB(clBtnShadow);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool block = x >= 5 && x < 9 && y >= 3 && y < 6;
            const bool edge = !block && x >= 6 && x < 10 && y >= 4 && y < 7;
            const TColor expected = block ? shadow : edge ? clWhite : face;
            ASSERT_EQ(PixelAt(*painted, x, y), expected) << x << ", " << y;
        }
    // A picture of its own wins; enabling brings Up back.
    button.Bitmaps().SetDisabled(*Picture(kStayDown));
    EXPECT_EQ(Shown(button), kStayDown);
    button.SetEnabled(true);
    EXPECT_EQ(Shown(button), kFace); // Up is olive, the key, there
    EXPECT_EQ(button.State(), bstUp);
}

TEST(BmpButton, AcceleratorAndModalResult)
{
    ButtonForm form;
    auto& button = form.Button("Full");
    button.SetCaption("&Open");
    button.SetModalResult(mrCancel);
    int clicks = 0;
    button.OnClick = [&](TObject*) { ++clicks; };
    EXPECT_TRUE(form.DialogChar('o'));
    EXPECT_TRUE(form.DialogChar('O'));
    EXPECT_FALSE(form.DialogChar('p'));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(form.ModalResult(), mrCancel);
    // Every click sets the result, 0 as well.
    form.SetModalResult(mrOk);
    button.SetModalResult(0);
    button.Click();
    EXPECT_EQ(form.ModalResult(), 0);
    button.SetEnabled(false);
    EXPECT_FALSE(form.DialogChar('o'));
    EXPECT_EQ(clicks, 3);
}

TEST(BmpButton, CaptionDrawnOverThePictureAndTwiceWhenDisabled)
{
    ButtonForm form;
    auto& button = form.Button("Full");
    button.SetButtonSize(bszStretchToButton);
    button.SetBounds(10, 10, 120, 40);
    button.SetCaption("W&W");
    button.Font().SetColor(clBlack);
    auto count = [](TBitmap& b, TColor c) {
        int n = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                n += PixelAt(b, x, y) == c;
        return n;
    };
    auto enabled = Painted(button);
    EXPECT_GT(count(*enabled, clBlack), 10);
    button.SetEnabled(false);
    auto disabled = Painted(button);
    EXPECT_EQ(count(*disabled, clBlack), 0);
    EXPECT_GT(count(*disabled, clGray), 10);
    EXPECT_GT(count(*disabled, clWhite), 0);
}

class GroupForm : public TForm {
public:
    GroupForm()
    {
        SetBorderStyle(bsNone);
        SetClientSize(200, 100);
        auto member = [](int group) {
            return [group](TBmpButton& b) {
                b.Bitmaps().SetUp(*Picture(kUp));
                b.Bitmaps().SetDown(*Picture(kDown));
                b.Bitmaps().SetStayDown(*Picture(kStayDown));
                b.SetGroupIndex(group);
            };
        };
        BuildLayout(*this, {
            Place<TBmpButton>("A", 0, 0, 1, 1, {}, std::function<void(TBmpButton&)>(member(1))),
            Place<TBmpButton>("B", 30, 0, 1, 1, {}, std::function<void(TBmpButton&)>(member(1))),
            Place<TBmpButton>("C", 60, 0, 1, 1, {}, std::function<void(TBmpButton&)>(member(1))),
            Place<TBmpButton>("Other", 90, 0, 1, 1, {}, std::function<void(TBmpButton&)>(member(2))),
        });
    }
    TBmpButton& B(const char* name) { return Component<TBmpButton>(name); }
    void ClickWithMouse(const char* name)
    {
        SendMessageA(B(name).Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
        SendMessageA(B(name).Handle(), WM_LBUTTONUP, 0, At(5, 5));
    }
    std::string Down()
    {
        std::string s;
        for (const char* n : {"A", "B", "C", "Other"})
            if (B(n).Down())
                s += n;
        return s;
    }
};

TEST(BmpButtonGroup, AtMostOneMemberStaysDown)
{
    GroupForm form;
    form.Show();
    int clicks = 0;
    form.B("B").OnClick = [&](TObject*) { ++clicks; };
    form.B("Other").SetDown(true);
    form.ClickWithMouse("A");
    EXPECT_EQ(form.Down(), "AOther");
    EXPECT_EQ(form.B("A").State(), bstStayDown);
    EXPECT_EQ(Shown(form.B("A")), kStayDown);
    form.ClickWithMouse("B");
    EXPECT_EQ(form.Down(), "BOther");
    EXPECT_EQ(Shown(form.B("A")), kUp);
    // Without AllowAllUp the latched one stays latched, and still clicks.
    form.ClickWithMouse("B");
    EXPECT_EQ(form.Down(), "BOther");
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(Shown(form.B("B")), kStayDown);
    // The same by keyboard: the latched button is still drawn latched.
    SendMessageA(form.B("B").Handle(), WM_KEYDOWN, VK_SPACE, 1);
    SendMessageA(form.B("B").Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(form.Down(), "BOther");
    EXPECT_EQ(form.B("B").State(), bstStayDown);
    form.B("B").SetDown(false);
    EXPECT_TRUE(form.B("B").Down());

    // AllowAllUp spreads to the whole group, and then a click releases.
    form.B("A").SetAllowAllUp(true);
    EXPECT_TRUE(form.B("B").AllowAllUp());
    EXPECT_TRUE(form.B("C").AllowAllUp());
    EXPECT_FALSE(form.B("Other").AllowAllUp());
    form.ClickWithMouse("B");
    EXPECT_EQ(form.Down(), "Other");
    EXPECT_EQ(form.B("B").State(), bstUp);
    form.B("C").SetDown(true);
    form.B("C").SetDown(false);
    EXPECT_EQ(form.Down(), "Other");
    // Released outside: no click, and a latched button goes back to its latched picture.
    form.ClickWithMouse("A");
    SendMessageA(form.B("A").Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageA(form.B("A").Handle(), WM_LBUTTONUP, 0, At(50, 5));
    EXPECT_EQ(form.Down(), "AOther");
    EXPECT_EQ(form.B("A").State(), bstStayDown);
    // A member that is not down, released outside without a move in between, is drawn up.
    SendMessageA(form.B("C").Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageA(form.B("C").Handle(), WM_LBUTTONUP, 0, At(50, 5));
    EXPECT_EQ(form.B("C").State(), bstUp);
    EXPECT_EQ(Shown(form.B("C")), kUp);
    // Leaving the group releases the button: only a member stays down. It is drawn up again.
    ValidateRect(form.B("A").Handle(), nullptr);
    form.B("A").SetGroupIndex(0);
    EXPECT_FALSE(form.B("A").Down());
    EXPECT_TRUE(GetUpdateRect(form.B("A").Handle(), nullptr, FALSE)) << "the latched picture must go";
    EXPECT_EQ(Shown(form.B("A")), kUp);
    // Enabled again, a latched member is drawn latched.
    form.B("C").SetDown(true);
    form.B("C").SetEnabled(false);
    EXPECT_NE(Shown(form.B("C")), kStayDown);
    form.B("C").SetEnabled(true);
    EXPECT_EQ(Shown(form.B("C")), kStayDown);
    // A group message naming no sibling button as its sender is ignored.
    SendMessageA(form.B("C").Handle(), GroupPressedMsg, 1, 0x10);
    EXPECT_TRUE(form.B("C").Down());
    EXPECT_TRUE(form.B("C").AllowAllUp());
    form.Hide();
}

TEST(BmpButtonGroup, ThePatternIsSharedAndGoesWithTheLastButton)
{
    ASSERT_EQ(TBmpButton::ButtonInstanceCount(), 0);
    EXPECT_EQ(TBmpButton::DownPatternBitmap(), nullptr);
    for (int round = 0; round < 2; ++round) {
        GroupForm form;
        EXPECT_EQ(TBmpButton::ButtonInstanceCount(), 4);
        auto& a = form.B("A");
        a.Bitmaps().SetStayDown(TBitmap());
        a.Bitmaps().SetDown(TBitmap());
        a.SetButtonBorder(bbSingle);
        a.SetButtonStyle(bsNew);
        EXPECT_EQ(TBmpButton::DownPatternBitmap(), nullptr);
        a.SetDown(true);
        auto painted = Painted(a);
        TBitmap* pattern = TBmpButton::DownPatternBitmap();
        ASSERT_NE(pattern, nullptr);
        EXPECT_EQ(pattern->Width(), 8);
        EXPECT_EQ(PixelAt(*pattern, 0, 0), clWhite);
        EXPECT_EQ(PixelAt(*pattern, 1, 0), ColorToRGB(clBtnFace));
        EXPECT_EQ(PixelAt(*pattern, 1, 1), clWhite);
        // The frame, then the checkerboard through the picture's key corner at (1, 1).
        EXPECT_EQ(PixelAt(*painted, 21, 5), clBlack);
        EXPECT_EQ(PixelAt(*painted, 1, 1), clWhite);
        EXPECT_EQ(PixelAt(*painted, 2, 1), ColorToRGB(clBtnFace));
        EXPECT_EQ(PixelAt(*painted, 10, 5), kUp);
        // Without the pattern the latched fill is the button's colour.
        a.SetShowDownPattern(false);
        a.SetColor(clTeal);
        EXPECT_EQ(PixelAt(*Painted(a), 1, 1), clTeal);
    }
    EXPECT_EQ(TBmpButton::ButtonInstanceCount(), 0);
    EXPECT_EQ(TBmpButton::DownPatternBitmap(), nullptr);
}

TEST(BmpButton, PushButtonFaceSinksWhilePressed)
{
    ButtonForm form;
    auto& button = form.Button("Full");
    button.SetButtonBorder(bbButton);
    button.SetButtonStyle(bsWin31);
    button.SetShowFocus(false);
    ASSERT_EQ(button.Width(), 26);
    auto raised = Painted(button);
    EXPECT_EQ(PixelAt(*raised, 0, 5), ColorToRGB(clWindowFrame));
    EXPECT_EQ(PixelAt(*raised, 1, 5), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelAt(*raised, 24, 5), ColorToRGB(clBtnShadow));
    // The picture sits inside the face: (1, 1) inset, then one more pixel.
    EXPECT_EQ(PixelAt(*raised, 6, 6), kUp);
    form.Show();
    SendMessageA(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    auto sunken = Painted(button);
    EXPECT_EQ(PixelAt(*sunken, 1, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(*sunken, 10, 8), kDown);
    SendMessageA(button.Handle(), WM_LBUTTONUP, 0, At(5, 5));
    form.Hide();
}

} // namespace
