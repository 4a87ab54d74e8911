#pragma once
// The Pretend Folder dialog: one radio button per disguise target, each click handed straight
// to the controller; OK writes the folder with an empty info tip.
#include "dialogs/FolderDialog.h"

class TRadioButton;

class TFormPretend : public TFolderDialog {
public:
    TFormPretend();

    // Checks the button of the folder's current disguise (none for no or an unknown one).
    void FormShape1FormShow(TObject* sender);
    // RadioButton1Click .. RadioButton8Click: `index` 0 .. 7.
    void RadioButtonClick(int index);
    void RadioButton1Click(TObject*) { RadioButtonClick(0); }
    void RadioButton2Click(TObject*) { RadioButtonClick(1); }
    void RadioButton3Click(TObject*) { RadioButtonClick(2); }
    void RadioButton4Click(TObject*) { RadioButtonClick(3); }
    void RadioButton5Click(TObject*) { RadioButtonClick(4); }
    void RadioButton6Click(TObject*) { RadioButtonClick(5); }
    void RadioButton7Click(TObject*) { RadioButtonClick(6); }
    void RadioButton8Click(TObject*) { RadioButtonClick(7); }
    void BmpButton1Click(TObject* sender);

    // RadioButton1 .. RadioButton8.
    TRadioButton& RadioButton(int number) const;

protected:
    // The eight targets are one stop, whose arrow keys move the choice.
    std::vector<TWinControl*> ContentTabOrder() const override;
    void ApplySkinColours() override;
};
