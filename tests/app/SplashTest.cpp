// The splash as the program shows it: the shipped picture, the main window titled while it is
// up, and a wait that sleeps between messages instead of spinning.
#include "app/FlashForm.h"
#include "app/ProductInfo.h"
#include "sidecars/SidecarTestSupport.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/Label.h"
#include "toolkit/core/Application.h"
#include "toolkit/core/Exception.h"

#include <gtest/gtest.h>

namespace {

// Processor time this thread has used, in milliseconds.
double ThreadMilliseconds()
{
    FILETIME created, ended, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user))
        return -1;
    const auto ms = [](const FILETIME& t) {
        return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// Puts the product information and the splash's pace back for the tests that follow.
class SplashScope {
public:
    explicit SplashScope(unsigned tick) : saved_(ProductInfo())
    {
        ProductInfo().AppDirectory = BuildFolder("QUORREL_BIN");
        TFrmFlashForm::SetTickInterval(tick);
    }
    ~SplashScope()
    {
        ProductInfo() = saved_;
        TFrmFlashForm::SetTickInterval(1000);
    }
    SplashScope(const SplashScope&) = delete;
    SplashScope& operator=(const SplashScope&) = delete;

private:
    TProductInfo saved_;
};

bool watchdogFired = false;

// Closes every splash that is still up, and says so.
void CALLBACK CloseSplashes(HWND, UINT, UINT_PTR, DWORD) noexcept
{
    try {
        watchdogFired = true;
        for (TForm* form : Application.Forms())
            if (dynamic_cast<TFrmFlashForm*>(form) && form->HandleAllocated())
                PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    } catch (...) {
    }
}

} // namespace

TEST(Splash, WaitsForTwoTicksAsleepAndTitlesTheMainWindow)
{
    constexpr unsigned kTick = 400;
    const SplashScope scope(kTick);
    TForm main;
    main.SetCaption("untitled");
    main.HandleNeeded();

    const DWORD start = GetTickCount();
    const double processorBefore = ThreadMilliseconds();
    // The work behind the splash runs once, after the product information, while it is up.
    std::vector<std::string> behind;
    ShowSplash(main, [&] {
        const HWND active = GetActiveWindow();
        behind.push_back(main.Caption() + (active && active != main.Handle() && IsWindowVisible(active) ? " (up)" : ""));
    });
    const double processor = ThreadMilliseconds() - processorBefore;
    const DWORD elapsed = GetTickCount() - start;

    // Two ticks of Timer2, counted from the window's appearance.
    EXPECT_GE(elapsed, 2 * kTick - 50);
    EXPECT_LT(elapsed, 10 * kTick);
    // Waiting spins no processor: decoding and showing the picture cost about 10 ms here. A
    // polling loop costs this thread a fifth of the wait under Wine (the rest of it is spent in
    // the server that answers each look at the queue), and all of it on Windows.
    ASSERT_GE(processor, 0) << "no thread times";
    EXPECT_LT(processor, 0.1 * elapsed) << processor << " ms of processor in " << elapsed << " ms";

    TProductInfo shipped;
    shipped.AppDirectory = BuildFolder("QUORREL_BIN");
    LoadProductStrings(shipped);
    EXPECT_EQ(main.Caption(), shipped.ProductName + " " + shipped.TitleSuffix);
    EXPECT_EQ(behind, std::vector<std::string>{main.Caption() + " (up)"});
}

// An error before the splash closes itself (here: in reading the product information) must not
// leave the captionless window up: it closes, and the error reaches the application.
TEST(Splash, ClosesWhenItsWorkFailsAndHandsTheErrorOn)
{
    const SplashScope scope(100);
    std::vector<std::string> errors;
    Application.OnException = [&](TObject*, const std::string& message) { errors.push_back(message); };
    TForm main;
    main.HandleNeeded();
    auto splash = MakeForm<TFrmFlashForm>(main);
    splash->SetBounds(0, 0, 120, 80);
    splash->ApplyStep = [](TForm&) { throw Exception("The product strings cannot be read"); };
    int behind = 0;
    splash->BehindStep = [&] { ++behind; };
    // Without the close, only this watchdog would end the modal run.
    watchdogFired = false;
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 5000, &CloseSplashes);
    const TModalResult result = splash->ShowModal();
    KillTimer(nullptr, watchdog);
    Application.OnException = nullptr;
    EXPECT_FALSE(watchdogFired) << "the splash stayed up after the error";
    EXPECT_EQ(result, mrCancel);
    EXPECT_FALSE(IsWindowVisible(splash->Handle()));
    EXPECT_EQ(errors, std::vector<std::string>{"The product strings cannot be read"});
    EXPECT_EQ(behind, 0) << "nothing more runs behind a splash whose work failed";
}

namespace {
// Hands the splash a key press, or a click on its picture, once it is up.
UINT inputToSend = 0;
void CALLBACK PressOnSplash(HWND, UINT, UINT_PTR timer, DWORD) noexcept
{
    for (TForm* form : Application.Forms())
        if (dynamic_cast<TFrmFlashForm*>(form) && form->HandleAllocated() && form->Visible()) {
            KillTimer(nullptr, timer);
            if (inputToSend == WM_KEYDOWN)
                PostMessageA(form->Handle(), WM_KEYDOWN, VK_SPACE, 1);
            else
                PostMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        }
}
} // namespace

TEST(Splash, AKeyOrAClickEndsItWithoutWaitingAndTheTitleIsStillSet)
{
    constexpr unsigned kTick = 2000;
    const SplashScope scope(kTick);
    TProductInfo shipped;
    shipped.AppDirectory = BuildFolder("QUORREL_BIN");
    LoadProductStrings(shipped);
    // A key before the first tick, when nothing is read yet; a click after it.
    for (const auto& [input, after] : {std::pair<UINT, UINT>{WM_KEYDOWN, 50}, {WM_LBUTTONDOWN, 600}}) {
        SCOPED_TRACE(input == WM_KEYDOWN ? "key" : "click");
        TForm main;
        main.SetCaption("untitled");
        main.HandleNeeded();
        // Applying the product information points it at the program's folder again.
        ProductInfo().AppDirectory = shipped.AppDirectory;
        inputToSend = input;
        const UINT_PTR timer = SetTimer(nullptr, 0, after, &PressOnSplash);
        const DWORD start = GetTickCount();
        ShowSplash(main);
        const DWORD elapsed = GetTickCount() - start;
        KillTimer(nullptr, timer);
        EXPECT_LT(elapsed, 2 * kTick) << "ended before its ticks";
        EXPECT_EQ(main.Caption(), shipped.ProductName + " " + shipped.TitleSuffix);
    }
}
