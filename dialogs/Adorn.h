#pragma once
// The Adorn Folder dialog: four pages (icon, info tip, caption colour, background picture)
// whose Select and Clear buttons change one field of the controller's current folder each;
// OK writes the folder with the tip typed on the Tip page. Whoever opens it (the main window,
// a start from Explorer) fills the pages from the folder's settings with ShowSettings first.
#include "dialogs/FolderDialog.h"
#include "engine/DTItem.h"

class TAction;
class TImage;
class TLabel;
class TMemo;
class TPageControl;

class TFormAdorn : public TFolderDialog {
public:
    TFormAdorn();

    // The pages as the loaded settings of the folder or drive root `item` say: the "Icon" page
    // in front with the icon drawn, the tip, the sample in the caption colour, the background
    // picture when its file exists; a drive root offers only the "Icon" page. Raises the
    // conversion error of a bad IconIndex or colour, and the error of a picture file of an
    // unknown kind; the dialog is then not to be shown.
    void ShowSettings(const TDTItem& item);

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

protected:
    // The tabs, then each page's controls (only the shown page's are reached).
    std::vector<TWinControl*> ContentTabOrder() const override;
    void ApplySkinColours() override;

private:
    // The icon of the current settings drawn into the preview again when the preview's scale
    // is not the one it was drawn at.
    void RedrawIcon();
    int iconDpi_ = 0; // the scale the preview was drawn at (0: not drawn)
};
