// The keyboard's marks on skinned buttons whose pictures carry their words, and the buttons in a
// contrast theme, read back pixel by pixel from what the button paints.
#include "skin/BmpButton.h"
#include "skin/KeyboardCues.h"
#include "skin/SkinTestSupport.h"
#include "support/ContrastTheme.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"
#include "toolkit/graphics/Canvas.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class CueForm : public TForm {
public:
    CueForm()
    {
        SetBorderStyle(bsNone);
        SetBounds(60, 60, 300, 120);
        Font().SetName("MS Sans Serif");
        Font().SetHeight(11);
        const auto button = [](const char* art, const char* caption, TWindowGlyph glyph) {
            return [art, caption, glyph](TBmpButton& b) {
                b.Bitmaps().LoadFromResources(GetModuleHandleA(nullptr), art);
                b.SetCaption(caption);
                b.SetCaptionInPicture(true);
                b.SetWindowGlyph(glyph);
            };
        };
        BuildLayout(*this, {
            Place<TBmpButton>("Adorn", 10, 10, 108, 38, {}, button("BTN_ADORN", "&Adorn", wgNone)),
            Place<TBmpButton>("Ok", 130, 10, 108, 38, {}, button("BTN_OK", "OK", wgNone)),
            Place<TBmpButton>("Close", 250, 10, 31, 27, {}, button("BTN_CLOSE", "Close", wgClose)),
        });
    }
    TBmpButton& Button(const char* name) { return Component<TBmpButton>(name); }
    void Cues(WORD action, WORD cues) { SendMessageA(Handle(), WM_UPDATEUISTATE, MAKEWPARAM(action, cues), 0); }
};

std::unique_ptr<TBitmap> Painted(TBmpButton& button)
{
    auto surface = SolidBitmap(button.Width(), button.Height(), clBlack);
    SendMessageA(button.Handle(), WM_PAINT, reinterpret_cast<WPARAM>(surface->Canvas().Handle()), 0);
    return surface;
}

// The pixels where the painted button is not its picture (key-coloured pixels left out).
std::vector<POINT> Differences(TBitmap& painted, TBitmap& picture)
{
    std::vector<POINT> differ;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (PixelAt(picture, x, y) != clOlive && PixelAt(painted, x, y) != PixelAt(picture, x, y))
                differ.push_back({x, y});
    return differ;
}

bool OnFrame(const RECT& r, POINT p)
{
    const bool inside = p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
    return inside && (p.x == r.left || p.x == r.right - 1 || p.y == r.top || p.y == r.bottom - 1);
}

void FocusOn(TForm& form, TBmpButton& button)
{
    for (int attempt = 0; attempt < 50 && !button.HasFocus(); ++attempt) {
        SetForegroundWindow(form.Handle());
        button.SetFocus();
    }
    ASSERT_TRUE(button.HasFocus());
}

TEST(KeyboardCues, TheFocusIsARectangleOverThePictureWhileTheFocusCueIsShown)
{
    CueForm form;
    form.Show();
    TBmpButton& ok = form.Button("Ok");
    FocusOn(form, ok);
    form.Cues(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL);

    auto focused = Painted(ok);
    const std::vector<POINT> marks = Differences(*focused, ok.Bitmaps().Up());
    const RECT ring = FocusCueRect(ok.Width(), ok.Height(), ok.Dpi());
    const int perimeter = 2 * (ring.right - ring.left + ring.bottom - ring.top);
    EXPECT_GE(static_cast<int>(marks.size()), perimeter / 3) << "a dotted ring all round";
    for (POINT p : marks)
        EXPECT_TRUE(OnFrame(ring, p)) << "(" << p.x << ", " << p.y << ") changed off the ring";

    // Hidden for a mouse user, and gone with the focus.
    form.Cues(UIS_SET, UISF_HIDEFOCUS);
    EXPECT_TRUE(Differences(*Painted(ok), ok.Bitmaps().Up()).empty());
    form.Cues(UIS_CLEAR, UISF_HIDEFOCUS);
    FocusOn(form, form.Button("Adorn"));
    EXPECT_TRUE(Differences(*Painted(ok), ok.Bitmaps().Up()).empty());
    form.Hide();
}

TEST(KeyboardCues, TheAccessKeyIsUnderlinedUnderItsLetterInThePictureOnceAltIsUsed)
{
    CueForm form;
    form.Show();
    TBmpButton& adorn = form.Button("Adorn");
    TBitmap& up = adorn.Bitmaps().Up();
    form.Cues(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL);
    EXPECT_TRUE(Differences(*Painted(adorn), up).empty()) << "no underline before the keyboard is used";

    form.Cues(UIS_CLEAR, UISF_HIDEACCEL);
    const std::vector<POINT> line = Differences(*Painted(adorn), up);
    ASSERT_FALSE(line.empty());
    // The word's extent, from its white letters.
    int wordLeft = up.Width(), wordRight = -1, wordBottom = -1;
    for (int y = 0; y < up.Height(); ++y)
        for (int x = 0; x < up.Width(); ++x)
            if (PixelAt(up, x, y) == RGBColor(255, 255, 255)) {
                wordLeft = std::min(wordLeft, x);
                wordRight = std::max(wordRight, x);
                wordBottom = std::max(wordBottom, y);
            }
    int lineLeft = up.Width(), lineRight = -1;
    for (POINT p : line) {
        EXPECT_EQ(p.y, line.front().y) << "one straight line";
        lineLeft = std::min<int>(lineLeft, p.x);
        lineRight = std::max<int>(lineRight, p.x);
    }
    // Under the "A": starting where the word starts, no wider than a letter, just below it.
    EXPECT_EQ(lineLeft, wordLeft);
    EXPECT_GE(lineRight - lineLeft, 3);
    EXPECT_LT(lineRight - lineLeft, (wordRight - wordLeft) / 3);
    EXPECT_GT(line.front().y, wordBottom);
    EXPECT_LE(line.front().y, wordBottom + 3);
    auto painted = Painted(adorn);
    EXPECT_EQ(PixelAt(*painted, lineLeft, line.front().y), RGBColor(255, 255, 255)) << "in the word's colour";

    // A button without an access key has nothing to underline.
    EXPECT_TRUE(Differences(*Painted(form.Button("Ok")), form.Button("Ok").Bitmaps().Up()).empty());
    form.Hide();
}

TEST(AccessKeyIndex, CountsTheLettersAsRead)
{
    EXPECT_EQ(AccessKeyIndex("&Adorn"), 0u);
    EXPECT_EQ(AccessKeyIndex("Sa&ve"), 2u);
    EXPECT_EQ(AccessKeyIndex("A && &B"), 4u);
    EXPECT_EQ(AccessKeyIndex("Fish && chips"), std::nullopt);
    EXPECT_EQ(AccessKeyIndex("End&"), std::nullopt);
}

// Every pixel a mix of the two colours (text may be smoothed): nothing of the picture is left.
testing::AssertionResult OnlyBetween(TBitmap& bitmap, COLORREF a, COLORREF b)
{
    const auto within = [](int v, int x, int y) { return v >= std::min(x, y) && v <= std::max(x, y); };
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const COLORREF c = PixelAt(bitmap, x, y);
            if (!within(GetRValue(c), GetRValue(a), GetRValue(b)) || !within(GetGValue(c), GetGValue(a), GetGValue(b)) ||
                !within(GetBValue(c), GetBValue(a), GetBValue(b)))
                return testing::AssertionFailure() << "(" << x << ", " << y << ") is " << std::hex << c;
        }
    return testing::AssertionSuccess();
}

bool HasColour(TBitmap& bitmap, COLORREF colour)
{
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (PixelAt(bitmap, x, y) == colour)
                return true;
    return false;
}

TEST(ContrastTheme, ButtonsAreFacesFramesAndWordsInTheSystemsColours)
{
    CueForm form;
    form.Show();
    const ContrastTheme theme;
    const COLORREF face = GetSysColor(COLOR_BTNFACE), ink = GetSysColor(COLOR_BTNTEXT);
    form.Cues(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL);

    TBmpButton& adorn = form.Button("Adorn");
    auto painted = Painted(adorn);
    EXPECT_TRUE(OnlyBetween(*painted, face, ink));
    EXPECT_EQ(PixelAt(*painted, 0, 0), ink) << "framed";
    EXPECT_EQ(PixelAt(*painted, 4, 4), face);
    EXPECT_TRUE(HasColour(*painted, ink));
    // The word itself: drawn where the middle of the button is, in the text colour.
    int inked = 0;
    for (int x = 30; x < 78; ++x)
        for (int y = 12; y < 27; ++y)
            inked += PixelAt(*painted, x, y) == ink;
    EXPECT_GT(inked, 20);

    // The close button draws its cross; held down, the face is the selection colour.
    TBmpButton& close = form.Button("Close");
    auto cross = Painted(close);
    EXPECT_TRUE(OnlyBetween(*cross, face, ink));
    EXPECT_EQ(PixelAt(*cross, close.Width() / 2, close.Height() / 2), ink);
    SendMessageA(close.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    auto held = Painted(close);
    EXPECT_EQ(PixelAt(*held, 4, 4), GetSysColor(COLOR_HIGHLIGHT));
    SendMessageA(close.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(100, 100));

    // Disabled: the word in the theme's colour for unavailable text.
    adorn.SetEnabled(false);
    EXPECT_TRUE(HasColour(*Painted(adorn), GetSysColor(COLOR_GRAYTEXT)));
    form.Hide();
}

} // namespace
