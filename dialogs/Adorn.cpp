#include "dialogs/Adorn.h"

#include "dialogs/Artwork.h"
#include "engine/FolderCtrl.h"
#include "skin/BmpButton.h"
#include "skin/FormShape.h"
#include "skin/HighContrastDrawing.h"
#include "toolkit/core/Action.h"
#include "toolkit/core/ActionList.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Memo.h"
#include "toolkit/controls/PageControl.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/controls/TabSheet.h"
#include "toolkit/core/Convert.h"
#include "toolkit/core/PathText.h"
#include "toolkit/graphics/HighContrast.h"

#include <algorithm>

namespace {
constexpr int kClientWidth = 488, kClientHeight = 341;

// A white preview panel with a single sunken border, at the top left of a page.
std::function<void(TPanel&)> PreviewPanel()
{
    return [](TPanel& panel) {
        panel.SetBorderStyle(bsSingle);
        panel.SetBevelOuter(bvNone);
        panel.SetColor(clWhite);
    };
}

// The sample label at least as wide as its text in its font: the text is never cut off.
void FitSample(TLabel& label)
{
    TBitmap measure(1, 1);
    measure.Canvas().Font().Assign(label.Font());
    label.SetWidth(std::max(label.Scaled(102), measure.Canvas().TextWidth(label.Caption()) + label.Scaled(2)));
}

} // namespace

TFormAdorn::TFormAdorn() : TFolderDialog("Adorn Folder", kClientWidth, kClientHeight)
{
    // The actions first, so the buttons can be bound to them as they are made.
    TAction *actOK = nullptr, *selectIco = nullptr, *clearIco = nullptr, *selectColor = nullptr,
            *clearColor = nullptr, *selectPic = nullptr, *clearPic = nullptr;
    // A page's Select or Clear button, 108 by 38, on the right of the page.
    auto pageButton = [this](const char* name, const char* sheet, int top, const char* art, TAction*& action) {
        return Place<TBmpButton>(name, 344, top, 108, 38, sheet, [this, art, &action](TBmpButton& button) {
            WhenMade([this, &button, art] { LoadButtonArtForDpi(button, art, Dpi()); });
            button.SetAction(action);
        });
    };
    auto action = [this](const char* name, TAction*& slot, void (TFormAdorn::*handler)(TObject*)) {
        return Place<TAction>(name, [this, &slot, handler](TAction& a) {
            a.SetActionList(&Component<TActionList>("ActionList1"));
            a.OnExecute = [this, handler](TObject* sender) { (this->*handler)(sender); };
            slot = &a;
        });
    };
    TFormLayout rows{
        Place<TActionList>("ActionList1"),
        action("ActOK", actOK, &TFormAdorn::ActOKExecute),
        action("ActSelectIco", selectIco, &TFormAdorn::ActSelectIcoExecute),
        action("ActClearIco", clearIco, &TFormAdorn::ActClearIcoExecute),
        action("ActSelectColor", selectColor, &TFormAdorn::ActSelectColorExecute),
        action("ActClearColor", clearColor, &TFormAdorn::ActClearColorExecute),
        action("ActSelectPic", selectPic, &TFormAdorn::ActSelectPicExecute),
        action("ActClearPic", clearPic, &TFormAdorn::ActClearPicExecute),
        SkinRow(kClientWidth, kClientHeight),
        CaptionRow(Caption()),
        Place<TPageControl>("PageControl1", 11, 39, 467, 248, {},
                            [](TPageControl& pages) { pages.SetAnchors(akLeft | akTop | akRight | akBottom); }),
        Place<TTabSheet>("TabSheet1", "PageControl1", [](TTabSheet& s) { s.SetCaption("Icon"); }),
        Place<TTabSheet>("TabSheet2", "PageControl1", [](TTabSheet& s) { s.SetCaption("Tip"); }),
        Place<TTabSheet>("TabSheet3", "PageControl1", [](TTabSheet& s) { s.SetCaption("Text color"); }),
        Place<TTabSheet>("TabSheet4", "PageControl1", [](TTabSheet& s) { s.SetCaption("Background"); }),
        // Icon: the preview is the panel's inside (2-pixel sunken edge), so an icon drawn into it
        // before the window exists lands where it will show.
        Place<TPanel>("Panel2", 4, 4, 257, 191, "TabSheet1", PreviewPanel()),
        Place<TImage>("Image1", 0, 0, 253, 187, "Panel2", [](TImage& image) { image.SetAlign(alClient); }),
        pageButton("BmpButton7", "TabSheet1", 132, "BTN_SELECT", selectIco),
        pageButton("BmpButton8", "TabSheet1", 172, "BTN_CLEAR", clearIco),
        // Tip.
        Place<TMemo>("FolderTip", 4, 4, 450, 211, "TabSheet2",
                     [](TMemo& memo) { memo.SetAnchors(akLeft | akTop | akRight | akBottom); }),
        // Text color: a sample of the captions in the folder's colour.
        Place<TLabel>("Label1", 88, 80, 102, 29, "TabSheet3", [this](TLabel& label) {
            label.SetCaption("Korvane");
            label.SetParentFont(false);
            label.Font().SetName("MS Sans Serif");
            label.Font().SetHeight(24);
            label.Font().SetBold(true);
            label.Font().SetColor(clWindowText);
            label.SetTransparent(true);
            FitSample(label);
            // Text does not grow exactly with the scale: measured again at each.
            WhenMade([&label] { FitSample(label); });
        }),
        pageButton("BmpButton11", "TabSheet3", 132, "BTN_SELECT", selectColor),
        pageButton("BmpButton12", "TabSheet3", 172, "BTN_CLEAR", clearColor),
        // Background: the picture stretched over the preview.
        Place<TPanel>("Panel1", 4, 4, 257, 193, "TabSheet4", PreviewPanel()),
        Place<TImage>("Image2", 0, 0, 253, 189, "Panel1", [](TImage& image) {
            image.SetAlign(alClient);
            image.SetStretch(true);
        }),
        pageButton("BmpButton5", "TabSheet4", 132, "BTN_SELECT", selectPic),
        pageButton("BmpButton6", "TabSheet4", 172, "BTN_CLEAR", clearPic),
    };
    AddChrome(rows, {308, 408});
    Finish(rows);
    // The icon preview drawn again at the size of a new scale.
    WhenMade([this] { RedrawIcon(); });
    BmpButton(1).SetAction(actOK);
    // The pictures show the words; the captions name the buttons.
    for (int number : {5, 7, 11})
        BmpButton(number).SetCaption("Select");
    for (int number : {6, 8, 12})
        BmpButton(number).SetCaption("Clear");
    for (int number : {5, 6, 7, 8, 11, 12})
        BmpButton(number).SetCaptionInPicture(true);
    Component<TFormShape>("FormShape1").OnFormShow = [this](TObject* sender) { FormShape1FormShow(sender); };
    OnHide = [this](TObject* sender) { FormHide(sender); };
}

TPageControl& TFormAdorn::PageControl1() const { return Component<TPageControl>("PageControl1"); }
TImage& TFormAdorn::Image1() const { return Component<TImage>("Image1"); }
TMemo& TFormAdorn::FolderTip() const { return Component<TMemo>("FolderTip"); }
TLabel& TFormAdorn::Label1() const { return Component<TLabel>("Label1"); }
TImage& TFormAdorn::Image2() const { return Component<TImage>("Image2"); }

std::vector<TWinControl*> TFormAdorn::ContentTabOrder() const
{
    return {&PageControl1(), &BmpButton(7), &BmpButton(8), &FolderTip(), &BmpButton(11),
            &BmpButton(12),  &BmpButton(5), &BmpButton(6)};
}

void TFormAdorn::ApplySkinColours()
{
    TFolderDialog::ApplySkinColours();
    // The previews' white card; the theme's window colour in a contrast theme.
    const TColor card = SkinColour(clWhite, clWindow);
    Component<TPanel>("Panel1").SetColor(card);
    Component<TPanel>("Panel2").SetColor(card);
    // The sample shows the folder's own colour, which a dark theme's face could swallow: in a
    // contrast theme it stands on white, as captions in a folder window do.
    Label1().SetTransparent(!HighContrastOn());
    Label1().SetColor(clWhite);
}

void TFormAdorn::ShowSettings(const TDTItem& item)
{
    PageControl1().SetActivePageIndex(0);
    // The icon is drawn on the card's colour (the theme's window colour in a contrast theme).
    Image1().Canvas().Brush().SetColor(SkinColour(clWhite, clWindow));
    FolderController().DrawIcon(Image1(), item.IconFile, StrToInt(item.IconIndex));
    iconDpi_ = Dpi();
    FolderTip().SetText(item.Infotip);
    // "0x00" and six hexadecimal digits: the digits are the colour value, red in the low byte.
    // A shorter text leaves no digits, and the conversion names the lone "$".
    const std::string digits = item.IconArea_Text.size() >= 5 ? item.IconArea_Text.substr(4, 6) : std::string();
    Label1().Font().SetColor(static_cast<TColor>(StrToInt("$" + digits)));
    // A drive root takes only an icon.
    const bool folder = !IsDriveRoot(WithBackslash(item.Path));
    for (int page = 1; page <= 3; ++page)
        PageControl1().Pages(page).SetTabVisible(folder);
    if (IsExistingFile(item.IconArea_Image))
        Image2().Picture().LoadFromFile(item.IconArea_Image);
}

void TFormAdorn::RedrawIcon()
{
    if (iconDpi_ == 0 || iconDpi_ == Dpi() || !TheFolderCtrl)
        return;
    iconDpi_ = Dpi();
    const TDTItem& current = TheFolderCtrl->Current;
    const std::optional<int> index = TryStrToInt(current.IconIndex);
    if (Image1().Visible() && index)
        TheFolderCtrl->DrawIcon(Image1(), current.IconFile, *index);
}

void TFormAdorn::FormShape1FormShow(TObject*)
{
    ShowBody();
}

void TFormAdorn::FormHide(TObject*)
{
    Image1().SetVisible(false);
    Image2().Picture().Clear();
}

void TFormAdorn::ActOKExecute(TObject*)
{
    ApplyFolder(FolderTip().Text());
}

void TFormAdorn::ActSelectIcoExecute(TObject*)
{
    FolderController().SelectIcon(&Image1());
    iconDpi_ = Dpi();
}

void TFormAdorn::ActClearIcoExecute(TObject*)
{
    FolderController().ClearIcon(Image1());
}

void TFormAdorn::ActSelectColorExecute(TObject*)
{
    FolderController().SelectTextColor(&Label1());
}

void TFormAdorn::ActClearColorExecute(TObject*)
{
    FolderController().ClearTextColor(&Label1());
}

void TFormAdorn::ActSelectPicExecute(TObject*)
{
    FolderController().SelectBackground(Image2());
}

void TFormAdorn::ActClearPicExecute(TObject*)
{
    FolderController().ClearBackground(Image2());
}
