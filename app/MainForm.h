#pragma once
// The main window: the skin cut to its outline, the shell folder tree, the "Apply to folder"
// box, the three folder buttons (Adorn, Pretend, Default), the window's own minimise and close
// buttons and the four product links. A start from Explorer makes none of it.
#include "toolkit/controls/Form.h"

#include <string>

class TAction;
class TActionList;
class TBmpButton;
class TCheckBox;
class TTreeNode;
class TFormShape;
class TLabel;
class TPopupMenu;
class TShellTreeView;

class TFrmMainForm : public TForm {
public:
    // Without `checkLibraries` its creation leaves out the check of the sidecar libraries, as
    // after a start from Explorer that ended in an error.
    explicit TFrmMainForm(bool checkLibraries = true);
    ~TFrmMainForm() override;

    TFormShape& FormShape1;
    TLabel& lblTitle;
    TShellTreeView& ShellTreeView1;
    TCheckBox& AlppeSubDirectory;
    TPopupMenu& PopupMenu1;
    TAction& ActAdorn;
    TAction& ActPretend;
    TAction& ActDefault;
    TAction& ActSysMinSize;
    TAction& ActSysClose;
    TAction& ActSysHomePage;
    TAction& ActSysEmail;
    TAction& ActSysHelp;
    TAction& ActSysAbout;
    // BmpButton1 to BmpButton9, in the order of the layout.
    TBmpButton& BmpButton(int number) const;

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void AlppeSubDirectoryClick(TObject* sender);
    void ShellTreeView1Editing(TObject* sender, TTreeNode* node, bool& allowEdit);
    void ActAdornExecute(TObject* sender);
    void ActPretendExecute(TObject* sender);
    void ActDefaultExecute(TObject* sender);
    void ActSysMinSizeExecute(TObject* sender);
    void ActSysCloseExecute(TObject* sender);
    void ActSysHomePageExecute(TObject* sender);
    void ActSysEmailExecute(TObject* sender);
    void ActSysHelpExecute(TObject* sender);
    void ActSysAboutExecute(TObject* sender);

private:
    bool checkLibraries_;
    // The first steps of every folder action: the selected folder loaded into the controller;
    // false when nothing (or the desktop, or no file-system place) is selected.
    bool SelectFolder();
    // The selected folder's parent read again from the shell, so its new look shows.
    void RefreshTree();
    // The box shows the controller's setting, which a dialog's own box may have changed.
    void ShowApplySetting();
    // Names for the buttons, Alt+A, Alt+P and Alt+D, F1 and the tab order.
    void SetUpKeyboard();
    // The skin's colours, or the system's in a contrast theme.
    void ApplySkinColours();

protected:
    void SysColorChanged() override;
};

// The grey of the skin's body, behind the tree and the check box.
inline constexpr unsigned SkinBodyColor = 0x00DEDEDE;
