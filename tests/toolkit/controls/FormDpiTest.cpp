// Forms at another display scale: what a window of another DPI gets (WM_DPICHANGED as the
// system sends it when a window moves to a monitor of another scale), in a test program that
// itself runs at 96 DPI.
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/PageControl.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/controls/TabSheet.h"
#include "toolkit/controls/TreeView.h"
#include "toolkit/core/DisplayDpi.h"
#include "toolkit/graphics/Font.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ScaledForm : public TForm {
public:
    ScaledForm()
    {
        SetBorderStyle(bsNone);
        SetBounds(100, 80, 300, 200);
        BuildLayout(*this, {
            Place<TPanel>("Outer", 10, 21, 101, 51),
            Place<TLabel>("Inner", 5, 5, 40, 13, "Outer"),
            Place<TLabel>("Title", 7, 3, 120, 20, {}, [](TLabel& l) {
                l.SetParentFont(false);
                l.Font().SetHeight(16);
                l.Font().SetBold(true);
            }),
            Place<TPanel>("Filled", 0, 0, 0, 0, "Outer", [](TPanel& p) { p.SetAlign(alClient); }),
            Place<TPageControl>("Pages", 150, 40, 140, 120),
            Place<TTabSheet>("Sheet", "Pages"),
            Place<TTreeView>("Tree", 4, 4, 100, 80, "Sheet", [](TTreeView& t) { t.SetIndent(19); }),
        });
    }
};

// The place of a child window in its parent's client area.
RECT PlaceOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void MoveToDpi(TForm& form, int dpi, RECT suggested)
{
    SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

RECT SuggestedFor(int dpi, POINT at)
{
    return {at.x, at.y, at.x + ScaledToDpi(300, dpi), at.y + ScaledToDpi(200, dpi)};
}

int FontHeightOf(TFont& font)
{
    LOGFONTA logical{};
    GetObjectA(font.Handle(), sizeof logical, &logical);
    return logical.lfHeight;
}

} // namespace

TEST(FormDpi, ControlsAndFontsScaleFromTheDesignAndComeBackExactly)
{
    ScaledForm form;
    const HWND window = form.Handle();
    auto& outer = form.Component<TPanel>("Outer");
    auto& inner = form.Component<TLabel>("Inner");
    auto& title = form.Component<TLabel>("Title");
    auto& filled = form.Component<TPanel>("Filled");
    ASSERT_EQ(form.Dpi(), 96);
    EXPECT_EQ(FontHeightOf(form.Font()), -11);

    MoveToDpi(form, 144, SuggestedFor(144, {40, 30}));
    EXPECT_EQ(form.Dpi(), 144);
    // The system's suggested place taken whole.
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 450);
    EXPECT_EQ(r.bottom - r.top, 300);
    // Left, top, width and height each scaled and rounded half up: 10.5 x 21 -> 15, 31.5 -> 32.
    const RECT outerPlace = PlaceOf(outer.Handle());
    EXPECT_EQ(outerPlace.left, 15);
    EXPECT_EQ(outerPlace.top, 32);
    EXPECT_EQ(outerPlace.right - outerPlace.left, 152); // 151.5
    EXPECT_EQ(outerPlace.bottom - outerPlace.top, 77);  // 76.5
    EXPECT_EQ(inner.Left(), 8);
    EXPECT_EQ(inner.Width(), 60);
    EXPECT_EQ(inner.Height(), 20); // 19.5
    // An aligned control fills its parent again; it has no place of its own to scale.
    EXPECT_EQ(filled.Width(), outer.ClientWidth());
    EXPECT_EQ(filled.Height(), outer.ClientHeight());
    // Fonts: the form's, the one following it, and one of a control's own, all made larger.
    EXPECT_EQ(form.Font().Height(), 11);
    EXPECT_EQ(FontHeightOf(form.Font()), -17); // 16.5
    EXPECT_EQ(FontHeightOf(inner.Font()), -17);
    EXPECT_TRUE(inner.ParentFont());
    EXPECT_EQ(FontHeightOf(title.Font()), -24);
    EXPECT_FALSE(title.ParentFont());

    // Across 120 and 192 and back to 96: everything exactly where it was.
    MoveToDpi(form, 120, SuggestedFor(120, {40, 30}));
    MoveToDpi(form, 192, SuggestedFor(192, {40, 30}));
    EXPECT_EQ(inner.Width(), 80);
    EXPECT_EQ(FontHeightOf(title.Font()), -32);
    MoveToDpi(form, 96, SuggestedFor(96, {40, 30}));
    EXPECT_EQ(outer.BoundsRect().left, 10);
    EXPECT_EQ(outer.BoundsRect().top, 21);
    EXPECT_EQ(outer.Width(), 101);
    EXPECT_EQ(outer.Height(), 51);
    EXPECT_EQ(inner.BoundsRect().top, 5);
    EXPECT_EQ(inner.Height(), 13);
    EXPECT_EQ(form.Width(), 300);
    EXPECT_EQ(FontHeightOf(inner.Font()), -11);
    EXPECT_EQ(FontHeightOf(title.Font()), -16);
    // Font changes of the form still reach the control that follows it.
    form.Font().SetHeight(14);
    EXPECT_EQ(inner.Font().Height(), 14);
}

TEST(FormDpi, PagesAndTreesFollowTheirOwnLayout)
{
    ScaledForm form;
    form.HandleNeeded();
    auto& pages = form.Component<TPageControl>("Pages");
    auto& sheet = form.Component<TTabSheet>("Sheet");
    auto& tree = form.Component<TTreeView>("Tree");
    MoveToDpi(form, 144, SuggestedFor(144, {0, 0}));
    // The page fills the page control's display area at the new size.
    EXPECT_EQ(pages.Width(), 210);
    RECT display{0, 0, pages.Width(), pages.Height()};
    SendMessageA(pages.Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_EQ(sheet.BoundsRect().left, display.left);
    EXPECT_EQ(sheet.BoundsRect().right, display.right);
    EXPECT_EQ(sheet.BoundsRect().bottom, display.bottom);
    // The tree inside it scaled from its own design, and its indent too.
    EXPECT_EQ(tree.Width(), 150);
    EXPECT_EQ(SendMessageA(tree.Handle(), TVM_GETINDENT, 0, 0), 29); // 28.5
    EXPECT_EQ(tree.Indent(), 19);
}

TEST(FormDpi, ScaledWorkRunsWhenTheWindowIsMadeAndAfterEveryChange)
{
    ScaledForm form;
    std::vector<int> seen;
    form.WhenScaled([&] { seen.push_back(form.Dpi()); });
    EXPECT_EQ(seen, std::vector<int>{}); // no window yet
    form.HandleNeeded();
    EXPECT_EQ(seen, std::vector<int>{96});
    MoveToDpi(form, 168, SuggestedFor(168, {5, 5}));
    EXPECT_EQ(seen, (std::vector<int>{96, 168}));
    // The same DPI again (a move between two monitors of one scale): the place only.
    MoveToDpi(form, 168, RECT{60, 70, 60 + form.Width(), 70 + form.Height()});
    EXPECT_EQ(seen, (std::vector<int>{96, 168}));
    EXPECT_EQ(form.Left(), 60);
    EXPECT_EQ(form.Top(), 70);
    // Work added once the window exists runs at once.
    int late = 0;
    form.WhenScaled([&] { late = form.Dpi(); });
    EXPECT_EQ(late, 168);
}

TEST(FormDpi, AskedItsSizeAtAnotherDpiAFormAnswersItsScaledDesign)
{
    ScaledForm form;
    SIZE size{};
    SendMessageA(form.Handle(), kGetDpiScaledSizeMessage, 120, reinterpret_cast<LPARAM>(&size));
    EXPECT_EQ(size.cx, 375);
    EXPECT_EQ(size.cy, 250);
    // A control placed on a form that is at another scale already takes that scale.
    MoveToDpi(form, 144, SuggestedFor(144, {0, 0}));
    BuildLayout(form, {Place<TPanel>("Late", 10, 10, 101, 20)});
    auto& late = form.Component<TPanel>("Late");
    EXPECT_EQ(late.Dpi(), 144);
    EXPECT_EQ(late.Left(), 15);
    EXPECT_EQ(late.Width(), 152);
}
