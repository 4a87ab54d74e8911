#include "toolkit/core/Application.h"
#include "toolkit/core/Exception.h"
#include "toolkit/controls/CheckBox.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/TreeView.h"
#include "toolkit/controls/TreeViewFixture.h"
#include "support/ModalCloser.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <thread>

namespace {

// A form with a check box and a tree view, shown.
class BindingForm : public TForm {
public:
    BindingForm()
    {
        SetBounds(40, 40, 300, 300);
        box.SetParent(this);
        box.SetBounds(8, 8, 120, 17);
        box.SetCaption("Box");
        tree.SetParent(this);
        tree.SetBounds(8, 40, 200, 200);
        Show();
        root = tree.Items().AddChild(nullptr, "root");
        child = tree.Items().AddChild(root, "child");
    }
    ~BindingForm() override
    {
        box.SetParent(nullptr);
        tree.SetParent(nullptr);
    }

    TCheckBox box;
    TTreeView tree;
    TTreeNode* root = nullptr;
    TTreeNode* child = nullptr;
};

// A second subclass of the common controls' kind, as other code puts on a window.
LRESULT CALLBACK CountingSubclass(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR count) noexcept
{
    ++*reinterpret_cast<int*>(count);
    return DefSubclassProc(window, msg, wParam, lParam);
}

// An old-style subclass through the window procedure itself, as some tools still make.
WNDPROC replacedProc = nullptr;
int rawMessages = 0;
LRESULT CALLBACK RawSubclass(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    ++rawMessages;
    return CallWindowProcA(replacedProc, window, msg, wParam, lParam);
}

TEST(WindowBinding, OtherSubclassesOfAControlLeaveItsCommandsReachingIt)
{
    BindingForm form;
    int clicks = 0;
    form.box.OnClick = [&](TObject*) { ++clicks; };
    const HWND box = form.box.Handle();

    int seen = 0;
    ASSERT_TRUE(SetWindowSubclass(box, &CountingSubclass, 7, reinterpret_cast<DWORD_PTR>(&seen)));
    EXPECT_EQ(TWinControl::FromHandle(box), &form.box);
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_GT(seen, 0) << "the other subclass runs as well";

    // Above both, a window procedure put in by hand.
    replacedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RawSubclass)));
    rawMessages = 0;
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
    EXPECT_GT(rawMessages, 0);
    EXPECT_EQ(TWinControl::FromHandle(box), &form.box);
    SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacedProc));

    // The other subclass gone, ours still holds; a window that is not ours is not taken for one.
    ASSERT_TRUE(RemoveWindowSubclass(box, &CountingSubclass, 7));
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(TWinControl::FromHandle(GetDesktopWindow()), nullptr);
    EXPECT_EQ(TWinControl::FromHandle(nullptr), nullptr);
}

TEST(WindowBinding, OurOwnWindowsKeepTheirObjectUnderOtherSubclassesAndStrangersOfTheClassAreNotOurs)
{
    BindingForm form;
    int clicks = 0;
    form.box.OnClick = [&](TObject*) { ++clicks; };
    const HWND window = form.Handle();

    // The box's click reaches it through the form, which others subclass in both ways.
    int seen = 0;
    ASSERT_TRUE(SetWindowSubclass(window, &CountingSubclass, 7, reinterpret_cast<DWORD_PTR>(&seen)));
    replacedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RawSubclass)));
    rawMessages = 0;
    SendMessageA(form.box.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_GT(seen, 0);
    EXPECT_GT(rawMessages, 0);
    EXPECT_EQ(TWinControl::FromHandle(window), &form);
    // The form's own handling still answers under both: its close request hides it.
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.Visible());
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacedProc));
    ASSERT_TRUE(RemoveWindowSubclass(window, &CountingSubclass, 7));

    // A window of our class that no object made, and one of another thread, are not ours; the
    // first still works as a plain window.
    char className[64] = {};
    ASSERT_GT(GetClassNameA(window, className, sizeof className), 0);
    ScopedWindow stranger(CreateWindowExA(0, className, "stranger", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                          GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(stranger);
    EXPECT_EQ(TWinControl::FromHandle(stranger.get()), nullptr);
    char text[32] = {};
    GetWindowTextA(stranger.get(), text, sizeof text);
    EXPECT_STREQ(text, "stranger");
    HWND otherThreads = nullptr;
    std::thread([&] {
        otherThreads = CreateWindowExA(0, className, "other", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(otherThreads, nullptr);
        EXPECT_EQ(TWinControl::FromHandle(otherThreads), nullptr);
        DestroyWindow(otherThreads);
    }).join();
}

TEST(WindowBinding, ATooltipSubclassingATreeLeavesItsNotificationsReachingIt)
{
    BindingForm form;
    const HWND tree = form.tree.Handle();
    ScopedWindow tip(CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                     form.Handle(), nullptr, GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(tip);
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = form.Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(tree);
    char text[] = "The tree";
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageA(tip.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)));

    std::vector<std::string> asked;
    form.tree.OnExpanding = [&](TObject*, TTreeNode* node, bool&) { asked.push_back(node->Text()); };
    int changes = 0;
    form.tree.OnChange = [&](TObject*, TTreeNode*) { ++changes; };
    // Both come from the control as notices to the form, which hands them back to the tree.
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(form.root->ItemId()));
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(form.child->ItemId()));
    EXPECT_EQ(asked, std::vector<std::string>{"root"});
    EXPECT_TRUE(form.root->Expanded());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(TWinControl::FromHandle(tree), &form.tree);
}

// A control whose painting can be made to fail.
class FailingPaint : public TCustomControl {
public:
    bool failing = false;
    int paints = 0;

protected:
    void Paint() override
    {
        ++paints;
        if (failing)
            throw Exception("cannot draw");
        Canvas().FillRect(RECT{0, 0, Width(), Height()});
    }
};

TEST(DeferredErrors, AnErrorInATreeNoticeIsShownOnlyAfterTheNoticeAndTheTreeGoesOn)
{
    BindingForm form;
    ModalCloser closer(MessageBoxWindow(Application.Title(), "no access.", IDOK));
    form.tree.OnExpanding = [](TObject*, TTreeNode*, bool&) { throw Exception("no access"); };
    SendMessageA(form.tree.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(form.root->ItemId()));
    EXPECT_FALSE(form.root->Expanded()) << "refused";
    EXPECT_EQ(closer.Answered(), 0u) << "no box while the control waited for its answer";
    Application.ProcessMessages();
    EXPECT_TRUE(closer.Found());

    // The tree goes on as before.
    form.tree.OnExpanding = nullptr;
    form.root->Expand(false);
    EXPECT_TRUE(form.root->Expanded());
    form.child->SetSelected(true);
    EXPECT_EQ(form.tree.Selected(), form.child);
}

TEST(DeferredErrors, AnErrorWhilePaintingIsShownAfterThePaintWhichStillEnds)
{
    TForm form;
    form.SetBounds(40, 40, 200, 200);
    auto& control = form.Own<FailingPaint>();
    control.SetParent(&form);
    control.SetBounds(10, 10, 60, 60);
    form.Show();
    const HWND window = control.Handle();
    Application.ProcessMessages();
    ValidateRect(window, nullptr);
    const int before = control.paints;
    control.failing = true;

    ModalCloser closer(MessageBoxWindow(Application.Title(), "cannot draw.", IDOK));
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(control.paints, before + 1);
    EXPECT_EQ(closer.Answered(), 0u) << "no box in the middle of the paint";
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "the failed paint ended all the same";
    Application.ProcessMessages();
    EXPECT_TRUE(closer.Found());

    control.failing = false;
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(control.paints, before + 2);
    control.SetParent(nullptr);
}

TEST(DeferredErrors, AnErrorPostedByAControlThatIsGoneNamesNoSender)
{
    std::vector<TObject*> senders;
    Application.OnException = [&](TObject* sender, const std::string&) { senders.push_back(sender); };
    {
        BindingForm form;
        form.tree.OnExpanding = [](TObject*, TTreeNode*, bool&) { throw Exception("no access"); };
        SendMessageA(form.tree.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(form.root->ItemId()));
        EXPECT_TRUE(senders.empty());
    }
    Application.ProcessMessages();
    Application.OnException = nullptr;
    EXPECT_EQ(senders, std::vector<TObject*>{&Application}) << "the application stands in for the tree";
}

} // namespace
