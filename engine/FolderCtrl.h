#pragma once
// Holds the customisation of the one folder or drive root the user works on: loads it, lets
// the dialogs change it field by field, writes it back (to every subfolder on request) and
// restores folders to the shell's defaults.
#include "engine/DTItem.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

class TImage;
class TLabel;

// Reports a walk over subfolders: once with `done` 0 when the list is built (`folder` is then
// the chosen folder), then after each subfolder is finished, in list order.
using TProgressEvent = std::function<void(std::size_t done, std::size_t total, const std::string& folder)>;

class TFolderCtrl {
public:
    // Registers the Explorer verbs, as on every start of the program.
    explicit TFolderCtrl(bool applyToSubfolders);

    TDTItem Current;
    bool ApplyToSubfolders;
    // Called while ApplySettings and RestoreDefault work through subfolders; empty: no reports.
    // An EWorkStopped it throws (the user stopped the work) ends the walk there: the folders
    // finished before it stay finished, the rest are untouched, the shell is told, and then
    // EFoldersNotChanged says how many were changed, which could not be and how many were
    // left. Any other exception stops the walk the same way and goes on to the caller as it is.
    TProgressEvent OnProgress;

    // Reads the folder's settings file, or the drive key for a drive root ("C:\"). A path that
    // is neither a drive root nor a full path ("", "\", "Data", "C:Data") loads nothing:
    // Current goes back to its state after construction, with an empty Path.
    TDTItem LoadSettings(const std::string& path);
    // Writes Current with the given info tip: 0 when written, -1 when nothing is loaded.
    // Raises the write errors of the settings file or the drive key; then nothing else is done.
    // With ApplyToSubfolders, every subfolder that can be changed is, the shell is told, and
    // then the subfolders that could not be changed are raised together (EFoldersNotChanged).
    int ApplySettings(const std::string& infotip);
    // Takes out what this program writes (and, with ApplyToSubfolders, out of every folder
    // below): true when done, false when nothing is loaded (then nothing is touched). Raises
    // as ApplySettings does.
    bool RestoreDefault();
    void SetApplyToSubfolders(bool value) { ApplyToSubfolders = value; }

    void SetDisguiseIndex(int index);
    int GetDisguiseIndex() const;

    // The adornment dialog's operations. Each changes one field of Current and the preview
    // control it is given; nothing reaches the disk before ApplySettings.
    // A cancelled pick, or a picker that cannot open, changes nothing. A picker (and its
    // message) is modal to the window the user works in, which is disabled while it is open;
    // a second pick asked for while one is open is refused.
    void SelectIcon(TImage* image);
    void ClearIcon(TImage& image);
    void SelectTextColor(TLabel* label);
    void ClearTextColor(TLabel* label);
    void SelectBackground(TImage& image);
    void ClearBackground(TImage& image);
    // Draws icon `iconIndex` of `iconFile` centred in the control, at the size a 32-pixel icon
    // has at the control's DPI; an ".ico" file is loaded directly. Environment references in
    // the name are expanded. No icon found: the control stays exactly as it was.
    void DrawIcon(TImage& image, const std::string& iconFile, int iconIndex);

    // A picker is open now.
    bool Picking() const noexcept { return picking_; }

private:
    void PropagateToSubfolders() const;
    template <typename Work>
    void ForEachSubfolder(const std::string& root, Work work) const;
    template <typename Work>
    void ThenNotify(Work work) const;

    bool picking_ = false;
};

// The file the icon picker opens on: the folder's own icon file when it has one (the shell's
// folder icon that a folder without one reads is not its own), otherwise the icon library,
// and nothing (the picker's own default) when the library is missing too.
std::string IconPickerStart(const TDTItem& current, const std::string& library, bool libraryExists);

// The one controller of the program; the main window creates it.
inline std::unique_ptr<TFolderCtrl> TheFolderCtrl;
