// The main window by keyboard and in a contrast theme, in this process: its tab order, the
// access keys of its three actions with their cues, F1, the buttons' names, and a screenshot
// of the whole window with its tree in the theme's colours; and how its window is made.
#include "app/FlashForm.h"
#include "app/MainForm.h"
#include "app/ProductInfo.h"
#include "engine/FolderCtrl.h"
#include "shelltree/ShellModule.h"
#include "shelltree/ShellTreeView.h"
#include "sidecars/SidecarTestSupport.h"
#include "skin/BmpButton.h"
#include "support/ContrastTheme.h"
#include "support/Screenshots.h"
#include "toolkit/controls/CheckBox.h"
#include "toolkit/controls/Label.h"
#include "toolkit/core/Action.h"
#include "toolkit/core/Application.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// The main window of a window start, shown with a quick splash from the built product library.
class MainWindowKeys : public testing::Test {
protected:
    MainWindowKeys() : saved_(ProductInfo())
    {
        ProductInfo().AppDirectory = BuildFolder("QUORREL_BIN");
        TFrmFlashForm::SetTickInterval(50);
    }
    ~MainWindowKeys() override
    {
        form.reset();
        TheFolderCtrl.reset();
        ProductInfo() = saved_;
        TFrmFlashForm::SetTickInterval(1000);
    }
    void Open()
    {
        form = MakeForm<TFrmMainForm>(false);
        form->Show();
        Settle();
    }
    static void Settle()
    {
        for (int i = 0; i < 10; ++i) {
            Application.ProcessMessages();
            Sleep(20);
        }
    }
    bool Press(WPARAM key, UINT message = WM_KEYDOWN)
    {
        const MSG msg{GetFocus(), message, key, 0, 0, {}};
        return form->PreTranslateMessage(msg);
    }

    TShellModule shell_;
    TProductInfo saved_;
    std::unique_ptr<TFrmMainForm> form;
};

TEST_F(MainWindowKeys, TabOrderAccessKeysAndHelp)
{
    Open();
    std::vector<std::string> order;
    for (TWinControl* c : form->TabList())
        order.push_back(c->Name());
    EXPECT_EQ(order, (std::vector<std::string>{"ShellTreeView1", "AlppeSubDirectory", "BmpButton1", "BmpButton2",
                                               "BmpButton3", "BmpButton6", "BmpButton7", "BmpButton8", "BmpButton9",
                                               "BmpButton4", "BmpButton5"}));
    EXPECT_TRUE(form->ShellTreeView1.Focused()) << "the tree has the focus first";

    const char* const names[] = {"&Adorn", "&Pretend", "&Default", "Minimize", "Close",
                                 "Home page", "E-mail", "Help", "About"};
    for (int number = 1; number <= 9; ++number) {
        char text[32] = {};
        GetWindowTextA(form->BmpButton(number).Handle(), text, sizeof text);
        EXPECT_STREQ(text, names[number - 1]);
    }

    int adorn = 0, pretend = 0, help = 0;
    form->ActAdorn.OnExecute = [&](TObject*) { ++adorn; };
    form->ActPretend.OnExecute = [&](TObject*) { ++pretend; };
    form->ActSysHelp.OnExecute = [&](TObject*) { ++help; };
    // The access keys are underlined once Alt is pressed, as Windows does.
    SendMessageA(form->Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    EXPECT_FALSE(form->AcceleratorCuesShown());
    EXPECT_FALSE(Press(VK_MENU, WM_SYSKEYDOWN));
    EXPECT_TRUE(form->AcceleratorCuesShown());
    EXPECT_TRUE(Press('a', WM_SYSCHAR));
    EXPECT_TRUE(Press('P', WM_SYSCHAR));
    EXPECT_FALSE(Press('x', WM_SYSCHAR));
    EXPECT_TRUE(Press(VK_F1));
    EXPECT_EQ(adorn, 1);
    EXPECT_EQ(pretend, 1);
    EXPECT_EQ(help, 1);
    // Esc belongs to no button here: the main window stays.
    EXPECT_FALSE(Press(VK_ESCAPE));
    EXPECT_EQ(form->Caption(), ProductInfo().ProductName + " " + ProductInfo().TitleSuffix);
    form->Hide();
}

namespace {
// What a look during the splash found: the splash up, and whether the tree had its window.
struct SplashLook {
    TFrmMainForm* form = nullptr;
    bool splashSeen = false;
    bool treeAtFirstSight = true;
    bool treeWhileUp = false;
};
SplashLook look;

BOOL CALLBACK FindSplash(HWND window, LPARAM main) noexcept
{
    if (window == reinterpret_cast<HWND>(main) || !IsWindowVisible(window))
        return TRUE;
    const bool tree = look.form->ShellTreeView1.HandleAllocated();
    if (!look.splashSeen)
        look.treeAtFirstSight = tree;
    look.splashSeen = true;
    look.treeWhileUp = look.treeWhileUp || tree;
    return FALSE;
}

void CALLBACK LookDuringSplash(HWND, UINT, UINT_PTR, DWORD) noexcept
{
    EnumThreadWindows(GetCurrentThreadId(), &FindSplash, reinterpret_cast<LPARAM>(look.form->AllocatedHandle()));
}
} // namespace

TEST_F(MainWindowKeys, TheControlsAreMadeWhileTheSplashIsUpAndTheWindowShowsTheProgramsIcon)
{
    form = MakeForm<TFrmMainForm>(false);
    form->HandleNeeded();
    EXPECT_FALSE(form->ShellTreeView1.HandleAllocated()) << "nothing but the window itself before the splash";
    EXPECT_FALSE(form->BmpButton(1).HandleAllocated());
    // Ticks long enough for the splash to stay up after its first step.
    TFrmFlashForm::SetTickInterval(300);
    look = SplashLook{form.get()};
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &LookDuringSplash);
    form->Show();
    KillTimer(nullptr, timer);
    EXPECT_TRUE(look.splashSeen);
    EXPECT_FALSE(look.treeAtFirstSight) << "the splash came before the controls";
    EXPECT_TRUE(look.treeWhileUp) << "the controls were made behind the splash";
    Settle();
    for (int number = 1; number <= 9; ++number)
        EXPECT_TRUE(IsWindowVisible(form->BmpButton(number).Handle()));
    EXPECT_TRUE(IsWindowVisible(form->ShellTreeView1.Handle()));
    const HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, 32, 32, LR_SHARED);
    ASSERT_NE(icon, nullptr) << "the test program carries the program's icon";
    EXPECT_EQ(reinterpret_cast<HANDLE>(SendMessageA(form->Handle(), WM_GETICON, ICON_BIG, 0)), icon);
    form->Hide();
}

TEST_F(MainWindowKeys, InAContrastThemeTheWholeWindowTakesTheSystemsColours)
{
    const ContrastTheme theme;
    Open();
    form->ShellTreeView1.SetFocus();
    Settle();
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    constexpr int kMargin = 12;
    TBitmap shot(r.right - r.left + 2 * kMargin, r.bottom - r.top + 2 * kMargin);
    {
        ScopedWindowDC screen(nullptr);
        BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen.get(), r.left - kMargin,
               r.top - kMargin, SRCCOPY);
    }
    if (const std::string folder = ScreenshotFolder(); !folder.empty())
        shot.SaveToFile(folder + "main-window-contrast-theme.bmp");
    const auto at = [&](int x, int y) {
        const std::uint8_t* p = shot.ScanLine(kMargin + y) + 3 * (kMargin + x);
        return RGB(p[2], p[1], p[0]);
    };
    EXPECT_EQ(at(200, 335), GetSysColor(COLOR_BTNFACE)) << "the body";
    EXPECT_EQ(at(368, 192), GetSysColor(COLOR_BTNTEXT)) << "Adorn's frame";
    EXPECT_TRUE(form->lblTitle.Visible()) << "the title stands where the skin's banner was";
    int titleInk = 0;
    for (int x = form->lblTitle.Left(); x < form->lblTitle.Left() + form->lblTitle.Width(); ++x)
        for (int y = form->lblTitle.Top(); y < form->lblTitle.Top() + form->lblTitle.Height(); ++y)
            titleInk += at(x, y) == GetSysColor(COLOR_BTNTEXT);
    EXPECT_GT(titleInk, 30);
    form->Hide();
}

} // namespace
