#include "app/MainForm.h"

#include "app/FlashForm.h"
#include "app/ProductInfo.h"
#include "app/Startup.h"
#include "dialogs/Artwork.h"
#include "engine/FolderCtrl.h"
#include "skin/BmpButton.h"
#include "skin/FormShape.h"
#include "toolkit/Action.h"
#include "toolkit/ActionList.h"
#include "toolkit/Application.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Font.h"
#include "toolkit/FormLayout.h"
#include "toolkit/Label.h"
#include "toolkit/PopupMenu.h"

#include <string>
#include <utility>

namespace {

struct ButtonRow {
    const char* name;
    const char* action;
    const char* art; // bitmap resources <art>_UP, _HOT, _DOWN
    int left, top, width, height;
};
constexpr ButtonRow kButtons[] = {
    {"BmpButton1", "ActAdorn", "BTN_ADORN", 368, 192, 108, 38},
    {"BmpButton2", "ActPretend", "BTN_PRETEND", 368, 232, 108, 38},
    {"BmpButton3", "ActDefault", "BTN_DEFAULT", 368, 272, 108, 38},
    {"BmpButton4", "ActSysMinSize", "BTN_MIN", 408, 6, 31, 27},
    {"BmpButton5", "ActSysClose", "BTN_CLOSE", 441, 6, 31, 27},
    {"BmpButton6", "ActSysHomePage", "BTN_HOME", 258, 44, 48, 41},
    {"BmpButton7", "ActSysEmail", "BTN_EMAIL", 314, 44, 48, 41},
    {"BmpButton8", "ActSysHelp", "BTN_HELP", 370, 44, 48, 41},
    {"BmpButton9", "ActSysAbout", "BTN_ABOUT", 426, 44, 48, 41},
};
constexpr const char* kFolderActions[] = {"ActAdorn", "ActPretend", "ActDefault"};
constexpr const char* kSystemActions[] = {"ActSysMinSize", "ActSysClose", "ActSysHomePage",
                                          "ActSysEmail",   "ActSysHelp",  "ActSysAbout"};

HINSTANCE ProgramModule()
{
    return GetModuleHandleA(nullptr);
}

TFormLayout MainLayout()
{
    TFormLayout rows{
        Place<TFormShape>("FormShape1", 0, 0, 496, 377, {}, [](TFormShape& s) {
            s.Picture().SetGraphic(ArtBitmap("SKIN_MAIN"));
        }),
        Place<TLabel>("lblTitle", 88, 24, 30, 13, {}, [](TLabel& l) { l.SetVisible(false); }),
        Place<TCheckBox>("AlppeSubDirectory", 15, 314, 129, 17, {}, [](TCheckBox& c) { c.SetCaption("Apply to folder"); }),
    };
    for (const ButtonRow& b : kButtons)
        rows.push_back(Place<TBmpButton>(b.name, b.left, b.top, b.width, b.height, {},
                                         [art = b.art](TBmpButton& button) { LoadButtonArt(button, art); }));
    rows.push_back(Place<TPopupMenu>("PopupMenu1"));
    rows.push_back(Place<TActionList>("ActionList1"));
    rows.push_back(Place<TActionList>("ActionList2"));
    for (const char* name : kFolderActions)
        rows.push_back(Place<TAction>(name));
    for (const char* name : kSystemActions)
        rows.push_back(Place<TAction>(name));
    return rows;
}

TForm& Built(TForm& form)
{
    form.SetName("FrmMainForm");
    form.SetPosition(poDesktopCenter);
    form.Font().SetName("MS Sans Serif");
    form.Font().SetHeight(11);
    form.SetBounds(0, 0, 496, 377);
    BuildLayout(form, MainLayout());
    return form;
}

} // namespace

TFrmMainForm::TFrmMainForm()
    : FormShape1(Built(*this).Component<TFormShape>("FormShape1")), lblTitle(Component<TLabel>("lblTitle")),
      AlppeSubDirectory(Component<TCheckBox>("AlppeSubDirectory")), PopupMenu1(Component<TPopupMenu>("PopupMenu1")),
      ActAdorn(Component<TAction>("ActAdorn")), ActPretend(Component<TAction>("ActPretend")),
      ActDefault(Component<TAction>("ActDefault")), ActSysMinSize(Component<TAction>("ActSysMinSize")),
      ActSysClose(Component<TAction>("ActSysClose")), ActSysHomePage(Component<TAction>("ActSysHomePage")),
      ActSysEmail(Component<TAction>("ActSysEmail")), ActSysHelp(Component<TAction>("ActSysHelp")),
      ActSysAbout(Component<TAction>("ActSysAbout"))
{
    auto& folderActions = Component<TActionList>("ActionList1");
    auto& systemActions = Component<TActionList>("ActionList2");
    const auto bind = [](TAction& action, TActionList& list, void (TFrmMainForm::*handler)(TObject*), TFrmMainForm* self) {
        action.SetActionList(&list);
        action.OnExecute = [self, handler](TObject* sender) { (self->*handler)(sender); };
    };
    for (TAction* action : {&ActAdorn, &ActPretend, &ActDefault})
        action->SetActionList(&folderActions);
    bind(ActSysMinSize, systemActions, &TFrmMainForm::ActSysMinSizeExecute, this);
    bind(ActSysClose, systemActions, &TFrmMainForm::ActSysCloseExecute, this);
    bind(ActSysHomePage, systemActions, &TFrmMainForm::ActSysHomePageExecute, this);
    bind(ActSysEmail, systemActions, &TFrmMainForm::ActSysEmailExecute, this);
    bind(ActSysHelp, systemActions, &TFrmMainForm::ActSysHelpExecute, this);
    bind(ActSysAbout, systemActions, &TFrmMainForm::ActSysAboutExecute, this);
    for (const ButtonRow& b : kButtons)
        Component<TBmpButton>(b.name).SetAction(&Component<TAction>(b.action));

    AlppeSubDirectory.OnClick = [this](TObject* sender) { AlppeSubDirectoryClick(sender); };
    FormShape1.OnFormShow = [this](TObject* sender) { FormShow(sender); };
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
}

TFrmMainForm::~TFrmMainForm() = default;

void TFrmMainForm::HandleCreated()
{
    TForm::HandleCreated();
    // Shared icons of the module: the system frees them, not we.
    for (const auto& [kind, size] : {std::pair{ICON_BIG, 32}, std::pair{ICON_SMALL, 16}})
        if (HANDLE icon = LoadImageA(ProgramModule(), "MAINICON", IMAGE_ICON, size, size, LR_SHARED))
            SendMessageA(Handle(), WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
}

TBmpButton& TFrmMainForm::BmpButton(int number) const
{
    return Component<TBmpButton>("BmpButton" + std::to_string(number));
}

void TFrmMainForm::FormCreate(TObject*)
{
    TheFolderCtrl = std::make_unique<TFolderCtrl>(AlppeSubDirectory.Checked());
    CheckSidecarLibraries();
}

void TFrmMainForm::FormShow(TObject*)
{
    ShowSplash(*this);
    AlppeSubDirectory.SetColor(SkinBodyColor);
}

void TFrmMainForm::AlppeSubDirectoryClick(TObject*)
{
    if (TheFolderCtrl)
        TheFolderCtrl->SetApplyToSubfolders(AlppeSubDirectory.Checked());
}

void TFrmMainForm::ShowApplySetting()
{
    if (TheFolderCtrl && AlppeSubDirectory.Checked() != TheFolderCtrl->ApplyToSubfolders)
        AlppeSubDirectory.SetChecked(TheFolderCtrl->ApplyToSubfolders);
}

void TFrmMainForm::ActSysMinSizeExecute(TObject*)
{
    // This window, whichever window happens to be in the foreground.
    SendMessageA(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TFrmMainForm::ActSysCloseExecute(TObject*)
{
    Close();
}

void TFrmMainForm::ActSysHomePageExecute(TObject*)
{
    OpenHomePage(ProductInfo());
}

void TFrmMainForm::ActSysEmailExecute(TObject*)
{
    SendEmail(ProductInfo());
}

void TFrmMainForm::ActSysHelpExecute(TObject*)
{
    OpenHelp(ProductInfo());
}

void TFrmMainForm::ActSysAboutExecute(TObject*)
{
    ShowAbout(Handle(), ProductInfo());
}
