#include "app/FlashForm.h"

#include "app/ProductInfo.h"
#include "dialogs/Artwork.h"
#include "skin/KeyedPicture.h"
#include "toolkit/core/Application.h"
#include "toolkit/controls/FormLayout.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/controls/Image.h"
#include "toolkit/graphics/JpegImage.h"
#include "toolkit/controls/Label.h"
#include "toolkit/core/Timer.h"

#include <atomic>

namespace {
std::atomic<unsigned> tickInterval{1000};

TFormLayout FlashLayout()
{
    return {
        Place<TImage>("ImgFlash", 0, 0, 351, 188, {}, [](TImage& i) { i.SetAutoSize(true); }),
        Place<TTimer>("Timer1", [](TTimer& t) {
            t.SetEnabled(false);
            t.SetInterval(250);
        }),
        Place<TTimer>("Timer2", [](TTimer& t) {
            t.SetEnabled(false);
            t.SetInterval(tickInterval);
        }),
    };
}

TForm& Built(TForm& form)
{
    form.SetBorderStyle(bsNone);
    form.SetPosition(poDesktopCenter);
    form.SetBounds(0, 0, 351, 188);
    BuildLayout(form, FlashLayout());
    return form;
}
} // namespace

TFrmFlashForm::TFrmFlashForm(TForm& mainForm)
    : ImgFlash(Built(*this).Component<TImage>("ImgFlash")), Timer1(Component<TTimer>("Timer1")),
      Timer2(Component<TTimer>("Timer2")), ApplyStep(&ApplyProductInfo), mainForm_(mainForm)
{
    SetName("FrmFlashForm");
    OnShow = [this](TObject* sender) { FormShow(sender); };
    Timer1.SetOnTimer([this](TObject* sender) { Timer1Timer(sender); });
    Timer2.SetOnTimer([this](TObject* sender) { Timer2Timer(sender); });
    // Every key, Tab and Esc included, before the form's own keys; Alt comes as a key down.
    OnShortCut = [this](WORD, TShiftState) {
        Dismiss();
        return true;
    };
    OnKeyDown = [this](TObject*, WORD&, TShiftState) { Dismiss(); };
    const TMouseEvent click = [this](TObject*, TMouseButton, TShiftState, int, int) { Dismiss(); };
    OnMouseDown = click;
    ImgFlash.OnMouseDown = click;
}

void TFrmFlashForm::Dismiss()
{
    dismissed_ = true;
    // Before the first tick the product information is applied now; after it, the wait of
    // that tick ends.
    if (Timer1.Enabled())
        Timer1Timer(&Timer1);
}

void TFrmFlashForm::SetTickInterval(unsigned milliseconds) noexcept
{
    tickInterval = milliseconds;
}

void TFrmFlashForm::FormShow(TObject*)
{
    Timer1.SetEnabled(true);
    Timer2.SetEnabled(true);
    Ticks = 0;
}

void TFrmFlashForm::Timer2Timer(TObject*)
{
    ++Ticks;
}

void TFrmFlashForm::Timer1Timer(TObject*)
{
    Timer1.SetEnabled(false);
    try {
        if (ApplyStep)
            ApplyStep(mainForm_);
        if (BehindStep)
            BehindStep();
        // Waits for the next message each time round instead of polling: the timers keep
        // coming, and so do painting and input.
        while (Ticks < 2 && !dismissed_ && !Application.Terminated())
            Application.HandleMessage();
    } catch (...) {
        Close();
        throw;
    }
    Close();
}

void ApplyProductInfo(TForm& mainForm)
{
    Application.ProcessMessages();
    TProductInfo& info = ProductInfo();
    LoadProductStrings(info);
    info.AppDirectory = ProgramDirectory();
    const std::string title = info.ProductName + " " + info.TitleSuffix;
    mainForm.SetCaption(title);
    if (auto* label = dynamic_cast<TLabel*>(mainForm.FindComponent("lblTitle")))
        label->SetCaption(title);
}

void ShowSplash(TForm& mainForm, std::function<void()> behind)
{
    auto splash = MakeForm<TFrmFlashForm>(mainForm);
    splash->BehindStep = std::move(behind);
    // The display's scale is known once the window exists: the picture drawn for the scale at
    // or above it, or the 96-DPI one from a library that has no other.
    splash->HandleNeeded();
    const int dpi = splash->Dpi();
    const int set = ArtScaleFor(ScalePercentForDpi(dpi));
    std::vector<std::string> names{SplashResourceName};
    if (set != kArtScales.front())
        names.insert(names.begin(), std::string(SplashResourceName) + "_" + std::to_string(set));
    std::size_t found = 0;
    // The picture's bytes are a copy: nothing of the library is used after it was released.
    const TBytes bytes =
        ReadLibraryResource(SidecarPath(ProductInfo(), ProductLibraryName), names, SplashResourceType, found);
    auto picture = std::make_unique<TJPEGImage>();
    picture->LoadFromStream(bytes);
    // Exactly the 96-DPI picture's size at this DPI; a larger set is made smaller to it.
    const int drawnFor = found + 1 < names.size() ? set : kArtScales.front();
    const int width = ScaledToDpi(MulDivRounded(picture->Width(), 100, drawnFor), dpi);
    const int height = ScaledToDpi(MulDivRounded(picture->Height(), 100, drawnFor), dpi);
    if (width != picture->Width() || height != picture->Height())
        splash->ImgFlash.Picture().SetGraphic(ResizedSmooth(picture->Bitmap(), width, height));
    else
        splash->ImgFlash.Picture().SetGraphic(std::move(picture));
    splash->ImgFlash.SetBounds(0, 0, splash->ImgFlash.Width(), splash->ImgFlash.Height());
    splash->SetBounds(splash->Left(), splash->Top(), splash->ImgFlash.Width(), splash->ImgFlash.Height());
    splash->ShowModal();
}
