#include "toolkit/core/Application.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/core/Timer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A push button of the simplest kind: a click sets its form's modal result.
class TModalButton : public TCustomControl {
public:
    TModalResult Result = mrNone;
    void Click() override
    {
        if (TForm* form = ParentForm())
            form->SetModalResult(Result);
        TCustomControl::Click();
    }
};

class DialogForm : public TForm {
public:
    DialogForm()
    {
        SetCaption("Dialog");
        SetPosition(poDesktopCenter);
        SetClientSize(300, 200);
        BuildLayout(*this, {
            Place<TModalButton>("OkButton", 100, 150, 90, 30, {}, [](TModalButton& b) { b.Result = mrOk; }),
            Place<TModalButton>("CancelButton", 200, 150, 90, 30, {}, [](TModalButton& b) { b.Result = mrCancel; }),
        });
        OnShow = [this](TObject*) {
            shows.push_back(IsWindowVisible(Handle()) ? "visible" : "hidden");
        };
        OnHide = [this](TObject*) { ++hides; };
    }
    std::vector<std::string> shows;
    int hides = 0;
};

// Posts a left click into a window after a short while, from the running message loop.
class DelayedClick {
public:
    DelayedClick(HWND window, std::function<void()> before = {})
    {
        timer_.SetInterval(30);
        timer_.SetOnTimer([this, window, before](TObject*) {
            timer_.SetEnabled(false);
            if (before)
                before();
            PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        });
    }

private:
    TTimer timer_;
};

TEST(ModalForm, ButtonClickEndsTheLoopWithItsModalResult)
{
    auto form = MakeForm<DialogForm>();
    {
        DelayedClick click(form->Component<TModalButton>("OkButton").Handle());
        EXPECT_EQ(form->ShowModal(), mrOk);
    }
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(form->Modal());
    {
        DelayedClick click(form->Component<TModalButton>("CancelButton").Handle());
        EXPECT_EQ(form->ShowModal(), mrCancel);
    }
    // The show event runs before the window appears, once per show; hide once per hide.
    EXPECT_EQ(form->shows, (std::vector<std::string>{"hidden", "hidden"}));
    EXPECT_EQ(form->hides, 2);
}

TEST(ModalForm, ReleaseOutsideTheButtonIsNoClick)
{
    auto form = MakeForm<DialogForm>();
    const HWND ok = form->Component<TModalButton>("OkButton").Handle();
    TTimer timer;
    timer.SetInterval(30);
    timer.SetOnTimer([&](TObject*) {
        timer.SetEnabled(false);
        PostMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(ok, WM_LBUTTONUP, 0, MAKELPARAM(95, 5)); // 95 is beyond the 90-pixel width
        PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(form->ShowModal(), mrCancel); // only the close request ended it
}

TEST(ModalForm, OtherWindowsAreDisabledWhileItRuns)
{
    auto owner = MakeForm<DialogForm>();
    owner->Show();
    auto dialog = MakeForm<DialogForm>();
    bool ownerEnabledDuring = true;
    {
        DelayedClick click(dialog->Component<TModalButton>("OkButton").Handle(),
                           [&] { ownerEnabledDuring = IsWindowEnabled(owner->Handle()) != FALSE; });
        EXPECT_EQ(dialog->ShowModal(), mrOk);
    }
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    EXPECT_THROW(owner->ShowModal(), Exception); // already visible
    owner->Hide();
}

TEST(ModalForm, DisabledWindowsComeBackHoweverTheScopeEnds)
{
    auto kept = MakeForm<DialogForm>();
    auto other = MakeForm<DialogForm>();
    auto alreadyOff = MakeForm<DialogForm>();
    for (auto* form : {kept.get(), other.get(), alreadyOff.get()})
        form->Show();
    EnableWindow(alreadyOff->Handle(), FALSE);
    try {
        TDisabledWindows disabled(kept->Handle());
        EXPECT_TRUE(IsWindowEnabled(kept->Handle()));
        EXPECT_FALSE(IsWindowEnabled(other->Handle()));
        throw Exception("the work failed");
    } catch (const Exception&) {
    }
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    EXPECT_FALSE(IsWindowEnabled(alreadyOff->Handle())) << "a window disabled before stays disabled";

    TDisabledWindows early(kept->Handle());
    early.Restore();
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    EnableWindow(alreadyOff->Handle(), TRUE);
    for (auto* form : {kept.get(), other.get(), alreadyOff.get()})
        form->Hide();
}

TEST(ModalForm, CloseRequestCancels)
{
    auto form = MakeForm<DialogForm>();
    TTimer timer;
    timer.SetInterval(30);
    timer.SetOnTimer([&](TObject*) {
        timer.SetEnabled(false);
        PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST(FormWindow, BorderStylesAndCentring)
{
    auto form = MakeForm<DialogForm>();
    form->Show();
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    const LONG_PTR style = GetWindowLongPtrA(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    RECT window;
    GetWindowRect(form->Handle(), &window);
    EXPECT_NEAR((window.left + window.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    // Without a border the outer size stays and all of it becomes client area.
    const int width = window.right - window.left, height = window.bottom - window.top;
    form->SetBorderStyle(bsNone);
    EXPECT_FALSE(GetWindowLongPtrA(form->Handle(), GWL_STYLE) & WS_CAPTION);
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, width);
    EXPECT_EQ(client.bottom, height);
    form->Hide();
}

TEST(FormWindow, DefaultFontAndColour)
{
    TForm form;
    EXPECT_EQ(form.Font().Name(), "MS Sans Serif");
    EXPECT_EQ(form.Font().Height(), 11);
    EXPECT_EQ(form.Color(), clBtnFace);
    // Controls follow their form's font until given one of their own.
    TLabel& label = form.Own<TLabel>();
    label.SetParent(&form);
    form.Font().SetHeight(14);
    EXPECT_EQ(label.Font().Height(), 14);
    label.Font().SetBold(true);
    form.Font().SetHeight(16);
    EXPECT_EQ(label.Font().Height(), 14);
}

class LayoutForm : public TForm {
public:
    LayoutForm()
    {
        BuildLayout(*this, {
            Place<TPanel>("Panel1", 10, 20, 200, 100, {}, [](TPanel& p) { p.SetColor(clWhite); }),
            Place<TLabel>("Label1", 5, 6, 50, 13, "Panel1", [](TLabel& l) { l.SetCaption("Korvane"); }),
            Place<TTimer>("Timer1", [](TTimer& t) { t.SetInterval(2000); }),
        });
    }
};

TEST(FormLayout, RowsBecomeNamedComponentsInPlace)
{
    LayoutForm form;
    auto& panel = form.Component<TPanel>("Panel1");
    auto& label = form.Component<TLabel>("label1"); // names compare without regard to case
    EXPECT_EQ(panel.Parent(), &form);
    EXPECT_EQ(label.Parent(), &panel);
    EXPECT_EQ(panel.Color(), clWhite);
    EXPECT_EQ(label.Caption(), "Korvane");
    const RECT r = label.BoundsRect();
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 6);
    EXPECT_EQ(r.right, 55);
    EXPECT_EQ(r.bottom, 19);
    EXPECT_EQ(form.Component<TTimer>("Timer1").Interval(), 2000u);
    EXPECT_EQ(form.FindComponent("Nothing"), nullptr);
    EXPECT_THROW(form.Component<TPanel>("Label1"), EInvalidCast);
    EXPECT_EQ(form.ComponentCount(), 3u);
}

TEST(FormLayout, ClientAlignedControlFillsTheClientAreaInsideABorder)
{
    TForm form;
    BuildLayout(form, {
        Place<TPanel>("Panel1", 4, 4, 257, 191, {}, [](TPanel& p) { p.SetBorderStyle(bsSingle); }),
        Place<TLabel>("Fill", 0, 0, 10, 10, "Panel1", [](TLabel& l) { l.SetAlign(alClient); }),
    });
    auto& panel = form.Component<TPanel>("Panel1");
    form.HandleNeeded();
    RECT client;
    GetClientRect(panel.Handle(), &client);
    EXPECT_LT(client.right, 257); // the border takes its share
    const RECT fill = form.Component<TLabel>("Fill").BoundsRect();
    EXPECT_EQ(fill.left, 0);
    EXPECT_EQ(fill.top, 0);
    EXPECT_EQ(fill.right, client.right);
    EXPECT_EQ(fill.bottom, client.bottom);
    // It follows the parent's new size.
    panel.SetBounds(4, 4, 100, 50);
    GetClientRect(panel.Handle(), &client);
    EXPECT_EQ(form.Component<TLabel>("Fill").Width(), client.right);
}

TEST(FormLayout, ParentMustBeAnEarlierWindowedRow)
{
    TForm form;
    EXPECT_THROW(BuildLayout(form, {Place<TLabel>("A", 0, 0, 1, 1, "Missing")}), EInvalidCast);
    TForm other;
    EXPECT_THROW(BuildLayout(other, {Place<TLabel>("A", 0, 0, 1, 1), Place<TLabel>("B", 0, 0, 1, 1, "A")}),
                 EInvalidCast);
}

// Records what it saw of its construction and loading.
class LoadProbe : public TLabel {
public:
    explicit LoadProbe(TComponent& owner) : ownerAtConstruction(&owner) {}
    void Loaded() override
    {
        TLabel::Loaded();
        siblingsWhenLoaded = Owner()->ComponentCount();
        parentWhenLoaded = Parent();
    }
    TComponent* ownerAtConstruction;
    bool loadingDuringSetup = false;
    std::size_t siblingsWhenLoaded = 0;
    TWinControl* parentWhenLoaded = nullptr;
};

TEST(FormLayout, ComponentsLearnTheirOwnerAtOnceAndAreToldWhenTheTableIsDone)
{
    TForm form;
    BuildLayout(form, {
        Place<LoadProbe>("First", 0, 0, 10, 10, {}, [](LoadProbe& p) { p.loadingDuringSetup = p.Loading(); }),
        Place<TPanel>("Second", 0, 0, 10, 10),
    });
    auto& probe = form.Component<LoadProbe>("First");
    EXPECT_EQ(probe.ownerAtConstruction, &form);
    EXPECT_TRUE(probe.loadingDuringSetup);
    EXPECT_FALSE(probe.Loading());
    EXPECT_EQ(probe.siblingsWhenLoaded, 2u); // the later row existed already
    EXPECT_EQ(probe.parentWhenLoaded, &form);
}

TEST(FormWindow, ClosingTheMainFormEndsTheApplicationLoop)
{
    auto form = MakeForm<DialogForm>();
    Application.SetMainForm(form.get());
    form->Show();
    form->Close();
    EXPECT_FALSE(form->Visible());
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    Application.SetMainForm(nullptr);
}

} // namespace

namespace {
// Windows of the controls, top to bottom of the siblings' order.
std::vector<HWND> ChildOrder(HWND parent)
{
    std::vector<HWND> order;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        order.push_back(child);
    return order;
}
} // namespace

TEST(FormWindow, ChildWindowsLeftForLaterComeInTheirOrderWhenAskedForOrWhenShown)
{
    auto made = [](TForm& form) {
        BuildLayout(form, {
            Place<TPanel>("First", 0, 0, 50, 50),
            Place<TPanel>("Inner", 5, 5, 20, 20, "First"),
            Place<TPanel>("Second", 60, 0, 50, 50),
        });
        form.SetChildWindowsLater(true);
        form.HandleNeeded();
    };
    TForm asked;
    made(asked);
    auto& first = asked.Component<TPanel>("First");
    auto& inner = asked.Component<TPanel>("Inner");
    auto& second = asked.Component<TPanel>("Second");
    EXPECT_FALSE(first.HandleAllocated());
    EXPECT_FALSE(second.HandleAllocated());
    // A control that comes now waits as well, and takes its place after the others.
    TPanel& third = asked.Own<TPanel>();
    third.SetParent(&asked);
    EXPECT_FALSE(third.HandleAllocated());
    asked.CreateChildWindows();
    ASSERT_TRUE(first.HandleAllocated() && inner.HandleAllocated() && second.HandleAllocated() &&
                third.HandleAllocated());
    EXPECT_EQ(ChildOrder(asked.Handle()), (std::vector<HWND>{first.Handle(), second.Handle(), third.Handle()}));
    EXPECT_EQ(GetParent(inner.Handle()), first.Handle());
    // From now on controls get their windows as they come.
    TPanel& fourth = asked.Own<TPanel>();
    fourth.SetParent(&asked);
    EXPECT_TRUE(fourth.HandleAllocated());

    // Shown, the form has them before it is on the screen, not yet while its show event runs.
    TForm shown;
    made(shown);
    bool madeWhileShowing = true;
    shown.OnShow = [&](TObject*) { madeWhileShowing = shown.Component<TPanel>("First").HandleAllocated(); };
    shown.Show();
    EXPECT_FALSE(madeWhileShowing);
    EXPECT_TRUE(IsWindowVisible(shown.Component<TPanel>("Inner").Handle()));
    EXPECT_EQ(ChildOrder(shown.Handle()).size(), 2u);
}
