// Form.dll: the About box. Plain Win32 with the platform's own dialog loop, on purpose: the
// toolkit registers its window class under the executable's instance, and a second copy of it
// inside this library would meet the program's own registration there.
#include "dialogs/Artwork.h"
#include "sidecars/AboutForm.h"
#include "sidecars/FormResources.h"
#include "toolkit/core/DisplayDpi.h"
#include "toolkit/core/Scoped.h"

#include <algorithm>
#include <cstddef>
#include <string>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HINSTANCE ThisModule() noexcept
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

// The logo's side on a 96-DPI display.
constexpr int kLogoSize = 64;

struct AboutTexts {
    std::string About0, Name, About2, Suffix, HomePage, Email, About7;
};

// A field of the caller's structure, read only when the caller's size covers it.
std::string Field(const TAboutFormInfo& info, const char* const TAboutFormInfo::*member, std::size_t offset)
{
    if (info.Size < offset + sizeof(const char*))
        return {};
    const char* text = info.*member;
    return text ? text : "";
}
#define ABOUT_FIELD(name) Field(info, &TAboutFormInfo::name, offsetof(TAboutFormInfo, name))

AboutTexts ReadTexts(const TAboutFormInfo& info)
{
    return {ABOUT_FIELD(AboutText0), ABOUT_FIELD(ProductName), ABOUT_FIELD(AboutText2), ABOUT_FIELD(TitleSuffix),
            ABOUT_FIELD(HomePage),   ABOUT_FIELD(EmailAddress), ABOUT_FIELD(AboutText7)};
}
#undef ABOUT_FIELD

// Static controls wrap like an edit control, so a long address without blanks still breaks.
constexpr DWORD TextStyle = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL;
constexpr UINT MeasureFlags = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;

int TextHeight(HDC dc, HFONT font, const std::string& text, int width)
{
    const ScopedSelect select(dc, font);
    RECT r{0, 0, width, 0};
    DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &r, MeasureFlags);
    return r.bottom - r.top;
}

int TextWidth(HDC dc, HFONT font, const std::string& text)
{
    const ScopedSelect select(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// The band takes the window colours (white and black but in a contrast theme); the title's
// second line is grey only where the band is light and no contrast theme is on.
COLORREF SuffixColour() noexcept
{
    HIGHCONTRASTA setting{};
    setting.cbSize = sizeof setting;
    const bool contrast = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
                          (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
    const COLORREF band = GetSysColor(COLOR_WINDOW);
    const bool light = GetRValue(band) * 299 + GetGValue(band) * 587 + GetBValue(band) * 114 >= 128000;
    return light && !contrast ? RGB(80, 80, 80) : GetSysColor(COLOR_WINDOWTEXT);
}

// A copy of a font made for another DPI. A height that is a whole number of points there (the
// dialog's font) is made from the points again, meeting the other DPI's own rounding.
ScopedFont FontAtDpi(HFONT font, int fromDpi, int toDpi)
{
    LOGFONTA logical{};
    GetObjectA(font, sizeof logical, &logical);
    const int points = MulDivRounded(logical.lfHeight, 72, fromDpi);
    if (MulDivRounded(points, fromDpi, 72) == logical.lfHeight)
        logical.lfHeight = MulDivRounded(points, toDpi, 72);
    else
        logical.lfHeight = MulDivRounded(logical.lfHeight, toDpi, fromDpi);
    return ScopedFont(CreateFontIndirectA(&logical));
}

// Text sizes at a DPI, never smaller than the same text in the same font at 96 DPI, scaled:
// the box keeps the proportions it has at 96 DPI, and no text is cut where the larger font
// runs wider than its scale.
class TextMeasure {
public:
    TextMeasure(HDC dc, int dpi, HFONT body, HFONT title)
        : dc_(dc), dpi_(dpi), body_(body), body96_(Twin(body)), title96_(Twin(title))
    {
    }
    int Height(HFONT font, const std::string& text, int width) const
    {
        const int here = TextHeight(dc_, font, text, width);
        if (dpi_ == kDesignDpi)
            return here;
        const int there = TextHeight(dc_, (font == body_ ? body96_ : title96_).get(), text, UnscaledFromDpi(width, dpi_));
        return std::max(here, ScaledToDpi(there, dpi_));
    }
    int Width(HFONT font, const std::string& text) const
    {
        const int here = TextWidth(dc_, font, text);
        if (dpi_ == kDesignDpi)
            return here;
        return std::max(here, ScaledToDpi(TextWidth(dc_, (font == body_ ? body96_ : title96_).get(), text), dpi_));
    }

private:
    ScopedFont Twin(HFONT font) const { return dpi_ == kDesignDpi ? ScopedFont() : FontAtDpi(font, dpi_, kDesignDpi); }

    HDC dc_;
    int dpi_;
    HFONT body_;
    ScopedFont body96_, title96_;
};

// The dialog manager's own scaling when the box moves to a display of another DPI: the box
// lays itself out again instead (Windows 10 1703 and later; older systems have none).
void KeepOwnLayoutOnDpiChange(HWND dialog) noexcept
{
    using Function = BOOL(WINAPI*)(HWND, int, int);
    constexpr int disableAll = 7; // DDC_DISABLE_ALL: no resize, no new fonts, no relayout
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (auto set = user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(
                                GetProcAddress(user32, "SetDialogDpiChangeBehavior")))
                          : nullptr)
        set(dialog, disableAll, disableAll);
}

// The logo for a display of `dpi`: the picture drawn for the scale at or above it, made
// smaller to the 96-DPI logo's size at that DPI when the set is larger.
ScopedBitmap LogoFor(int dpi)
{
    const int set = ArtScaleFor(ScalePercentForDpi(dpi));
    const std::string name = "LOGO_" + std::to_string(set);
    ScopedBitmap logo(static_cast<HBITMAP>(
        set == kArtScales.front() ? LoadImageA(ThisModule(), MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP, 0, 0, 0)
                                  : LoadImageA(ThisModule(), name.c_str(), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP size{};
    if (!logo || !GetObjectA(logo.get(), sizeof size, &size))
        return logo;
    const int wanted = ScaledToDpi(kLogoSize, dpi);
    if (size.bmWidth == wanted && size.bmHeight == wanted)
        return logo;
    const ScopedWindowDC screen(nullptr);
    ScopedBitmap fitted(CreateCompatibleBitmap(screen.get(), wanted, wanted));
    const ScopedDC from(CreateCompatibleDC(screen.get())), to(CreateCompatibleDC(screen.get()));
    if (!fitted || !from || !to)
        return logo;
    const ScopedSelect readFrom(from.get(), logo.get()), drawTo(to.get(), fitted.get());
    SetStretchBltMode(to.get(), HALFTONE);
    SetBrushOrgEx(to.get(), 0, 0, nullptr);
    StretchBlt(to.get(), 0, 0, wanted, wanted, from.get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    return fitted;
}

class AboutBox {
public:
    explicit AboutBox(AboutTexts texts) : texts_(std::move(texts)) {}

    void Run(HWND owner)
    {
        DialogBoxParamA(ThisModule(), MAKEINTRESOURCEA(IDD_ABOUT), owner, &AboutBox::Proc,
                        reinterpret_cast<LPARAM>(this));
    }

private:
    static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    INT_PTR Handle(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
    // Lays out the texts for the box's DPI; answers the window's size.
    SIZE Layout(HWND dialog);
    // Centred on the owner, kept on its monitor.
    void Place(HWND dialog, SIZE size);
    // The box moved to a display of another DPI: fonts, logo and layout made for it, at the
    // place the system suggests.
    void ChangeDpi(HWND dialog, int dpi, const RECT& suggested);
    // Dialog units of the box's font, in pixels at the box's DPI.
    POINT DialogUnits(int x, int y) const;
    // The dialog font's units at 96 DPI.
    void TakeBaseUnits(HWND dialog);
    HWND AddText(HWND dialog, int id, const std::string& text, HFONT font, int x, int y, int width, int height);
    void Paint(HWND dialog);

    AboutTexts texts_;
    int dpi_ = kDesignDpi;        // the DPI the box is laid out for
    int createdDpi_ = kDesignDpi; // the DPI the dialog manager made it at
    POINT baseUnits96_{};
    ScopedBitmap logo_;
    ScopedFont bodyFont_; // the box's font at another DPI than it was made at; else the dialog's
    ScopedFont titleFont_;
    SIZE logoSize_{};
    POINT logoAt_{};
    int bandHeight_ = 0;
};

INT_PTR CALLBACK AboutBox::Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (msg == WM_INITDIALOG)
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    auto* box = reinterpret_cast<AboutBox*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!box)
        return FALSE;
    try {
        return box->Handle(dialog, msg, wParam, lParam);
    } catch (...) {
        // A box that cannot be laid out is not shown half-made.
        if (msg == WM_INITDIALOG)
            EndDialog(dialog, -1);
        return FALSE;
    }
}

INT_PTR AboutBox::Handle(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        dpi_ = createdDpi_ = WindowDpi(dialog);
        KeepOwnLayoutOnDpiChange(dialog);
        TakeBaseUnits(dialog);
        Place(dialog, Layout(dialog));
        return TRUE; // the focus goes to OK, the one tab stop
    case WM_DPICHANGED:
        ChangeDpi(dialog, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_PAINT:
        Paint(dialog);
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id != IDC_NAME && id != IDC_SUFFIX)
            return FALSE;
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        SetTextColor(dc, id == IDC_SUFFIX ? SuffixColour() : GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

HWND AboutBox::AddText(HWND dialog, int id, const std::string& text, HFONT font, int x, int y, int width, int height)
{
    const HWND control = CreateWindowExA(0, "STATIC", text.c_str(), TextStyle, x, y, width, height, dialog,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

POINT AboutBox::DialogUnits(int x, int y) const
{
    // The units of the box's font at 96 DPI, scaled: the box keeps its proportions at every
    // scale, where the font's own units would not grow quite in step.
    return {ScaledToDpi(MulDivRounded(x, baseUnits96_.x, 4), dpi_), ScaledToDpi(MulDivRounded(y, baseUnits96_.y, 8), dpi_)};
}

void AboutBox::TakeBaseUnits(HWND dialog)
{
    if (createdDpi_ == kDesignDpi) {
        RECT r{0, 0, 4, 8};
        MapDialogRect(dialog, &r);
        baseUnits96_ = {r.right, r.bottom};
        return;
    }
    // The dialog manager's rule, on the box's font made for 96 DPI.
    const ScopedFont font96 = FontAtDpi(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), createdDpi_,
                                        kDesignDpi);
    const ScopedWindowDC screen(dialog);
    const ScopedSelect select(screen.get(), font96.get());
    const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size{};
    GetTextExtentPoint32A(screen.get(), letters, 52, &size);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen.get(), &metrics);
    baseUnits96_ = {(size.cx / 26 + 1) / 2, metrics.tmHeight};
}

void AboutBox::ChangeDpi(HWND dialog, int dpi, const RECT& suggested)
{
    if (dpi <= 0 || dpi == dpi_)
        return;
    const HFONT current = bodyFont_ ? bodyFont_.get() : reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    ScopedFont font = FontAtDpi(current, dpi_, dpi);
    if (!font)
        return;
    dpi_ = dpi;
    // The texts are made again; OK stays and takes the new font.
    for (int id : {IDC_NAME, IDC_SUFFIX, IDC_RULE, IDC_ABOUT0, IDC_ABOUT2, IDC_ABOUT7, IDC_HOMEPAGE_LABEL, IDC_HOMEPAGE,
                   IDC_EMAIL_LABEL, IDC_EMAIL})
        if (HWND control = GetDlgItem(dialog, id))
            DestroyWindow(control);
    bodyFont_ = std::move(font);
    SendMessageA(GetDlgItem(dialog, IDOK), WM_SETFONT, reinterpret_cast<WPARAM>(bodyFont_.get()), FALSE);
    const SIZE size = Layout(dialog);
    SetWindowPos(dialog, nullptr, suggested.left, suggested.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(dialog, nullptr, TRUE);
}

SIZE AboutBox::Layout(HWND dialog)
{
    SetWindowTextA(dialog, texts_.Name.empty() ? "About" : ("About " + texts_.Name).c_str());

    const auto font = bodyFont_ ? bodyFont_.get() : reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    LOGFONTA title{};
    GetObjectA(font, sizeof title, &title);
    title.lfHeight = title.lfHeight * 9 / 5;
    title.lfWeight = FW_BOLD;
    titleFont_.reset(CreateFontIndirectA(&title));

    logo_ = LogoFor(dpi_);
    BITMAP logo{};
    if (logo_)
        GetObjectA(logo_.get(), sizeof logo, &logo);
    logoSize_ = {logo.bmWidth, logo.bmHeight};

    const POINT margin = DialogUnits(8, 7);
    const POINT gap = DialogUnits(4, 3);
    const POINT button = DialogUnits(50, 14);
    const int textLeft = margin.x + logoSize_.cx + margin.x;
    const int textWidth = DialogUnits(200, 0).x;
    const int clientWidth = textLeft + textWidth + margin.x;

    const ScopedWindowDC screen(dialog);
    const TextMeasure measure(screen.get(), dpi_, font, titleFont_.get());

    // The white band: the logo beside the product's name and its title.
    const int nameHeight = measure.Height(titleFont_.get(), texts_.Name, textWidth);
    const int suffixHeight = texts_.Suffix.empty() ? 0 : measure.Height(font, texts_.Suffix, textWidth);
    const int block = nameHeight + (suffixHeight ? gap.y + suffixHeight : 0);
    const int bandContent = std::max<int>(block, logoSize_.cy);
    int y = margin.y + (bandContent - block) / 2;
    AddText(dialog, IDC_NAME, texts_.Name, titleFont_.get(), textLeft, y, textWidth, nameHeight);
    if (suffixHeight)
        AddText(dialog, IDC_SUFFIX, texts_.Suffix, font, textLeft, y + nameHeight + gap.y, textWidth, suffixHeight);
    logoAt_ = {margin.x, margin.y + (bandContent - logoSize_.cy) / 2};
    bandHeight_ = margin.y + bandContent + margin.y;
    CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, bandHeight_, clientWidth, 2, dialog,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_RULE)), ThisModule(), nullptr);

    // The about texts, one paragraph each; an empty one takes no room.
    y = bandHeight_ + 2 + margin.y;
    const std::pair<int, const std::string*> paragraphs[] = {
        {IDC_ABOUT0, &texts_.About0}, {IDC_ABOUT2, &texts_.About2}, {IDC_ABOUT7, &texts_.About7}};
    for (const auto& [id, text] : paragraphs) {
        if (text->empty())
            continue;
        const int height = measure.Height(font, *text, textWidth);
        AddText(dialog, id, *text, font, textLeft, y, textWidth, height);
        y += height + gap.y;
    }

    // Home page and e-mail, their captions in a column of their own.
    struct Contact {
        int labelId, valueId;
        const char* label;
        const std::string* value;
    };
    const Contact contacts[] = {{IDC_HOMEPAGE_LABEL, IDC_HOMEPAGE, "Home page:", &texts_.HomePage},
                                {IDC_EMAIL_LABEL, IDC_EMAIL, "E-mail:", &texts_.Email}};
    int labelWidth = 0;
    for (const auto& contact : contacts)
        labelWidth = std::max(labelWidth, measure.Width(font, contact.label));
    const int valueLeft = textLeft + labelWidth + gap.x;
    const int valueWidth = textLeft + textWidth - valueLeft;
    bool firstContact = true;
    for (const auto& contact : contacts) {
        if (contact.value->empty())
            continue;
        if (firstContact && y > bandHeight_ + 2 + margin.y)
            y += gap.y;
        firstContact = false;
        const int height = measure.Height(font, *contact.value, valueWidth);
        AddText(dialog, contact.labelId, contact.label, font, textLeft, y, labelWidth, height);
        AddText(dialog, contact.valueId, *contact.value, font, valueLeft, y, valueWidth, height);
        y += height + gap.y;
    }

    const int buttonTop = y + margin.y;
    const int clientHeight = buttonTop + button.y + margin.y;
    SetWindowPos(GetDlgItem(dialog, IDOK), nullptr, clientWidth - margin.x - button.x, buttonTop, button.x, button.y,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    // The frame around that client area.
    const RECT frame = WindowRectForDpi(RECT{0, 0, clientWidth, clientHeight},
                                        static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)),
                                        static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)), dpi_);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void AboutBox::Place(HWND dialog, SIZE size)
{
    const int width = size.cx, height = size.cy;
    const HWND owner = GetWindow(dialog, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT around = monitor.rcWork;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &around);
    const RECT& work = monitor.rcWork;
    const int left = std::clamp<int>((around.left + around.right - width) / 2, work.left,
                                     std::max<int>(work.left, work.right - width));
    const int top = std::clamp<int>((around.top + around.bottom - height) / 2, work.top,
                                    std::max<int>(work.top, work.bottom - height));
    SetWindowPos(dialog, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void AboutBox::Paint(HWND dialog)
{
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(dialog, &ps);
    RECT client;
    GetClientRect(dialog, &client);
    RECT band{0, 0, client.right, bandHeight_};
    FillRect(dc, &band, GetSysColorBrush(COLOR_WINDOW));
    if (logo_) {
        const ScopedDC memory(CreateCompatibleDC(dc));
        const ScopedSelect select(memory.get(), logo_.get());
        BitBlt(dc, logoAt_.x, logoAt_.y, logoSize_.cx, logoSize_.cy, memory.get(), 0, 0, SRCCOPY);
    }
    EndPaint(dialog, &ps);
}

} // namespace

extern "C" __declspec(dllexport) void __cdecl ShowAboutForm(HWND owner, const TAboutFormInfo* info) noexcept
{
    if (!info)
        return;
    try {
        AboutBox box(ReadTexts(*info));
        box.Run(owner && IsWindow(owner) ? owner : nullptr);
    } catch (...) {
        // Nothing may reach the caller: its runtime could not unwind this library's frames.
    }
}
