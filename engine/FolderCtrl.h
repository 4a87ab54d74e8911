#pragma once
// Holds the customisation of the one folder or drive root the user works on: loads it, lets
// the dialogs change it field by field, writes it back (to every subfolder on request) and
// restores folders to the shell's defaults.
#include "engine/DTItem.h"

#include <memory>
#include <string>

class TImage;
class TLabel;

class TFolderCtrl {
public:
    // Registers the Explorer verbs, as on every start of the program.
    explicit TFolderCtrl(bool applyToSubfolders);

    TDTItem Current;
    bool ApplyToSubfolders;

    // Reads the folder's settings file, or the drive key for a drive root ("C:\").
    TDTItem LoadSettings(const std::string& path);
    // Writes Current with the given info tip: 0 when written, -1 when nothing is loaded.
    // Raises the write errors of the settings file or the drive key.
    int ApplySettings(const std::string& infotip);
    // Removes the settings (and, with ApplyToSubfolders, those of every folder below).
    bool RestoreDefault();
    void SetApplyToSubfolders(bool value) { ApplyToSubfolders = value; }

    void SetDisguiseIndex(int index);
    int GetDisguiseIndex() const;

    // The adornment dialog's operations. Each changes one field of Current and the preview
    // control it is given; nothing reaches the disk before ApplySettings.
    void SelectIcon(TImage* image);
    void ClearIcon(TImage& image);
    void SelectTextColor(TLabel* label);
    void ClearTextColor(TLabel* label);
    void SelectBackground(TImage& image);
    void ClearBackground(TImage& image);
    // Draws icon `iconIndex` of `iconFile` centred in the control at its natural size; an
    // ".ico" file is loaded directly. No icon found: the control stays exactly as it was.
    void DrawIcon(TImage& image, const std::string& iconFile, int iconIndex);

private:
    void PropagateToSubfolders() const;
};

// The one controller of the program; the main window creates it.
inline std::unique_ptr<TFolderCtrl> TheFolderCtrl;
