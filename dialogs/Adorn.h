#pragma once
// The Adorn Folder dialog: four pages (icon, info tip, caption colour, background picture)
// whose Select and Clear buttons change one field of the controller's current folder each;
// OK writes the folder with the tip typed on the Tip page. The main window fills the pages
// from the folder's settings before it shows the dialog.
#include "dialogs/FolderDialog.h"

class TAction;
class TImage;
class TLabel;
class TMemo;
class TPageControl;

class TFormAdorn : public TFolderDialog {
public:
    TFormAdorn();

    void FormShape1FormShow(TObject* sender);
    void FormHide(TObject* sender);
    void ActOKExecute(TObject* sender);
    void ActSelectIcoExecute(TObject* sender);
    void ActClearIcoExecute(TObject* sender);
    void ActSelectColorExecute(TObject* sender);
    void ActClearColorExecute(TObject* sender);
    void ActSelectPicExecute(TObject* sender);
    void ActClearPicExecute(TObject* sender);

    TPageControl& PageControl1() const;
    TImage& Image1() const;  // icon preview
    TMemo& FolderTip() const;
    TLabel& Label1() const;  // caption colour sample
    TImage& Image2() const;  // background preview
};
