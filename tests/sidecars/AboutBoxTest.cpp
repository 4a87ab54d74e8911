#include "app/ProductInfo.h"
#include "sidecars/AboutForm.h"
#include "sidecars/SidecarTestSupport.h"
#include "support/ContrastTheme.h"
#include "support/ModalCloser.h"
#include "support/Screenshots.h"
#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <vector>

namespace {

constexpr const char* AboutCaption = "About Quorrel";

// How the driver closes the box once it has looked at it.
enum class CloseBy { OkButton, Enter, Escape, AltF4 };

// What the box showed while it was up.
struct Seen {
    bool Found = false;
    HWND Owner = nullptr;
    bool OwnerEnabled = true;
    std::vector<std::string> Texts;
    RECT Frame{};
    RECT WorkArea{};
    COLORREF Band = CLR_INVALID; // the white band at the top, as the screen shows it
};

// The About box is the one window the test expects: the closer finds it by class and caption
// inside its modal loop, the driver notes what it shows and closes it the chosen way; the
// closer's deadline ends a box that did not close.
class AboutDriver {
public:
    explicit AboutDriver(CloseBy close, std::string screenshot = {})
        : close_(close), screenshot_(std::move(screenshot)),
          closer_(ExpectedWindow{AboutCaption, "", 0, [this](HWND box) { Look(box); }})
    {
    }
    AboutDriver(const AboutDriver&) = delete;
    AboutDriver& operator=(const AboutDriver&) = delete;

    const Seen& seen() const { return seen_; }

private:
    static BOOL CALLBACK AddText(HWND child, LPARAM self) noexcept
    {
        char text[512] = {};
        GetWindowTextA(child, text, sizeof text);
        reinterpret_cast<AboutDriver*>(self)->seen_.Texts.emplace_back(text);
        return TRUE;
    }

    void Look(HWND box)
    {
        seen_.Found = true;
        seen_.Owner = GetWindow(box, GW_OWNER);
        seen_.OwnerEnabled = seen_.Owner && IsWindowEnabled(seen_.Owner);
        EnumChildWindows(box, &AddText, reinterpret_cast<LPARAM>(this));
        GetWindowRect(box, &seen_.Frame);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoA(MonitorFromWindow(box, MONITOR_DEFAULTTONEAREST), &monitor);
        seen_.WorkArea = monitor.rcWork;
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        POINT band{2, 2};
        ClientToScreen(box, &band);
        seen_.Band = GetPixel(ScopedWindowDC(nullptr).get(), band.x, band.y);
        if (!screenshot_.empty())
            SaveScreenshot(box, screenshot_);
        switch (close_) {
        case CloseBy::OkButton:
            PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            break;
        case CloseBy::Enter:
        case CloseBy::Escape: {
            // Keys go to the control with the focus, as typing would send them.
            const WPARAM key = close_ == CloseBy::Enter ? VK_RETURN : VK_ESCAPE;
            const HWND focus = GetFocus();
            PostMessageA(focus ? focus : box, WM_KEYDOWN, key, 1);
            PostMessageA(focus ? focus : box, WM_KEYUP, key, 0xC0000001);
            break;
        }
        case CloseBy::AltF4: {
            const HWND focus = GetFocus();
            PostMessageA(focus ? focus : box, WM_SYSKEYDOWN, VK_F4, 0x20000001);
            break;
        }
        }
    }

    // The box as it is on the screen, as a 24-bit bitmap file.
    static void SaveScreenshot(HWND box, const std::string& path) noexcept
    {
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT r;
        GetWindowRect(box, &r);
        const int width = r.right - r.left, height = r.bottom - r.top;
        const ScopedWindowDC screen(nullptr);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        const ScopedBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        const ScopedDC memory(CreateCompatibleDC(screen.get()));
        if (!bitmap || !memory)
            return;
        {
            const ScopedSelect select(memory.get(), bitmap.get());
            BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
        }
        const DWORD stride = (DWORD(width) * 3 + 3) & ~3u;
        BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + stride * height), 0,
                              0, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
        out.write(static_cast<const char*>(bits), std::streamsize(stride) * height);
    }

    CloseBy close_;
    std::string screenshot_;
    Seen seen_;
    ModalCloser closer_;
};

class AboutBox : public testing::Test {
protected:
    void SetUp() override
    {
        library_.reset(LoadLibraryA(BinPath("Form.dll").c_str()));
        ASSERT_TRUE(library_) << BinPath("Form.dll");
        show_ = reinterpret_cast<TShowAboutForm>(
            reinterpret_cast<void*>(GetProcAddress(library_.get(), ShowAboutFormExport)));
        ASSERT_NE(show_, nullptr);
    }

    // Shows the box for `info` owned by the test window; returns what the driver saw.
    Seen ShowAndClose(const TAboutFormInfo* info, CloseBy close, const std::string& screenshot = {})
    {
        const AboutDriver driver(close, screenshot);
        show_(owner_.get(), info);
        return driver.seen();
    }

    TAboutFormInfo info_{sizeof(TAboutFormInfo),
                         "Version 1.0",
                         "Quorrel",
                         "Copyright \xA9 2026 the Quorrel developers",
                         "folder stylist",
                         "https://quorrel.example/",
                         "support@quorrel.example",
                         "Gives single folders and drives a look of their own in Explorer.",
                         "C:\\Quorrel\\"};
    TestOwnerWindow owner_;
    ScopedLibrary library_;
    TShowAboutForm show_ = nullptr;
};

bool Shows(const Seen& seen, const std::string& text)
{
    for (const auto& shown : seen.Texts)
        if (shown == text)
            return true;
    return false;
}

// The whole way: the shipped strings of Res.dll, handed by ShowAbout to the shipped Form.dll.
TEST_F(AboutBox, ShowsEveryShippedTextModalToItsOwner)
{
    TProductInfo shipped;
    shipped.AppDirectory = BuildFolder("QUORREL_BIN");
    LoadProductStrings(shipped);
    ASSERT_EQ(shipped.ProductName, "Quorrel");
    const char* screenshot = std::getenv("QUORREL_ABOUT_SCREENSHOT");
    const AboutDriver driver(CloseBy::OkButton, screenshot ? screenshot : "");
    ShowAbout(owner_.get(), shipped);
    const Seen& seen = driver.seen();
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(seen.Owner, owner_.get());
    EXPECT_FALSE(seen.OwnerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner_.get()));
    EXPECT_EQ(FindWindowA("#32770", AboutCaption), nullptr);
    for (const auto* text : {&shipped.AboutText0, &shipped.ProductName, &shipped.AboutText2, &shipped.TitleSuffix,
                             &shipped.HomePage, &shipped.EmailAddress, &shipped.AboutText7})
        EXPECT_TRUE(Shows(seen, *text)) << *text;
    EXPECT_TRUE(Shows(seen, "OK"));
}

TEST_F(AboutBox, EnterEscapeAndAltF4CloseIt)
{
    for (const CloseBy key : {CloseBy::Enter, CloseBy::Escape, CloseBy::AltF4}) {
        const Seen seen = ShowAndClose(&info_, key);
        ASSERT_TRUE(seen.Found);
        EXPECT_TRUE(IsWindowEnabled(owner_.get()));
        EXPECT_EQ(FindWindowA("#32770", AboutCaption), nullptr);
    }
}

TEST_F(AboutBox, TheBandTakesTheWindowColoursOfAContrastTheme)
{
    const Seen plain = ShowAndClose(&info_, CloseBy::OkButton);
    ASSERT_TRUE(plain.Found);
    EXPECT_EQ(plain.Band, RGB(255, 255, 255)) << "white, as ever, with the usual colours";
    const ContrastTheme theme;
    const std::string folder = ScreenshotFolder();
    const Seen contrast = ShowAndClose(&info_, CloseBy::OkButton, folder.empty() ? "" : folder + "about-contrast.bmp");
    ASSERT_TRUE(contrast.Found);
    EXPECT_EQ(contrast.Band, GetSysColor(COLOR_WINDOW));
}

TEST_F(AboutBox, LongTextsStayOnTheScreenAndEmptyOnesTakeNoRow)
{
    const std::string longText(253, 'W');
    TAboutFormInfo info = info_;
    info.AboutText7 = longText.c_str(); // one word, as long as a product string can be
    info.HomePage = "";
    info.EmailAddress = nullptr;
    const Seen seen = ShowAndClose(&info, CloseBy::OkButton);
    ASSERT_TRUE(seen.Found);
    EXPECT_TRUE(Shows(seen, longText));
    EXPECT_FALSE(Shows(seen, "Home page:"));
    EXPECT_FALSE(Shows(seen, "E-mail:"));
    EXPECT_GE(seen.Frame.left, seen.WorkArea.left);
    EXPECT_LE(seen.Frame.right, seen.WorkArea.right);
    EXPECT_LE(seen.Frame.bottom, seen.WorkArea.bottom);
}

TEST_F(AboutBox, OlderCallersStructureIsReadOnlyAsFarAsItGoes)
{
    // A caller that knows only the first three strings: the fields past its size are not read.
    struct Older {
        unsigned Size;
        const char *AboutText0, *ProductName, *AboutText2;
        const char* NotAField;
    } older{offsetof(Older, NotAField), "Version 0.9", "Quorrel", "Copyright", "must not show"};
    const Seen seen = ShowAndClose(reinterpret_cast<const TAboutFormInfo*>(&older), CloseBy::OkButton);
    ASSERT_TRUE(seen.Found);
    EXPECT_TRUE(Shows(seen, "Version 0.9"));
    EXPECT_FALSE(Shows(seen, "must not show"));
}

TEST_F(AboutBox, NoInformationShowsNothing)
{
    const AboutDriver driver(CloseBy::OkButton);
    show_(owner_.get(), nullptr);
    EXPECT_FALSE(driver.seen().Found);
}

} // namespace
