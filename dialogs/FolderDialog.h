#pragma once
// What the Pretend Folder and Adorn Folder dialogs share: the dialog skin with its window
// glyphs, OK and Cancel, the "Apply to folder" box, the body's font and colour, and the way OK
// writes the folder. Neither dialog keeps state of its own: every choice goes straight to
// TheFolderCtrl.
//
// By keyboard: Enter is OK (but in the multi-line tip), Esc is Cancel, Tab and Shift+Tab go
// through the controls in reading order (the title-bar button last, as in the main window).
// Every button is named for screen readers; in a contrast theme the dialog takes the system's
// colours.
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"

#include <functional>
#include <string>
#include <vector>

class TBmpButton;
class TCheckBox;
class TFolderCtrl;

// The skin's body grey: the dialogs and the controls that sit on the body take it.
inline constexpr TColor DialogBodyColor = RGBColor(222, 222, 222);

// The one controller; an Exception when the program has not made it.
TFolderCtrl& FolderController();

// Sets a check box without running its click handler: showing a state is not choosing it.
void ShowChecked(TCheckBox& box, bool checked);

class TFolderDialog : public TForm {
public:
    // With a verb and a folder on the command line (a start from Explorer) the dialog offers
    // its own "Apply to folder" box; otherwise the main window's box governs.
    void FormCreate(TObject* sender);
    void AlppeSubDirectoryClick(TObject* sender);

    TCheckBox& AlppeSubDirectory() const;
    TBmpButton& BmpButton(int number) const;

    // A dialog that no window of the program owns (a start from Explorer, where the dialog is
    // all the user sees): a task bar button of its own with the program's icon. Set before the
    // window is made.
    void SetStandalone(bool standalone);
    bool Standalone() const noexcept { return standalone_; }

protected:
    // Where the parts differ between the dialogs.
    struct TChrome {
        int BoxTop;       // "Apply to folder"
        int MinimiseLeft; // the hidden minimise glyph; the close glyph follows 33 pixels on
    };
    TFolderDialog(const std::string& caption, int clientWidth, int clientHeight);

    // The skin, first of every layout: everything else sits over it.
    TLayoutRow SkinRow(int clientWidth, int clientHeight);
    // The dialog's name on the skin's title strip, right after the skin.
    static TLayoutRow CaptionRow(const std::string& caption);
    // OK, Cancel, the box and the two glyphs, after the dialog's own rows.
    void AddChrome(TFormLayout& rows, const TChrome& chrome);
    // Reads a picture of the program into the dialog when its window is first made, at the
    // window's scale, and again whenever the scale changes: a dialog that is never shown (the
    // two a window start makes) holds none of them.
    void WhenMade(std::function<void()> loadPicture);
    // Ends the layout: the table's components, the client size, the handlers.
    void Finish(const TFormLayout& rows);

    // Every show: the body colour, and the box shows what the controller will do.
    void ShowBody();
    // The order Tab visits the dialog's own controls in, before the box, OK, Cancel and close.
    virtual std::vector<TWinControl*> ContentTabOrder() const = 0;
    // The skin's colours, or the system's in a contrast theme; again when the theme changes.
    virtual void ApplySkinColours();
    void SysColorChanged() override;
    // Writes the folder with this info tip, with a progress window when it takes long.
    static void ApplyFolder(const std::string& infotip);

    void CreateParams(TCreateParams& params) override;

private:
    // Names, Enter and Esc, and the tab order, once the layout is built.
    void SetUpKeyboard();

    int clientWidth_, clientHeight_;
    bool standalone_ = false;
};
