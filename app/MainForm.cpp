#include "app/MainForm.h"

#include "app/FlashForm.h"
#include "app/FolderActions.h"
#include "app/ProductInfo.h"
#include "app/Startup.h"
#include "dialogs/Artwork.h"
#include "engine/FolderCtrl.h"
#include "shelltree/ShellTreeView.h"
#include "skin/BmpButton.h"
#include "skin/FormShape.h"
#include "skin/HighContrastDrawing.h"
#include "toolkit/core/Action.h"
#include "toolkit/core/ActionList.h"
#include "toolkit/core/Application.h"
#include "toolkit/controls/CheckBox.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/HighContrast.h"
#include "toolkit/controls/FormLayout.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/PopupMenu.h"

#include <string>

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

// The skin and the buttons' pictures are read when the window is made, for its display's
// scale, and again whenever it moves to a display of another.
TFormLayout MainLayout(TForm& form)
{
    TFormLayout rows{
        Place<TFormShape>("FormShape1", 0, 0, 496, 377, {}, [&form](TFormShape& s) {
            form.WhenScaled([&form, &s] { s.ChangeSkin(ArtBitmapForDpi("SKIN_MAIN", form.Dpi(), true)); });
        }),
        Place<TLabel>("lblTitle", 88, 24, 30, 13, {}, [](TLabel& l) { l.SetVisible(false); }),
        Place<TShellTreeView>("ShellTreeView1", 12, 92, 353, 219, {}, [](TShellTreeView& t) {
            t.SetObjectTypes(TShellObjectTypes{otFolders});
            t.SetRoot("rfDesktop");
            t.SetUseShellImages(true);
            t.SetAutoRefresh(false);
            t.SetShowRoot(false);
            t.SetHideSelection(false);
            t.SetIndent(19);
            t.SetRightClickSelect(true);
            t.SetChangeDelay(-1);
        }),
        Place<TCheckBox>("AlppeSubDirectory", 15, 314, 129, 17, {}, [](TCheckBox& c) { c.SetCaption("Apply to folder"); }),
    };
    for (const ButtonRow& b : kButtons)
        rows.push_back(Place<TBmpButton>(b.name, b.left, b.top, b.width, b.height, {},
                                         [&form, art = b.art](TBmpButton& button) {
                                             form.WhenScaled([&form, &button, art] {
                                                 LoadButtonArtForDpi(button, art, form.Dpi());
                                             });
                                         }));
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
    BuildLayout(form, MainLayout(form));
    return form;
}

} // namespace

TFrmMainForm::TFrmMainForm(bool checkLibraries)
    : FormShape1(Built(*this).Component<TFormShape>("FormShape1")), lblTitle(Component<TLabel>("lblTitle")),
      ShellTreeView1(Component<TShellTreeView>("ShellTreeView1")),
      AlppeSubDirectory(Component<TCheckBox>("AlppeSubDirectory")), PopupMenu1(Component<TPopupMenu>("PopupMenu1")),
      ActAdorn(Component<TAction>("ActAdorn")), ActPretend(Component<TAction>("ActPretend")),
      ActDefault(Component<TAction>("ActDefault")), ActSysMinSize(Component<TAction>("ActSysMinSize")),
      ActSysClose(Component<TAction>("ActSysClose")), ActSysHomePage(Component<TAction>("ActSysHomePage")),
      ActSysEmail(Component<TAction>("ActSysEmail")), ActSysHelp(Component<TAction>("ActSysHelp")),
      ActSysAbout(Component<TAction>("ActSysAbout")), checkLibraries_(checkLibraries)
{
    auto& folderActions = Component<TActionList>("ActionList1");
    auto& systemActions = Component<TActionList>("ActionList2");
    const auto bind = [](TAction& action, TActionList& list, void (TFrmMainForm::*handler)(TObject*), TFrmMainForm* self) {
        action.SetActionList(&list);
        action.OnExecute = [self, handler](TObject* sender) { (self->*handler)(sender); };
    };
    bind(ActAdorn, folderActions, &TFrmMainForm::ActAdornExecute, this);
    bind(ActPretend, folderActions, &TFrmMainForm::ActPretendExecute, this);
    bind(ActDefault, folderActions, &TFrmMainForm::ActDefaultExecute, this);
    bind(ActSysMinSize, systemActions, &TFrmMainForm::ActSysMinSizeExecute, this);
    bind(ActSysClose, systemActions, &TFrmMainForm::ActSysCloseExecute, this);
    bind(ActSysHomePage, systemActions, &TFrmMainForm::ActSysHomePageExecute, this);
    bind(ActSysEmail, systemActions, &TFrmMainForm::ActSysEmailExecute, this);
    bind(ActSysHelp, systemActions, &TFrmMainForm::ActSysHelpExecute, this);
    bind(ActSysAbout, systemActions, &TFrmMainForm::ActSysAboutExecute, this);
    for (const ButtonRow& b : kButtons)
        Component<TBmpButton>(b.name).SetAction(&Component<TAction>(b.action));

    // The empty menu takes every right click: the shell's context menu is never offered.
    ShellTreeView1.SetPopupMenu(&PopupMenu1);
    ShellTreeView1.OnEditing = [this](TObject* sender, TTreeNode* node, bool& allow) {
        ShellTreeView1Editing(sender, node, allow);
    };
    AlppeSubDirectory.OnClick = [this](TObject* sender) { AlppeSubDirectoryClick(sender); };
    FormShape1.OnFormShow = [this](TObject* sender) { FormShow(sender); };
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    SetUpKeyboard();
    // Made behind the splash, which the window's showing brings up first.
    SetChildWindowsLater(true);
}

void TFrmMainForm::SetUpKeyboard()
{
    // The window is never nameless for a screen reader, also before the product strings
    // give it its title.
    SetCaption(Application.Title());
    // The pictures show the words and symbols; the captions name the buttons, and the first
    // three carry their access keys.
    const char* const names[] = {"&Adorn", "&Pretend", "&Default", "Minimize", "Close",
                                 "Home page", "E-mail", "Help", "About"};
    for (int number = 1; number <= 9; ++number) {
        BmpButton(number).SetCaption(names[number - 1]);
        BmpButton(number).SetCaptionInPicture(true);
    }
    BmpButton(4).SetWindowGlyph(wgMinimize);
    BmpButton(5).SetWindowGlyph(wgClose);
    // The tree, the box, the three actions, the round buttons, then the title-bar buttons.
    SetTabSequence({&ShellTreeView1, &AlppeSubDirectory, &BmpButton(1), &BmpButton(2), &BmpButton(3), &BmpButton(6),
                    &BmpButton(7), &BmpButton(8), &BmpButton(9), &BmpButton(4), &BmpButton(5)});
    OnShortCut = [this](WORD key, TShiftState shift) {
        if (key != VK_F1 || shift != 0)
            return false;
        ActSysHelp.Execute();
        return true;
    };
}

void TFrmMainForm::ApplySkinColours()
{
    AlppeSubDirectory.SetColor(SkinColour(SkinBodyColor, clBtnFace));
    // The skin's banner carries the welcome and the logo; in a contrast theme, where the skin
    // gives way to plain colours, the window's title stands at its top left as text.
    const bool contrast = HighContrastOn();
    lblTitle.SetVisible(contrast);
    if (!contrast)
        return;
    lblTitle.SetParentFont(false);
    lblTitle.SetTransparent(true);
    lblTitle.Font().SetName("MS Sans Serif");
    lblTitle.Font().SetHeight(16);
    lblTitle.Font().SetBold(true);
    lblTitle.Font().SetColor(clBtnText);
    TBitmap measure(1, 1);
    measure.Canvas().Font().Assign(lblTitle.Font());
    const SIZE text = measure.Canvas().TextExtent(lblTitle.Caption());
    constexpr int kTitleLeft = 16, kTitleTop = 12;
    lblTitle.SetBounds(kTitleLeft, kTitleTop, text.cx + 2, text.cy);
}

void TFrmMainForm::SysColorChanged()
{
    TForm::SysColorChanged();
    ApplySkinColours();
    Invalidate();
}

TFrmMainForm::~TFrmMainForm() = default;



TBmpButton& TFrmMainForm::BmpButton(int number) const
{
    return Component<TBmpButton>("BmpButton" + std::to_string(number));
}

void TFrmMainForm::FormCreate(TObject*)
{
    if (!TheFolderCtrl)
        TheFolderCtrl = std::make_unique<TFolderCtrl>(AlppeSubDirectory.Checked());
    ShowApplySetting();
    if (checkLibraries_)
        CheckSidecarLibraries();
}

void TFrmMainForm::FormShow(TObject*)
{
    // The controls, which only the shown window needs, are made while the splash is up (and
    // else when the window shows).
    ShowSplash(*this, [this] { CreateChildWindows(); });
    ApplySkinColours();
}

void TFrmMainForm::AlppeSubDirectoryClick(TObject*)
{
    if (TheFolderCtrl)
        TheFolderCtrl->SetApplyToSubfolders(AlppeSubDirectory.Checked());
}

void TFrmMainForm::ShellTreeView1Editing(TObject*, TTreeNode*, bool& allowEdit)
{
    allowEdit = false; // folders are not renamed here
}

bool TFrmMainForm::SelectFolder()
{
    const std::string path = ShellTreeView1.SelectedPath();
    if (path.empty())
        return false;
    if (ShellTreeView1.Selected() == ShellTreeView1.Items().GetFirstNode())
        return false; // the desktop
    // A name this system's code page cannot carry comes with a "?" in it.
    if (HoldsWildcard(path))
        RefusePath(path);
    TheFolderCtrl->LoadSettings(path);
    // A shell object outside the file system (My Computer) comes by its display name, which
    // names no folder: the controller loads nothing, and the action does nothing.
    return !TheFolderCtrl->Current.Path.empty();
}

void TFrmMainForm::RefreshTree()
{
    TTreeNode* selected = ShellTreeView1.Selected();
    if (!selected) {
        if (TTreeNode* first = ShellTreeView1.Items().GetFirstNode())
            ShellTreeView1.RebuildNode(*first);
    } else if (TTreeNode* parent = selected->Parent()) {
        ShellTreeView1.RebuildNode(*parent);
    }
}

void TFrmMainForm::ActAdornExecute(TObject*)
{
    if (!SelectFolder())
        return;
    const bool changed = AdornLoadedFolder(TDialogPlace::Owned);
    ShowApplySetting();
    if (changed)
        RefreshTree();
}

void TFrmMainForm::ActPretendExecute(TObject*)
{
    if (!SelectFolder())
        return;
    const bool changed = PretendLoadedFolder(TDialogPlace::Owned);
    ShowApplySetting();
    if (changed)
        RefreshTree();
}

void TFrmMainForm::ActDefaultExecute(TObject*)
{
    if (SelectFolder() && DefaultLoadedFolder())
        RefreshTree();
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
