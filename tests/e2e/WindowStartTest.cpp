// Window starts of Quorrel.exe: the splash, the main window's title and buttons, the check of
// the sidecar libraries, and where the program looks for them.
#include "app/ProductInfo.h"
#include "e2e/ProgramRun.h"
#include "support/ModalCloser.h"
#include "toolkit/graphics/JpegImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

SIZE SplashPictureSize()
{
    TJPEGImage picture;
    picture.LoadFromStream(ReadLibraryResource(BuiltFile(ProductLibraryName), SplashResourceName, SplashResourceType));
    return {picture.Width(), picture.Height()};
}

std::string ExpectedTitle()
{
    TProductInfo info;
    info.AppDirectory = BuiltFile("");
    LoadProductStrings(info);
    return info.ProductName + " " + info.TitleSuffix;
}

// The colours the screen shows in a rectangle of the window's client area, row by row.
std::vector<COLORREF> ScreenPixels(HWND window, RECT client)
{
    std::vector<COLORREF> pixels;
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const HDC screen = GetDC(nullptr);
    for (int y = client.top; y < client.bottom; ++y)
        for (int x = client.left; x < client.right; ++x)
            pixels.push_back(GetPixel(screen, origin.x + x, origin.y + y));
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The main window's buttons, by their places on the skin.
constexpr POINT kMinimiseButton{408 + 15, 6 + 13};
constexpr POINT kCloseButton{441 + 15, 6 + 13};

} // namespace

TEST(WindowStart, SplashOfThePicturesSizeForTwoSecondsThenTheTitledMainWindowWhichClosesWithExitCodeZero)
{
    const ProgramCopy program;
    ProgramRun run(program, "");
    const SIZE picture = SplashPictureSize();
    HWND splash = run.WaitForWindow([&](HWND w) {
        const SIZE s = WindowSize(w);
        return s.cx == picture.cx && s.cy == picture.cy;
    });
    ASSERT_NE(splash, nullptr) << "no splash of " << picture.cx << " x " << picture.cy;
    const DWORD shown = GetTickCount();
    // The main window appears only once the splash has gone.
    for (HWND w : run.Windows())
        EXPECT_FALSE(IsMainWindow(w));
    ASSERT_TRUE(run.WaitUntilGone(splash));
    const DWORD splashTime = GetTickCount() - shown;
    // Timer2 fires twice, a second apart, before it closes. The splash is seen here only some
    // time after its timers start (a loaded machine makes that a few hundred milliseconds), so
    // the bound tells two ticks from one rather than measuring the two seconds to the edge.
    EXPECT_GE(splashTime, 1500u);
    EXPECT_LT(splashTime, 6000u);

    HWND main = run.WaitForWindow(IsMainWindow);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), ExpectedTitle());
    EXPECT_NE(ExpectedTitle(), " ");
    // The box carries the skin's grey once the splash has run: the screen shows it on the
    // right of its caption, where nothing else is drawn.
    std::vector<HWND> boxes = ChildrenOfClass(main, "Button");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(WindowText(boxes[0]), "Apply to folder");
    std::vector<COLORREF> behind;
    EXPECT_TRUE(WaitFor([&] {
        SetForegroundWindow(main);
        behind = ScreenPixels(boxes[0], {112, 2, 127, 15});
        return std::all_of(behind.begin(), behind.end(), [](COLORREF c) { return c == RGB(222, 222, 222); });
    }, 5000)) << "the box is not on the skin's grey: first pixel " << std::hex << (behind.empty() ? 0 : behind[0]);

    // The minimise button takes the program down, whichever window is in the foreground when
    // its click arrives; the user brings it back.
    {
        const TestOwnerWindow other;
        SetForegroundWindow(other.get());
        ClickAt(ChildAt(main, kMinimiseButton), {15, 13});
        EXPECT_TRUE(WaitFor([&] { return IsIconic(main) != FALSE; }, 5000));
        EXPECT_FALSE(IsIconic(other.get()));
        ShowWindowAsync(main, SW_RESTORE);
        EXPECT_TRUE(WaitFor([&] { return !IsIconic(main); }, 5000));
    }

    // The close button, pressed by the pointer once nothing else covers it (the restored window
    // need not come back on top of whatever took the foreground meanwhile).
    POINT close = kCloseButton;
    ClientToScreen(main, &close);
    EXPECT_TRUE(WaitFor([&] {
        const HWND under = WindowFromPoint(close);
        if (under && GetAncestor(under, GA_ROOT) == main)
            return true;
        SetForegroundWindow(main);
        return false;
    }, 5000)) << "the close button stays covered";
    RealClickAt(main, kCloseButton);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST(WindowStart, AVerbWordInAnotherCaseIsNoVerb)
{
    const ProgramCopy program;
    ProgramRun run(program, "adorn \"" + program.Folder() + "\"");
    HWND main = run.WaitForWindow(IsMainWindow);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST(LibraryCheck, AMissingResDllIsNamedAndTheProgramEndsWithoutItsWindow)
{
    const ProgramCopy program{ProductLibraryName};
    // A Res.dll in the working directory is not the program's: the check still misses it.
    const TempDir elsewhere;
    ASSERT_TRUE(CopyFileA(BuiltFile(ProductLibraryName).c_str(), (elsewhere.Path() + ProductLibraryName).c_str(), FALSE));
    ProgramRun run(program, "", elsewhere.Path());
    // Watched from the start to the end: the message box, answered, and no other window.
    std::string message, caption;
    std::vector<std::string> others;
    const DWORD start = GetTickCount();
    while (run.Running() && GetTickCount() - start < 20000) {
        for (HWND w : run.Windows()) {
            if (ClassOf(w) != "#32770") {
                const SIZE size = WindowSize(w);
                others.push_back("\"" + WindowText(w) + "\" " + std::to_string(size.cx) + "x" + std::to_string(size.cy));
            } else if (message.empty() && !(message = MessageBoxText(w)).empty()) {
                caption = WindowText(w);
                PressDialogButton(w, IDOK);
            }
        }
        Pause(2);
    }
    EXPECT_EQ(message, "'Res.dll' is not found. Please reinstall this program.");
    EXPECT_EQ(caption, "Quorrel");
    EXPECT_EQ(others, std::vector<std::string>{}) << "neither the splash nor the main window may show";
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST(LibraryCheck, BothMissingAreNamedInOrderFormDllFirst)
{
    const ProgramCopy program{ProductLibraryName, AboutLibraryName};
    ProgramRun run(program, "");
    HWND box = run.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "'Form.dll' is not found. Please reinstall this program.");
    PressDialogButton(box, IDOK);
    // The second box may close by itself on the quit request: the platform decides.
    EXPECT_EQ(run.WaitForExit(), 0u);
    for (HWND w : run.Windows())
        EXPECT_FALSE(IsMainWindow(w));
}

TEST(LibraryCheck, StartedFromAnotherWorkingDirectoryTheLibrariesAreStillFound)
{
    const ProgramCopy program;
    const TempDir elsewhere;
    ProgramRun run(program, "", elsewhere.Path());
    HWND main = run.WaitForWindow([](HWND w) { return IsMainWindow(w) || ClassOf(w) == "#32770"; });
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(IsMainWindow(main)) << MessageBoxText(main);
    EXPECT_EQ(WindowText(main), ExpectedTitle());
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST(LibraryCheck, OnlyTheProgramsOwnResDllIsReadEvenWithAnotherInTheWorkingDirectory)
{
    // Beside the program: a product library without a splash picture and with no title
    // strings; in the working directory: the real one. The program must use its own.
    const ProgramCopy program{ProductLibraryName};
    program.Plant(TestLibrary("LongStrings.dll"), ProductLibraryName);
    const TempDir elsewhere;
    ASSERT_TRUE(CopyFileA(BuiltFile(ProductLibraryName).c_str(), (elsewhere.Path() + ProductLibraryName).c_str(), FALSE));
    ProgramRun run(program, "", elsewhere.Path());

    // The missing picture is an error of the show handler: the box, then the window opens.
    HWND box = run.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Resource ImgFlash not found.");
    EXPECT_EQ(run.Windows().size(), 1u);
    PressDialogButton(box, IDOK);
    HWND main = run.WaitForWindow(IsMainWindow);
    ASSERT_NE(main, nullptr);
    // Without a splash the product information is never applied: the window keeps the
    // program's own title, so that it is never nameless.
    EXPECT_EQ(WindowText(main), "Quorrel");
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}
