#include "dialogs/Pretend.h"

#include "dialogs/Artwork.h"
#include "engine/DisguiseTargets.h"
#include "engine/FolderCtrl.h"
#include "skin/BmpButton.h"
#include "skin/FormShape.h"
#include "skin/HighContrastDrawing.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/PageControl.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/controls/RadioButton.h"
#include "toolkit/controls/TabSheet.h"
#include "toolkit/graphics/HighContrast.h"

namespace {
constexpr int kClientWidth = 487, kClientHeight = 343;

// The targets stand in a grid of three columns inside the white panel; each radio button sits
// 37 pixels below its icon. The last column is narrower: the panel ends at 445.
constexpr int kColumnLeft[] = {24, 180, 326};
constexpr int kColumnWidth[] = {150, 140, 117};
constexpr int kRowTop[] = {11, 83, 155};
constexpr int kIconSize = 36, kRadioDrop = 37, kRadioHeight = 17;
} // namespace

TFormPretend::TFormPretend() : TFolderDialog("Pretend Folder", kClientWidth, kClientHeight)
{
    TFormLayout rows{
        SkinRow(kClientWidth, kClientHeight),
        CaptionRow(Caption()),
        Place<TPageControl>("PageControl1", 15, 40, 462, 252),
        Place<TTabSheet>("TabSheet1", "PageControl1", [](TTabSheet& sheet) { sheet.SetTabVisible(false); }),
        Place<TPanel>("Panel2", 4, 4, 447, 233, "TabSheet1", [](TPanel& panel) {
            panel.SetBorderStyle(bsSingle);
            panel.SetBevelOuter(bvNone);
            panel.SetColor(clWhite);
        }),
        Place<TImage>("Image9", 0, 0, 443, 229, "Panel2", [](TImage& image) {
            image.SetAlign(alClient);
            image.SetStretch(true);
            image.Picture().Bitmap().SetSize(1, 1); // a new bitmap is white
        }),
    };
    for (const TDisguiseTarget& target : DisguiseTargets) {
        const int column = target.Index % 3, row = target.Index / 3;
        const int left = kColumnLeft[column], top = kRowTop[row];
        rows.push_back(Place<TImage>("Image" + std::to_string(target.Index + 1), left, top, kIconSize, kIconSize,
                                     "Panel2", [this, index = target.Index](TImage& image) {
                                         WhenMade([this, &image, index] {
                                             image.Picture().SetGraphic(ArtBitmapForDpi(
                                                 "TARGET_" + std::to_string(index), Dpi(), false));
                                         });
                                     }));
    }
    for (const TDisguiseTarget& target : DisguiseTargets) {
        const int column = target.Index % 3, row = target.Index / 3;
        rows.push_back(Place<TRadioButton>(target.RadioButton, kColumnLeft[column], kRowTop[row] + kRadioDrop,
                                           kColumnWidth[column], kRadioHeight, "Panel2",
                                           [this, &target](TRadioButton& radio) {
                                               radio.SetCaption(target.Caption);
                                               radio.SetColor(clWhite);
                                               radio.OnClick = [this, index = target.Index](TObject*) {
                                                   RadioButtonClick(index);
                                               };
                                           }));
    }
    AddChrome(rows, {310, 410});
    Finish(rows);
    Component<TFormShape>("FormShape1").OnFormShow = [this](TObject* sender) { FormShape1FormShow(sender); };
    BmpButton(1).OnClick = [this](TObject* sender) { BmpButton1Click(sender); };
}

TRadioButton& TFormPretend::RadioButton(int number) const
{
    return Component<TRadioButton>("RadioButton" + std::to_string(number));
}

std::vector<TWinControl*> TFormPretend::ContentTabOrder() const
{
    return {&RadioButton(1)};
}

void TFormPretend::ApplySkinColours()
{
    TFolderDialog::ApplySkinColours();
    // The white card the targets stand on; the theme's window colour in a contrast theme.
    const TColor card = SkinColour(clWhite, clWindow);
    Component<TPanel>("Panel2").SetColor(card);
    Component<TImage>("Image9").SetVisible(!HighContrastOn());
    for (int number = 1; number <= static_cast<int>(DisguiseTargets.size()); ++number)
        RadioButton(number).SetColor(card);
}

void TFormPretend::FormShape1FormShow(TObject*)
{
    ShowBody();
    const int index = FolderController().GetDisguiseIndex();
    for (int number = 1; number <= static_cast<int>(DisguiseTargets.size()); ++number)
        RadioButton(number).SetChecked(number == index + 1);
}

void TFormPretend::RadioButtonClick(int index)
{
    if (RadioButton(index + 1).Checked())
        FolderController().SetDisguiseIndex(index);
}

void TFormPretend::BmpButton1Click(TObject*)
{
    ApplyFolder("");
}
