#include "toolkit/core/Action.h"
#include "toolkit/core/ActionList.h"
#include "toolkit/controls/CheckBox.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"
#include "toolkit/controls/Memo.h"
#include "toolkit/controls/PageControl.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/controls/RadioButton.h"
#include "toolkit/controls/TabSheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RadioForm : public TForm {
public:
    RadioForm()
    {
        TFormLayout rows = {Place<TPanel>("Left", 0, 0, 150, 120), Place<TPanel>("Right", 150, 0, 150, 120)};
        for (int i = 1; i <= 3; ++i)
            rows.push_back(Place<TRadioButton>("RadioButton" + std::to_string(i), 8, 8 + 24 * i, 120, 17, "Left"));
        rows.push_back(Place<TRadioButton>("Other", 8, 8, 120, 17, "Right"));
        BuildLayout(*this, rows);
        for (int i = 1; i <= 3; ++i)
            Radio(i).OnClick = [this, i](TObject*) { clicked.push_back(i); };
    }
    TRadioButton& Radio(int i) { return Component<TRadioButton>("RadioButton" + std::to_string(i)); }
    bool ShownChecked(TRadioButton& r) { return SendMessageA(r.Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::vector<int> clicked;
};

TEST(RadioButtons, OneParentIsOneGroup)
{
    RadioForm form;
    form.HandleNeeded();
    auto& other = form.Component<TRadioButton>("Other");
    other.SetChecked(true);
    form.Radio(1).SetChecked(true);
    form.Radio(3).SetChecked(true);
    EXPECT_FALSE(form.Radio(1).Checked());
    EXPECT_FALSE(form.Radio(2).Checked());
    EXPECT_TRUE(form.Radio(3).Checked());
    EXPECT_TRUE(other.Checked()); // another parent, another group
    EXPECT_FALSE(form.ShownChecked(form.Radio(1)));
    EXPECT_TRUE(form.ShownChecked(form.Radio(3)));
    // Clicks come only for buttons that became checked.
    EXPECT_EQ(form.clicked, (std::vector<int>{1, 3}));

    // The user's click on a button of the group checks it and unchecks the others.
    SendMessageA(form.Radio(2).Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.Radio(2).Checked());
    EXPECT_FALSE(form.Radio(3).Checked());
    EXPECT_FALSE(form.ShownChecked(form.Radio(3)));
    // Clicking the checked one again changes nothing and fires nothing.
    SendMessageA(form.Radio(2).Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.Radio(2).Checked());
    EXPECT_EQ(form.clicked, (std::vector<int>{1, 3, 2}));
}

class CheckForm : public TForm {
public:
    CheckForm()
    {
        BuildLayout(*this, {
            Place<TCheckBox>("AlppeSubDirectory", 15, 14, 129, 17, {}, [](TCheckBox& c) { c.SetCaption("&Apply to folder"); }),
            Place<TMemo>("FolderTip", 4, 40, 200, 80),
        });
        Box().OnClick = [this](TObject*) { states.push_back(Box().Checked()); };
    }
    TCheckBox& Box() { return Component<TCheckBox>("AlppeSubDirectory"); }
    std::vector<bool> states;
};

TEST(CheckBox, EveryChangeIsAClickWithTheNewState)
{
    CheckForm form;
    SendMessageA(form.Box().Handle(), BM_CLICK, 0, 0);
    SendMessageA(form.Box().Handle(), BM_CLICK, 0, 0);
    form.Box().SetChecked(true);
    form.Box().SetChecked(true);
    EXPECT_EQ(form.states, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(SendMessageA(form.Box().Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST(CheckBox, AcceleratorTogglesItThroughTheForm)
{
    CheckForm form;
    form.Show(); // only a control that can take the focus answers
    EXPECT_TRUE(form.DialogChar('a'));
    EXPECT_TRUE(form.Box().Checked());
    EXPECT_FALSE(form.DialogChar('x'));
    form.Box().SetVisible(false);
    EXPECT_FALSE(form.DialogChar('A'));
    EXPECT_TRUE(form.Box().Checked());
    form.Hide();
}

TEST(CheckBox, PaintsItsBackgroundInItsColour)
{
    CheckForm form;
    form.Box().SetColor(RGBColor(222, 222, 222));
    const HWND box = form.Box().Handle();
    ScopedWindowDC dc(box);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(form.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(box)));
    ASSERT_NE(brush, nullptr);
    LOGBRUSH info{};
    GetObjectA(brush, sizeof info, &info);
    EXPECT_EQ(info.lbColor, RGB(222, 222, 222));
}

TEST(Accelerators, CaptionRules)
{
    EXPECT_EQ(AcceleratorOf("&OK"), 'O');
    EXPECT_EQ(AcceleratorOf("Save &as"), 'a');
    EXPECT_EQ(AcceleratorOf("Fish && Chips"), 0);
    EXPECT_EQ(AcceleratorOf("A&&B&c"), 'c');
    EXPECT_EQ(AcceleratorOf("Trailing&"), 0);
    EXPECT_TRUE(IsAccelerator('o', "&OK"));
    EXPECT_TRUE(IsAccelerator('O', "&ok"));
    EXPECT_FALSE(IsAccelerator('K', "&OK"));
    EXPECT_FALSE(IsAccelerator('&', "A && B"));
}

TEST(Memo, TextKeepsLineBreaks)
{
    CheckForm form;
    auto& memo = form.Component<TMemo>("FolderTip");
    memo.SetText("first line\nsecond line\r\nthird");
    EXPECT_EQ(memo.Text(), "first line\r\nsecond line\r\nthird");
    EXPECT_EQ(SendMessageA(memo.Handle(), EM_GETLINECOUNT, 0, 0), 3);
    // What the user types is what Text reports.
    SetWindowTextA(memo.Handle(), "typed\r\nby hand");
    EXPECT_EQ(memo.Text(), "typed\r\nby hand");
    // Tab belongs to the form's navigation, not to the text.
    EXPECT_FALSE(SendMessageA(memo.Handle(), WM_GETDLGCODE, VK_TAB, 0) & (DLGC_WANTTAB | DLGC_WANTALLKEYS));
}

class PagesForm : public TForm {
public:
    PagesForm()
    {
        SetClientSize(488, 341);
        BuildLayout(*this, {
            Place<TPageControl>("PageControl1", 11, 39, 467, 248),
            Place<TTabSheet>("TabSheet1", "PageControl1", [](TTabSheet& s) { s.SetCaption("Icon"); }),
            Place<TTabSheet>("TabSheet2", "PageControl1", [](TTabSheet& s) { s.SetCaption("Tip"); }),
            Place<TTabSheet>("TabSheet3", "PageControl1", [](TTabSheet& s) { s.SetCaption("Text color"); }),
            Place<TTabSheet>("TabSheet4", "PageControl1", [](TTabSheet& s) { s.SetCaption("Background"); }),
        });
    }
    TPageControl& Pages() { return Component<TPageControl>("PageControl1"); }
    TTabSheet& Sheet(int i) { return Component<TTabSheet>("TabSheet" + std::to_string(i)); }
    int TabCount() { return static_cast<int>(SendMessageA(Pages().Handle(), TCM_GETITEMCOUNT, 0, 0)); }
    std::string TabText(int tab)
    {
        char text[64] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(Pages().Handle(), TCM_GETITEMA, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
        return text;
    }
};

TEST(PageControl, TabsCanBeHiddenOneByOne)
{
    PagesForm form;
    form.HandleNeeded();
    EXPECT_EQ(form.Pages().PageCount(), 4);
    EXPECT_EQ(form.TabCount(), 4);
    EXPECT_EQ(form.Pages().ActivePageIndex(), 0);
    for (int i = 2; i <= 4; ++i)
        form.Sheet(i).SetTabVisible(false);
    EXPECT_EQ(form.TabCount(), 1);
    EXPECT_EQ(form.TabText(0), "Icon");
    EXPECT_EQ(form.Pages().PageCount(), 4); // the pages stay, only their tabs go
    form.Sheet(3).SetTabVisible(true);
    EXPECT_EQ(form.TabCount(), 2);
    EXPECT_EQ(form.TabText(1), "Text color");
    EXPECT_EQ(form.Pages().PageOfTab(1), &form.Sheet(3));
    EXPECT_EQ(form.Pages().PageOfTab(2), nullptr);
}

TEST(PageControl, OnlyTheActivePageIsShown)
{
    PagesForm form;
    form.Show();
    form.Pages().SetActivePageIndex(2);
    EXPECT_EQ(form.Pages().ActivePage(), &form.Sheet(3));
    EXPECT_EQ(SendMessageA(form.Pages().Handle(), TCM_GETCURSEL, 0, 0), 2);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(IsWindowVisible(form.Sheet(i).Handle()) != FALSE, i == 3) << i;
    // A page whose tab is hidden can still be the active one; then no tab is selected.
    form.Sheet(2).SetTabVisible(false);
    form.Pages().SetActivePageIndex(1);
    EXPECT_TRUE(IsWindowVisible(form.Sheet(2).Handle()));
    EXPECT_EQ(SendMessageA(form.Pages().Handle(), TCM_GETCURSEL, 0, 0), -1);
    form.Hide();
}

TEST(PageControl, UserSwitchingTabsActivatesTheMatchingPage)
{
    PagesForm form;
    form.HandleNeeded();
    form.Sheet(2).SetTabVisible(false);
    int changes = 0;
    form.Pages().OnChange = [&](TObject*) { ++changes; };
    // The user picks the second visible tab, which is the third page.
    const HWND tabs = form.Pages().Handle();
    SendMessageA(tabs, TCM_SETCURSEL, 1, 0);
    NMHDR header{tabs, 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(form.Pages().ActivePageIndex(), 2);
    EXPECT_EQ(changes, 1);
}

TEST(PageControl, WithoutVisibleTabsThePageFillsTheControlButAMargin)
{
    PagesForm form;
    form.HandleNeeded();
    for (int i = 1; i <= 4; ++i)
        form.Sheet(i).SetTabVisible(false);
    const RECT r = form.Sheet(1).BoundsRect();
    EXPECT_EQ(r.left, 4);
    EXPECT_EQ(r.top, 4);
    EXPECT_EQ(r.right, 467 - 4);
    EXPECT_EQ(r.bottom, 248 - 4);
    // With tabs the page starts below the tab row.
    form.Sheet(1).SetTabVisible(true);
    EXPECT_GT(form.Sheet(1).BoundsRect().top, 10);
}

// A custom-drawn control that records which framework hooks ran.
class HookProbe : public TCustomControl {
public:
    HookProbe() { SetTabStop(true); }
    std::vector<std::string> calls;

protected:
    void MouseEnter() override { calls.push_back("enter"); }
    void MouseLeave() override { calls.push_back("leave"); }
    void FocusGained() override
    {
        calls.push_back("focus");
        TCustomControl::FocusGained();
    }
    void FocusLost() override { calls.push_back("blur"); }
    void KeyDown(WORD& key, TShiftState shift) override
    {
        TCustomControl::KeyDown(key, shift);
        calls.push_back("keydown " + std::to_string(key));
    }
    void EnabledChanged() override { calls.push_back("enabled"); }
    void CaptionChanged() override { calls.push_back("caption"); }
    void FontChanged() override { calls.push_back("font"); }
    void SysColorChanged() override { calls.push_back("syscolor"); }
    bool DialogChar(char ch) override
    {
        if (!IsAccelerator(ch, Caption()))
            return false;
        calls.push_back("accel");
        return true;
    }
};

class ProbeForm : public TForm {
public:
    ProbeForm()
    {
        BuildLayout(*this, {
            Place<HookProbe>("Probe1", 0, 0, 50, 30, {}, [](HookProbe& p) { p.SetCaption("&Go"); }),
            Place<HookProbe>("Probe2", 60, 0, 50, 30),
        });
    }
    HookProbe& Probe(int i) { return Component<HookProbe>("Probe" + std::to_string(i)); }
};

TEST(CustomControl, FrameworkHooksRunForTheirMessages)
{
    ProbeForm form;
    form.Show();
    HookProbe& probe = form.Probe(1);
    form.Probe(2).SetFocus();
    probe.calls.clear();
    std::vector<WORD> keysSeen;
    probe.OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keysSeen.push_back(key); };

    SendMessageA(probe.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    SendMessageA(probe.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 3)); // still inside: no second enter
    SendMessageA(probe.Handle(), WM_MOUSELEAVE, 0, 0);
    probe.SetFocus();
    SendMessageA(probe.Handle(), WM_KEYDOWN, VK_SPACE, 0);
    form.Probe(2).SetFocus();
    probe.SetEnabled(false);
    probe.SetCaption("&Run");
    probe.Font().SetBold(true);
    EXPECT_TRUE(form.DialogChar('r'));
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"enter", "leave", "focus", "keydown 32", "blur", "enabled",
                                                     "caption", "font", "accel"}));
    EXPECT_EQ(keysSeen, std::vector<WORD>{VK_SPACE});
    EXPECT_FALSE(IsWindowEnabled(probe.Handle()));
    form.Hide();
}

TEST(CustomControl, DoubleClicksOnlyWhereTheStyleAsksForThem)
{
    ProbeForm form;
    HookProbe& probe = form.Probe(1);
    int doubles = 0, clicks = 0;
    std::vector<TShiftState> downs;
    probe.OnDblClick = [&](TObject*) { ++doubles; };
    probe.OnClick = [&](TObject*) { ++clicks; };
    probe.OnMouseDown = [&](TObject*, TMouseButton, TShiftState shift, int, int) { downs.push_back(shift & ssDouble); };
    const HWND window = probe.Handle();
    const auto doubleClick = [&] {
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    };
    doubleClick();
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(downs, (std::vector<TShiftState>{0, ssDouble}));
    // Without the style the second press is an ordinary press.
    probe.SetControlStyle(probe.ControlStyle() & ~csDoubleClicks);
    doubleClick();
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 4);
    EXPECT_EQ(downs, (std::vector<TShiftState>{0, ssDouble, 0, 0}));
    // Without click events a press and release is no click.
    probe.SetControlStyle(probe.ControlStyle() & ~csClickEvents);
    doubleClick();
    EXPECT_EQ(clicks, 4);
}

LRESULT CALLBACK CountSysColorChanges(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR count) noexcept
{
    if (msg == WM_SYSCOLORCHANGE)
        ++*reinterpret_cast<int*>(count);
    return DefSubclassProc(window, msg, wParam, lParam);
}

TEST(CustomControl, SystemColourChangesReachChildWindows)
{
    ProbeForm form;
    form.HandleNeeded();
    form.Probe(1).calls.clear();
    form.Probe(2).calls.clear();
    // The platform tells top-level windows only.
    SendMessageA(form.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(form.Probe(1).calls, std::vector<std::string>{"syscolor"});
    EXPECT_EQ(form.Probe(2).calls, std::vector<std::string>{"syscolor"});

    // A control of the platform's (tabs, a tree) is sent the message itself, once: it keeps
    // the colours it read and would go on drawing in the old ones.
    auto& pages = form.Own<TPageControl>();
    pages.SetParent(&form);
    int told = 0;
    ASSERT_TRUE(SetWindowSubclass(pages.Handle(), &CountSysColorChanges, 1, reinterpret_cast<DWORD_PTR>(&told)));
    SendMessageA(form.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    RemoveWindowSubclass(pages.Handle(), &CountSysColorChanges, 1);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(form.Probe(1).calls.size(), 2u);
}

TEST(CustomControl, TabMovesTheFocusInTabOrder)
{
    ProbeForm form;
    form.Show();
    EXPECT_EQ(GetFocus(), form.Probe(1).Handle()); // the first control takes the focus on show
    MSG tab{form.Probe(1).Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(form.PreTranslateMessage(tab));
    EXPECT_EQ(GetFocus(), form.Probe(2).Handle());
    EXPECT_EQ(form.ActiveControl(), &form.Probe(2));
    tab.hwnd = form.Probe(2).Handle();
    EXPECT_TRUE(form.PreTranslateMessage(tab));
    EXPECT_EQ(GetFocus(), form.Probe(1).Handle()); // and round again
    form.Hide();
}

TEST(Actions, ControlsFollowTheirActionAndRunIt)
{
    ProbeForm form;
    TActionList& list = form.Own<TActionList>();
    TAction& action = form.Own<TAction>();
    action.SetName("ActAdorn");
    action.SetActionList(&list);
    int runs = 0;
    action.OnExecute = [&](TObject* sender) {
        EXPECT_EQ(sender, &action);
        ++runs;
    };
    HookProbe& probe = form.Probe(2);
    probe.SetAction(&action);
    probe.Click();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(list.FindAction("ActAdorn"), &action);

    action.SetEnabled(false);
    EXPECT_FALSE(probe.Enabled());
    EXPECT_FALSE(action.Execute());
    probe.Click();
    EXPECT_EQ(runs, 1);
    action.SetEnabled(true);
    action.SetVisible(false);
    EXPECT_TRUE(probe.Enabled());
    EXPECT_FALSE(probe.Visible());

    // An OnClick of the control's own comes first.
    int ownClicks = 0;
    probe.OnClick = [&](TObject*) { ++ownClicks; };
    probe.Click();
    EXPECT_EQ(ownClicks, 1);
    EXPECT_EQ(runs, 1);
}

TEST(Actions, AGoneActionLeavesItsControlsUnbound)
{
    ProbeForm form;
    HookProbe& probe = form.Probe(1);
    {
        TAction action;
        TActionList list;
        action.SetActionList(&list);
        probe.SetAction(&action);
        EXPECT_EQ(list.ActionCount(), 1u);
    }
    EXPECT_EQ(probe.Action(), nullptr);
    probe.Click(); // nothing to run, nothing to crash
}

} // namespace

TEST(RadioButtons, AWindowStartsInTheStateThePlatformWouldLeaveAfterBeingToldIt)
{
    RadioForm form;
    form.Radio(2).SetChecked(true);
    form.HandleNeeded();
    // What the platform makes of a radio button with a Tab stop when it is told each state.
    const auto told = [&](bool checked) {
        ScopedWindow plain(CreateWindowExA(0, "BUTTON", "plain", WS_CHILD | WS_TABSTOP | BS_AUTORADIOBUTTON, 0, 0, 50,
                                           17, form.Handle(), nullptr, GetModuleHandleA(nullptr), nullptr));
        SendMessageA(plain.get(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        return GetWindowLongA(plain.get(), GWL_STYLE) & WS_TABSTOP;
    };
    for (int i = 1; i <= 3; ++i) {
        const bool checked = i == 2;
        SCOPED_TRACE(i);
        EXPECT_EQ(form.ShownChecked(form.Radio(i)), checked);
        EXPECT_EQ(GetWindowLongA(form.Radio(i).Handle(), GWL_STYLE) & WS_TABSTOP, told(checked));
    }
    // The check box of the same family keeps its Tab stop unchecked.
    TCheckBox& box = form.Own<TCheckBox>();
    box.SetParent(&form);
    EXPECT_TRUE(GetWindowLongA(box.Handle(), GWL_STYLE) & WS_TABSTOP);
}
