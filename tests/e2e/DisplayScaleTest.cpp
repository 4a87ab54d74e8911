// Quorrel.exe on displays of 125, 150 and 200 percent: the tests' own Wine prefix set to that
// DPI (LogPixels, put back afterwards) before the program starts, which reads it then. The
// windows take their sizes, pictures, outlines and fonts from it; the buttons answer at their
// scaled places; the dialogs still write what the user chose.
#include "app/ProductInfo.h"
#include "e2e/ProgramRun.h"
#include "e2e/RemoteTree.h"
#include "sidecars/SidecarTestSupport.h"
#include "support/Screenshots.h"
#include "toolkit/core/DpiScale.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/JpegImage.h"
#include "toolkit/graphics/PngImage.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace {

// A picture the generator drew, from its output folder.
std::unique_ptr<TBitmap> DrawnPicture(const std::string& file)
{
    TPngImage png;
    png.LoadFromFile(BuildFolder("QUORREL_ART") + file);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Assign(png.Bitmap());
    return bitmap;
}

COLORREF PixelOf(TBitmap& bitmap, int x, int y)
{
    const std::uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

// What the screen shows of a window's client area.
std::unique_ptr<TBitmap> ScreenOf(HWND window, RECT client)
{
    POINT origin{client.left, client.top};
    ClientToScreen(window, &origin);
    auto shot = std::make_unique<TBitmap>(client.right - client.left, client.bottom - client.top);
    ScopedWindowDC screen(nullptr);
    BitBlt(shot->Canvas().Handle(), 0, 0, shot->Width(), shot->Height(), screen.get(), origin.x, origin.y, SRCCOPY);
    return shot;
}

// The place of a child window in the client area of a window above it.
RECT PlaceIn(HWND window, HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A 96-DPI rectangle (left, top, width, height) at the DPI in force.
RECT Scaled(int left, int top, int width, int height)
{
    const POINT at = AtStartedDpi(POINT{left, top});
    return {at.x, at.y, at.x + AtStartedDpi(width), at.y + AtStartedDpi(height)};
}

POINT CentreOf(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The button at the scaled centre of its 96-DPI place: the window found there has exactly the
// scaled place.
HWND ButtonAt(HWND window, int left, int top, int width, int height)
{
    const RECT expected = Scaled(left, top, width, height);
    HWND button = ChildAt(window, CentreOf(expected));
    const RECT found = PlaceIn(window, button);
    EXPECT_TRUE(EqualRect(&found, &expected)) << "the button at " << left << ", " << top << " is at " << found.left
                                              << ", " << found.top << " " << found.right - found.left << " x "
                                              << found.bottom - found.top;
    return button;
}

// A click at the centre of a child window, posted to it.
void ClickCentre(HWND child)
{
    RECT r{};
    GetClientRect(child, &r);
    ClickAt(child, CentreOf(r));
}

SIZE SplashPictureSize()
{
    TJPEGImage picture;
    picture.LoadFromStream(ReadLibraryResource(BuiltFile(ProductLibraryName), SplashResourceName, SplashResourceType));
    return {picture.Width(), picture.Height()};
}

HWND TreeOf(HWND main)
{
    const std::vector<HWND> trees = ChildrenOfClass(main, WC_TREEVIEWA);
    return trees.size() == 1 ? trees[0] : nullptr;
}

} // namespace

TEST(DisplayScale, At150PercentTheMainWindowIsCutFromItsSkinAndEveryButtonAnswersAtItsScaledCentre)
{
    const DisplayDpi dpi(144);
    const ProgramCopy program;
    const TempDir temp;
    const std::string folder = temp.MakeDir("Scaled");
    temp.WriteFile("Scaled\\" + std::string(kSettings), "[.ShellClassInfo]\r\nInfoTip=scaled\r\n");
    ProgramRun run(program, "");

    // The splash of the 150% set, at 1.5 times the 96-DPI picture.
    const SIZE picture = SplashPictureSize();
    HWND splash = run.WaitForWindow([](HWND w) { return !IsMainWindow(w); }, 20000);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(WindowSize(splash).cx, AtStartedDpi(int(picture.cx)));
    EXPECT_EQ(WindowSize(splash).cy, AtStartedDpi(int(picture.cy)));

    HWND main = run.WaitForWindow(IsMainWindow, 20000);
    ASSERT_NE(main, nullptr) << "no window of 744 x 566";
    // The outline is the 150% skin's, point by point: its magenta corners are outside.
    const auto skin = DrawnPicture("skin_main_150.png");
    ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(main, region.get()), COMPLEXREGION);
    const SIZE size = WindowSize(main);
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            const bool opaque = x < skin->Width() && y < skin->Height() && PixelOf(*skin, x, y) != RGB(255, 0, 255);
            ASSERT_EQ(bool(PtInRegion(region.get(), x, y)), opaque) << x << ", " << y;
        }
    for (const POINT corner : {POINT{0, 0}, POINT{skin->Width() - 1, 0}, POINT{0, skin->Height() - 1},
                               POINT{skin->Width() - 1, skin->Height() - 1}})
        EXPECT_FALSE(PtInRegion(region.get(), corner.x, corner.y)) << corner.x << ", " << corner.y;

    // Every button where its 96-DPI place puts it at 150%, showing its 150% pictures.
    HWND adorn = ButtonAt(main, 368, 192, 108, 38);
    HWND pretend = ButtonAt(main, 368, 232, 108, 38);
    HWND restore = ButtonAt(main, 368, 272, 108, 38);
    HWND minimise = ButtonAt(main, 408, 6, 31, 27);
    HWND close = ButtonAt(main, 441, 6, 31, 27);
    const std::pair<const char*, HWND> links[] = {{"home", ButtonAt(main, 258, 44, 48, 41)},
                                                  {"email", ButtonAt(main, 314, 44, 48, 41)},
                                                  {"help", ButtonAt(main, 370, 44, 48, 41)}};
    HWND about = ButtonAt(main, 426, 44, 48, 41);
    // The pointer over each link: its hot picture of the 150% set, wherever that is not olive.
    for (const auto& [name, link] : links) {
        const auto hot = DrawnPicture(std::string("btn_") + name + "_hot_150.png");
        SetForegroundWindow(main);
        RECT r{};
        GetClientRect(link, &r);
        POINT at = CentreOf(r);
        ClientToScreen(link, &at);
        int differing = 0;
        EXPECT_TRUE(WaitFor([&] {
            SetCursorPos(at.x, at.y);
            const auto shown = ScreenOf(link, r);
            differing = 0;
            for (int y = 0; y < hot->Height(); ++y)
                for (int x = 0; x < hot->Width(); ++x)
                    differing += PixelOf(*hot, x, y) != RGB(128, 128, 0) && PixelOf(*hot, x, y) != PixelOf(*shown, x, y);
            return differing == 0;
        }, 5000)) << name << ": " << differing << " pixels differ from the hot picture";
    }
    SetCursorPos(0, 0);

    // The tree at 150%: the folder chosen, then each folder action by its button.
    RemoteTree tree(TreeOf(main), run.Process());
    const HTREEITEM node = tree.FindPath(folder);
    ASSERT_NE(node, nullptr) << folder;
    tree.Select(node);
    ClickCentre(adorn);
    HWND dialog = run.WaitForWindow(Titled("Adorn Folder"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowSize(dialog).cx, AtStartedDpi(488));
    ClickCentre(ButtonAt(dialog, 370, 293, 108, 38)); // Cancel
    EXPECT_TRUE(run.WaitUntilGone(dialog));

    ClickCentre(pretend);
    dialog = run.WaitForWindow(Titled("Pretend Folder"));
    ASSERT_NE(dialog, nullptr);
    HWND recycleBin = ButtonCaptioned(dialog, "Recycle Bin");
    ASSERT_NE(recycleBin, nullptr);
    ClickCentre(recycleBin);
    EXPECT_TRUE(WaitFor([&] { return Checked(recycleBin); }));
    ClickCentre(ButtonAt(dialog, 261, 293, 108, 38)); // OK
    EXPECT_TRUE(run.WaitUntilGone(dialog));
    EXPECT_EQ(SettingOf(folder, ".ShellClassInfo", "CLSID"), "{645FF040-5081-101B-9F08-00AA002F954E}");

    ClickCentre(restore);
    EXPECT_TRUE(WaitFor([&] { return !FileExists(folder + kSettings); }));

    ClickCentre(about);
    HWND box = run.WaitForWindow([main](HWND w) { return w != main && ClassOf(w) == "#32770"; });
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_CLOSE, 0, 0);
    EXPECT_TRUE(run.WaitUntilGone(box));

    ClickCentre(minimise);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(main) != FALSE; }, 5000));
    ShowWindowAsync(main, SW_RESTORE);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(main); }, 5000));
    ClickCentre(close);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST(DisplayScale, At150PercentTheAdornPagesShowTheirControlsAtScaleAndTheIconOfThatSize)
{
    const DisplayDpi dpi(144);
    const ProgramCopy program;
    const TempDir temp;
    const std::string folder = temp.MakeDir("Iconic");
    temp.WriteFile("Iconic\\" + std::string(kSettings),
                   "[.ShellClassInfo]\r\nIconFile=" + program.Folder() + "icon.dll\r\nIconIndex=1\r\n");
    ProgramRun run(program, "Adorn " + Quoted(folder));
    HWND dialog = run.WaitForWindow(Titled("Adorn Folder"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowSize(dialog).cx, AtStartedDpi(488));
    EXPECT_EQ(WindowSize(dialog).cy, AtStartedDpi(341));
    ASSERT_EQ(TabCount(dialog), 4);
    const HWND tabs = ChildrenOfClass(dialog, WC_TABCONTROLA).at(0);
    const RECT pages = PlaceIn(dialog, tabs), pagesExpected = Scaled(11, 39, 467, 248);
    EXPECT_TRUE(EqualRect(&pages, &pagesExpected));
    // The page in front: the one visible window among the page control's own.
    const auto visiblePage = [tabs] {
        HWND shown = nullptr;
        for (HWND w = GetWindow(tabs, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            if (IsWindowVisible(w))
                shown = w;
        return shown;
    };
    const auto nextPage = [tabs, &visiblePage](HWND from) {
        PostMessageA(tabs, WM_KEYDOWN, VK_RIGHT, 0);
        PostMessageA(tabs, WM_KEYUP, VK_RIGHT, 0xC0000000);
        HWND next = nullptr;
        EXPECT_TRUE(WaitFor([&] { return (next = visiblePage()) != nullptr && next != from; }, 5000));
        return next;
    };

    // Icon: Select and Clear at scale; the preview holds the library's 48-pixel image, centred.
    HWND page = visiblePage();
    ASSERT_NE(page, nullptr);
    ButtonAt(page, 344, 132, 108, 38);
    ButtonAt(page, 344, 172, 108, 38);
    const RECT previewExpected = Scaled(4, 4, 257, 191);
    HWND preview = ChildAt(page, CentreOf(previewExpected));
    const RECT previewPlace = PlaceIn(page, preview);
    EXPECT_TRUE(EqualRect(&previewPlace, &previewExpected));
    RECT inside{};
    GetClientRect(preview, &inside);
    RECT ink{};
    EXPECT_TRUE(WaitFor([&] {
        SetForegroundWindow(dialog);
        const auto shown = ScreenOf(preview, inside);
        // Inside the panel's border, whatever is not its white.
        ink = InkBounds(*shown, PixelOf(*shown, 2, shown->Height() / 2), 2);
        return ink.right > ink.left;
    }, 5000));
    EXPECT_GT(ink.right - ink.left, 32) << "the icon is no larger than at 96 DPI";
    EXPECT_LE(ink.right - ink.left, 48);
    EXPECT_LE(ink.bottom - ink.top, 48);
    EXPECT_NEAR((ink.left + ink.right) / 2, inside.right / 2, 2);

    // Tip: the memo at scale.
    page = nextPage(page);
    const std::vector<HWND> memos = ChildrenOfClass(page, "Edit");
    ASSERT_EQ(memos.size(), 1u);
    const RECT memo = PlaceIn(page, memos[0]), memoExpected = Scaled(4, 4, 450, 211);
    EXPECT_TRUE(EqualRect(&memo, &memoExpected));
    // Text colour and Background: their Select and Clear at scale.
    for (int number = 3; number <= 4; ++number) {
        page = nextPage(page);
        SCOPED_TRACE("page " + std::to_string(number));
        ButtonAt(page, 344, 132, 108, 38);
        ButtonAt(page, 344, 172, 108, 38);
    }
    ClickCentre(ButtonAt(dialog, 370, 293, 108, 38));
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST(DisplayScale, AProductLibraryWithoutTheLargerSplashesShowsItsOwnMadeLarger)
{
    const DisplayDpi dpi(144);
    const ProgramCopy program{ProductLibraryName};
    program.Plant(TestLibrary("OneSplash.dll"), ProductLibraryName);
    ProgramRun run(program, "");
    const SIZE picture = SplashPictureSize();
    HWND splash = run.WaitForWindow([](HWND w) { return !IsMainWindow(w); }, 20000);
    ASSERT_NE(splash, nullptr);
    EXPECT_NE(ClassOf(splash), "#32770") << MessageBoxText(splash);
    EXPECT_EQ(WindowSize(splash).cx, AtStartedDpi(int(picture.cx)));
    EXPECT_EQ(WindowSize(splash).cy, AtStartedDpi(int(picture.cy)));
    HWND main = run.WaitForWindow(IsMainWindow, 20000);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

// Every window at 96, 120, 144 and 192 DPI, saved as <window>-<dpi>.png for a look, each of
// the size of its 96-DPI self times the scale.
TEST(DisplayScale, EveryWindowAtEveryScale)
{
    const std::string shots = ScreenshotFolder();
    std::map<std::string, SIZE> at96;
    const auto shoot = [&](HWND window, const std::string& name, int dpi) {
        Pause(400);
        const SIZE size = shots.empty() ? WindowSize(window)
                                        : SaveScreenPicture(window, shots + name + "-" + std::to_string(dpi) + ".bmp");
        if (dpi == 96) {
            at96[name] = size;
            return;
        }
        const SIZE base = at96.at(name);
        EXPECT_NEAR(size.cx, ScaledToDpi(base.cx, dpi), 2) << name << " at " << dpi;
        EXPECT_NEAR(size.cy, ScaledToDpi(base.cy, dpi), 2) << name << " at " << dpi;
    };
    const ProgramCopy program;
    const TempDir temp;
    const std::string folder = temp.MakeDir("Scratch");
    for (int scale : {96, 120, 144, 192}) {
        const DisplayDpi dpi(scale);
        {
            ProgramRun run(program, "");
            HWND splash = run.WaitForWindow([](HWND w) { return !IsMainWindow(w); }, 20000);
            ASSERT_NE(splash, nullptr);
            shoot(splash, "splash", scale);
            HWND main = run.WaitForWindow(IsMainWindow, 20000);
            ASSERT_NE(main, nullptr) << scale;
            shoot(main, "main-window", scale);
            ClickCentre(ChildAt(main, AtStartedDpi(POINT{426 + 24, 44 + 20})));
            HWND about = run.WaitForWindow([main](HWND w) { return w != main; });
            ASSERT_NE(about, nullptr);
            // The About box lays out its texts in the font's own size: its client area, not
            // its frame (the system's), follows the scale, within a line's rounding.
            Pause(400);
            RECT client{};
            GetClientRect(about, &client);
            if (scale == 96) {
                at96["about-client"] = {client.right, client.bottom};
            } else {
                EXPECT_NEAR(client.right, ScaledToDpi(at96["about-client"].cx, scale), 3) << scale;
                EXPECT_NEAR(client.bottom, ScaledToDpi(at96["about-client"].cy, scale), 9) << scale;
            }
            if (!shots.empty())
                SaveScreenPicture(about, shots + "about-box-" + std::to_string(scale) + ".bmp");
            PostMessageA(about, WM_CLOSE, 0, 0);
            run.WaitUntilGone(about);
            PostMessageA(main, WM_CLOSE, 0, 0);
            EXPECT_EQ(run.WaitForExit(), 0u);
        }
        {
            ProgramRun run(program, "Adorn " + Quoted(folder));
            HWND dialog = run.WaitForWindow(Titled("Adorn Folder"));
            ASSERT_NE(dialog, nullptr);
            const std::vector<HWND> tabs = ChildrenOfClass(dialog, WC_TABCONTROLA);
            ASSERT_EQ(tabs.size(), 1u);
            for (int page = 1; page <= 4; ++page) {
                if (page > 1) {
                    PostMessageA(tabs[0], WM_KEYDOWN, VK_RIGHT, 0);
                    PostMessageA(tabs[0], WM_KEYUP, VK_RIGHT, 0xC0000000);
                }
                shoot(dialog, "adorn-page" + std::to_string(page), scale);
            }
            PostMessageA(dialog, WM_CLOSE, 0, 0);
            EXPECT_EQ(run.WaitForExit(), 0u);
        }
        {
            ProgramRun run(program, "Pretend " + Quoted(folder));
            HWND dialog = run.WaitForWindow(Titled("Pretend Folder"));
            ASSERT_NE(dialog, nullptr);
            shoot(dialog, "pretend", scale);
            PostMessageA(dialog, WM_CLOSE, 0, 0);
            EXPECT_EQ(run.WaitForExit(), 0u);
        }
        {
            // A message box: the system's, at the program's DPI.
            ProgramRun run(program, "Pretend " + Quoted(folder + "missing"));
            HWND box = run.WaitForMessageBox();
            ASSERT_NE(box, nullptr);
            Pause(400);
            const SIZE size = shots.empty() ? WindowSize(box)
                                            : SaveScreenPicture(box, shots + "message-box-" + std::to_string(scale) + ".bmp");
            // The system lays it out for the DPI: text, icon and button grow, its frame less.
            if (scale == 96) {
                at96["message-box"] = size;
            } else {
                const int width = ScaledToDpi(at96["message-box"].cx, scale);
                EXPECT_NEAR(size.cx, width, width / 10) << scale;
                EXPECT_GT(size.cy, at96["message-box"].cy) << scale;
            }
            PressDialogButton(box, IDOK);
            HWND main = run.WaitForWindow(IsMainWindow);
            ASSERT_NE(main, nullptr);
            PostMessageA(main, WM_CLOSE, 0, 0);
            EXPECT_EQ(run.WaitForExit(), 0u);
        }
    }
}
