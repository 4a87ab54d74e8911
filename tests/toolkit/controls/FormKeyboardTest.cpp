// A form used by keyboard alone: Tab in a set order with a radio group as one stop, arrows in
// the group, Enter and Esc, Ctrl+Tab through pages, and the keyboard cues.
#include "support/HeldKeys.h"
#include "toolkit/controls/Button.h"
#include "toolkit/controls/CheckBox.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"
#include "toolkit/controls/Memo.h"
#include "toolkit/controls/PageControl.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/controls/RadioButton.h"
#include "toolkit/controls/TabSheet.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class KeyForm : public TForm {
public:
    KeyForm()
    {
        BuildLayout(*this, {
            Place<TButton>("OK", 200, 200, 75, 23, {}, [](TButton& b) { b.SetCaption("OK"); }),
            Place<TButton>("Cancel", 280, 200, 75, 23, {}, [](TButton& b) { b.SetCaption("Cancel"); }),
            Place<TCheckBox>("Box", 8, 200, 120, 17, {}, [](TCheckBox& c) { c.SetCaption("Box"); }),
            Place<TPanel>("Group", 8, 8, 150, 90),
            Place<TRadioButton>("Radio1", 4, 4, 100, 17, "Group"),
            Place<TRadioButton>("Radio2", 4, 24, 100, 17, "Group"),
            Place<TRadioButton>("Radio3", 4, 44, 100, 17, "Group"),
            Place<TMemo>("Memo", 170, 8, 180, 60),
            Place<TPageControl>("Pages", 8, 100, 340, 90),
            Place<TTabSheet>("Sheet1", "Pages", [](TTabSheet& s) { s.SetCaption("One"); }),
            Place<TTabSheet>("Sheet2", "Pages", [](TTabSheet& s) { s.SetCaption("Two"); }),
            Place<TTabSheet>("Sheet3", "Pages", [](TTabSheet& s) { s.SetCaption("Three"); }),
            Place<TButton>("OnFirst", 4, 4, 75, 23, "Sheet1"),
            Place<TButton>("OnThird", 4, 4, 75, 23, "Sheet3"),
        });
        SetBounds(60, 60, 380, 270);
        for (const char* name : {"OK", "Cancel"})
            Win(name).OnClick = [this, name](TObject*) { clicks.push_back(name); };
        SetDefaultControl(&Win("OK"));
        SetCancelControl(&Win("Cancel"));
        Pages().OnChange = [this](TObject*) { clicks.push_back("page"); };
    }
    TWinControl& Win(const std::string& name) { return Component<TWinControl>(name); }
    TRadioButton& Radio(int n) { return Component<TRadioButton>("Radio" + std::to_string(n)); }
    TPageControl& Pages() { return Component<TPageControl>("Pages"); }
    std::vector<std::string> clicks;
};

// A key as the message loop hands it to the form: to the window with the focus.
bool Press(TForm& form, WPARAM key, UINT message = WM_KEYDOWN)
{
    const MSG msg{GetFocus(), message, key, 0, 0, {}};
    return form.PreTranslateMessage(msg);
}

std::string Focused(KeyForm& form)
{
    for (const char* name : {"OK", "Cancel", "Box", "Radio1", "Radio2", "Radio3", "Memo", "Pages", "OnFirst",
                             "OnThird"})
        if (form.Win(name).Focused())
            return name;
    return "(none)";
}

TEST(FormKeyboard, TabFollowsTheSequenceWithARadioGroupAsOneStopWhoseArrowsMoveTheChoice)
{
    KeyForm form;
    form.SetTabSequence({&form.Radio(3), &form.Win("Box"), &form.Win("OK"), &form.Win("Cancel")});
    form.Show();
    // A group with nothing checked stops at its first button, whichever member the list named.
    EXPECT_EQ(Focused(form), "Radio1");
    std::vector<std::string> order{Focused(form)};
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(Press(form, VK_TAB));
        order.push_back(Focused(form));
    }
    // The named ones first, then the tab stops the list left out, in the order they were made;
    // a page that is not shown hides its controls.
    EXPECT_EQ(order, (std::vector<std::string>{"Radio1", "Box", "OK", "Cancel", "Memo", "Pages", "OnFirst", "Radio1"}));

    // Arrows move the focus and the choice inside the group, round the ends.
    EXPECT_TRUE(Press(form, VK_DOWN));
    EXPECT_EQ(Focused(form), "Radio2");
    EXPECT_TRUE(form.Radio(2).Checked());
    EXPECT_TRUE(Press(form, VK_LEFT));
    EXPECT_TRUE(Press(form, VK_UP));
    EXPECT_EQ(Focused(form), "Radio3");
    EXPECT_TRUE(form.Radio(3).Checked());
    EXPECT_FALSE(form.Radio(1).Checked());
    // The group's stop is now its checked button, from either side.
    EXPECT_TRUE(Press(form, VK_TAB));
    EXPECT_EQ(Focused(form), "Box");
    {
        const HeldKeys shift({VK_SHIFT});
        EXPECT_TRUE(Press(form, VK_TAB));
    }
    EXPECT_EQ(Focused(form), "Radio3");
    // Arrows elsewhere are the control's own.
    form.Win("Memo").SetFocus();
    EXPECT_FALSE(Press(form, VK_DOWN));
    EXPECT_EQ(Focused(form), "Memo");

    // A disabled button of the group is passed over by the arrows.
    form.Radio(1).SetEnabled(false);
    form.Radio(3).SetFocus();
    EXPECT_TRUE(Press(form, VK_RIGHT));
    EXPECT_EQ(Focused(form), "Radio2");
    form.Hide();
}

TEST(FormKeyboard, EnterIsTheDefaultButEnterOnAButtonOrInATextBoxAndEscIsCancelFromAnywhere)
{
    KeyForm form;
    form.Show();
    form.Win("Box").SetFocus();
    EXPECT_TRUE(Press(form, VK_RETURN));
    EXPECT_EQ(form.clicks, std::vector<std::string>{"OK"});

    // A focused button takes Enter itself: the form lets it through, the button clicks.
    form.clicks.clear();
    form.Win("Cancel").SetFocus();
    EXPECT_FALSE(Press(form, VK_RETURN));
    SendMessageA(form.Win("Cancel").Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(form.clicks, std::vector<std::string>{"Cancel"});

    // In the multi-line box Enter makes a line; Esc still cancels.
    form.clicks.clear();
    form.Win("Memo").SetFocus();
    EXPECT_FALSE(Press(form, VK_RETURN));
    EXPECT_TRUE(Press(form, VK_ESCAPE));
    EXPECT_EQ(form.clicks, std::vector<std::string>{"Cancel"});

    // A default or cancel control that cannot be used leaves the key alone.
    form.clicks.clear();
    form.Win("OK").SetEnabled(false);
    form.Win("Cancel").SetVisible(false);
    form.Win("Box").SetFocus();
    EXPECT_FALSE(Press(form, VK_RETURN));
    EXPECT_FALSE(Press(form, VK_ESCAPE));
    EXPECT_TRUE(form.clicks.empty());
    form.Hide();
}

TEST(FormKeyboard, CtrlTabTurnsThePagesWithShownTabsAndTakesTheFocusOutOfAHiddenPage)
{
    KeyForm form;
    form.Pages().Pages(1).SetTabVisible(false);
    form.Show();
    form.Win("OnFirst").SetFocus();
    std::vector<int> seen;
    {
        const HeldKeys ctrl({VK_CONTROL});
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(Press(form, VK_TAB));
            seen.push_back(form.Pages().ActivePageIndex());
        }
        // The page with the focus went: the focus is on the tabs, not on a hidden button.
        EXPECT_EQ(Focused(form), "Pages");
        const HeldKeys shift({VK_CONTROL, VK_SHIFT});
        EXPECT_TRUE(Press(form, VK_TAB));
        seen.push_back(form.Pages().ActivePageIndex());
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 0, 2, 0}));
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"page", "page", "page", "page"}));
    EXPECT_TRUE(form.Win("OnFirst").Showing());
    EXPECT_FALSE(form.Win("OnThird").Showing());
    form.Hide();
}

TEST(FormKeyboard, CuesHiddenByTheSystemComeBackWithTheKeyboard)
{
    KeyForm form;
    form.Show();
    // As the system hides them for a mouse user.
    SendMessageA(form.Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    EXPECT_FALSE(form.FocusCuesShown());
    EXPECT_FALSE(form.AcceleratorCuesShown());
    form.Win("Box").SetFocus();
    // An arrow or Tab shows the focus; Alt shows the access keys as well.
    EXPECT_FALSE(Press(form, VK_RIGHT));
    EXPECT_TRUE(form.FocusCuesShown());
    EXPECT_FALSE(form.AcceleratorCuesShown());
    EXPECT_FALSE(Press(form, VK_MENU, WM_SYSKEYDOWN));
    EXPECT_TRUE(form.AcceleratorCuesShown());
    SendMessageA(form.Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEACCEL), 0);
    EXPECT_FALSE(form.AcceleratorCuesShown());
    EXPECT_TRUE(form.FocusCuesShown());
    form.Hide();
}

TEST(PushButton, ClicksForEnterSpaceAndItsAccessKey)
{
    KeyForm form;
    static_cast<TButton&>(form.Win("OK")).SetCaption("&Go");
    form.Show();
    const HWND ok = form.Win("OK").Handle();
    SendMessageA(ok, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(ok, BM_CLICK, 0, 0); // as a mouse click or Space ends
    EXPECT_TRUE(form.DialogChar('g'));
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"OK", "OK", "OK"}));
    form.Win("OK").SetEnabled(false);
    SendMessageA(ok, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(form.DialogChar('g'));
    EXPECT_EQ(form.clicks.size(), 3u);
    form.Hide();
}

TEST(FormKeyboard, AControlThatGoesIsForgottenByTheForm)
{
    KeyForm form;
    auto extra = std::make_unique<TButton>();
    extra->SetParent(&form);
    extra->SetBounds(8, 230, 75, 23);
    form.SetTabSequence({extra.get(), &form.Win("Box")});
    form.SetDefaultControl(extra.get());
    form.SetCancelControl(extra.get());
    form.Show();
    EXPECT_TRUE(extra->Focused());
    extra.reset();
    EXPECT_EQ(form.DefaultControl(), nullptr);
    EXPECT_EQ(form.CancelControl(), nullptr);
    form.Win("Box").SetFocus();
    EXPECT_TRUE(Press(form, VK_TAB));
    EXPECT_EQ(form.TabList().front(), &form.Win("Box"));
    EXPECT_FALSE(Press(form, VK_RETURN));
    form.Hide();
}

} // namespace
