#include "dialogs/FolderDialog.h"

#include "dialogs/Artwork.h"
#include "dialogs/Progress.h"
#include "engine/FolderCtrl.h"
#include "skin/BmpButton.h"
#include "skin/HighContrastDrawing.h"
#include "skin/FormShape.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/controls/CheckBox.h"
#include "toolkit/core/CommandLine.h"
#include "toolkit/core/Exception.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/controls/Label.h"

#include <utility>

TFolderCtrl& FolderController()
{
    if (!TheFolderCtrl)
        throw Exception("The folder controller has not been created");
    return *TheFolderCtrl;
}

void ShowChecked(TCheckBox& box, bool checked)
{
    TNotifyEvent click = std::exchange(box.OnClick, nullptr);
    try {
        box.SetChecked(checked);
    } catch (...) {
        box.OnClick = std::move(click);
        throw;
    }
    box.OnClick = std::move(click);
}

TFolderDialog::TFolderDialog(const std::string& caption, int clientWidth, int clientHeight)
    : clientWidth_(clientWidth), clientHeight_(clientHeight)
{
    SetCaption(caption);
    // As declared; the skin then takes caption and frame away and cuts the outline.
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    SetPosition(poDesktopCenter);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(11);
}

TLayoutRow TFolderDialog::SkinRow(int clientWidth, int clientHeight)
{
    return Place<TFormShape>("FormShape1", 0, 0, clientWidth, clientHeight, {}, [this](TFormShape& shape) {
        WhenMade([this, &shape] { shape.ChangeSkin(ArtBitmapForDpi("SKIN_DIALOG", Dpi(), true)); });
    });
}

TLayoutRow TFolderDialog::CaptionRow(const std::string& caption)
{
    // The skin takes the caption bar away; the dialog's name stands on the skin's title strip.
    return Place<TLabel>("lblCaption", 44, 9, 300, 20, {}, [caption](TLabel& label) {
        label.SetCaption(caption);
        label.SetParentFont(false);
        label.Font().SetName("MS Sans Serif");
        label.Font().SetHeight(16);
        label.Font().SetBold(true);
        label.Font().SetColor(clWhite);
        label.SetTransparent(true);
    });
}

void TFolderDialog::AddChrome(TFormLayout& rows, const TChrome& chrome)
{
    auto button = [this](const char* art, TModalResult result, bool visible) {
        return [this, art, result, visible](TBmpButton& b) {
            WhenMade([this, &b, art] { LoadButtonArtForDpi(b, art, Dpi()); });
            b.SetModalResult(result);
            b.SetVisible(visible);
        };
    };
    rows.push_back(Place<TBmpButton>("BmpButton1", 261, 293, 108, 38, {}, button("BTN_OK", mrOk, true)));
    rows.push_back(Place<TBmpButton>("BmpButton2", 370, 293, 108, 38, {}, button("BTN_CANCEL", mrCancel, true)));
    rows.push_back(Place<TCheckBox>("AlppeSubDirectory", 16, chrome.BoxTop, 129, 17, {}, [](TCheckBox& box) {
        box.SetCaption("Apply to folder");
        box.SetAnchors(akLeft | akBottom);
        box.SetVisible(false);
        box.SetColor(DialogBodyColor);
    }));
    rows.push_back(Place<TBmpButton>("BmpButton9", chrome.MinimiseLeft, 6, 31, 27, {}, button("BTN_MIN", mrNone, false)));
    rows.push_back(
        Place<TBmpButton>("BmpButton10", chrome.MinimiseLeft + 33, 6, 31, 27, {}, button("BTN_CLOSE", mrCancel, true)));
}

void TFolderDialog::Finish(const TFormLayout& rows)
{
    BuildLayout(*this, rows);
    SetClientSize(clientWidth_, clientHeight_);
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    // A press on the caption moves the window, as a press anywhere else on the skin does.
    Component<TLabel>("lblCaption").OnMouseDown = [this](TObject*, TMouseButton button, TShiftState shift, int x,
                                                          int y) {
        auto& caption = Component<TLabel>("lblCaption");
        Component<TFormShape>("FormShape1").MouseDown(button, shift, x + caption.Left(), y + caption.Top());
    };
    AlppeSubDirectory().OnClick = [this](TObject* sender) { AlppeSubDirectoryClick(sender); };
    SetUpKeyboard();
}

void TFolderDialog::SetUpKeyboard()
{
    // The pictures show the words; the captions name the buttons.
    const std::pair<int, const char*> names[] = {{1, "OK"}, {2, "Cancel"}, {9, "Minimize"}, {10, "Close"}};
    for (const auto& [number, name] : names) {
        BmpButton(number).SetCaption(name);
        BmpButton(number).SetCaptionInPicture(true);
    }
    BmpButton(9).SetWindowGlyph(wgMinimize);
    BmpButton(10).SetWindowGlyph(wgClose);
    SetDefaultControl(&BmpButton(1));
    SetCancelControl(&BmpButton(2));
    std::vector<TWinControl*> order = ContentTabOrder();
    order.insert(order.end(), {&AlppeSubDirectory(), &BmpButton(1), &BmpButton(2), &BmpButton(10)});
    SetTabSequence(std::move(order));
}

void TFolderDialog::ApplySkinColours()
{
    const TColor body = SkinColour(DialogBodyColor, clBtnFace);
    SetColor(body);
    AlppeSubDirectory().SetColor(body);
    // The name stands on the skin's dark title strip; in a contrast theme on the face.
    Component<TLabel>("lblCaption").Font().SetColor(SkinColour(clWhite, clBtnText));
}

void TFolderDialog::SysColorChanged()
{
    TForm::SysColorChanged();
    ApplySkinColours();
    Invalidate();
}

TCheckBox& TFolderDialog::AlppeSubDirectory() const
{
    return Component<TCheckBox>("AlppeSubDirectory");
}

TBmpButton& TFolderDialog::BmpButton(int number) const
{
    return Component<TBmpButton>("BmpButton" + std::to_string(number));
}

void TFolderDialog::SetStandalone(bool standalone)
{
    if (HandleAllocated())
        throw Exception("The dialog's window exists already");
    standalone_ = standalone;
}

void TFolderDialog::CreateParams(TCreateParams& params)
{
    TForm::CreateParams(params);
    if (standalone_) {
        params.WndParent = nullptr;
        params.ExStyle |= WS_EX_APPWINDOW;
    }
}

void TFolderDialog::WhenMade(std::function<void()> loadPicture)
{
    WhenScaled(std::move(loadPicture));
}

void TFolderDialog::FormCreate(TObject*)
{
    if (ParamCount() >= 2)
        AlppeSubDirectory().SetVisible(true);
}

void TFolderDialog::AlppeSubDirectoryClick(TObject*)
{
    FolderController().SetApplyToSubfolders(AlppeSubDirectory().Checked());
}

void TFolderDialog::ShowBody()
{
    ApplySkinColours();
    // What the box shows is what OK will do, whoever set the controller last.
    if (TheFolderCtrl)
        ShowChecked(AlppeSubDirectory(), TheFolderCtrl->ApplyToSubfolders);
}

void TFolderDialog::ApplyFolder(const std::string& infotip)
{
    TFolderCtrl& ctrl = FolderController();
    RunWithProgress(ctrl, [&] { ctrl.ApplySettings(infotip); });
}
