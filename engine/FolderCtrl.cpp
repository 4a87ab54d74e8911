#include "engine/FolderCtrl.h"

#include "engine/BaseApplication.h"
#include "engine/BaseDialog.h"
#include "engine/BaseFile.h"
#include "engine/DisguiseTargets.h"
#include "engine/DriveSettings.h"
#include "engine/ExplorerVerbs.h"
#include "engine/FolderFailures.h"
#include "engine/FolderSettings.h"
#include "toolkit/core/Application.h"
#include "toolkit/controls/ColorDialog.h"
#include "toolkit/core/Convert.h"
#include "toolkit/controls/Form.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/MessageBox.h"
#include "toolkit/controls/OpenDialog.h"
#include "toolkit/core/PathText.h"
#include "toolkit/core/ScopedValue.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

// The pickers belong to the window the user works in (the dialog that asked for them), which
// the platform disables while they are open; the main window when no other is active.
HWND PickerOwner()
{
    if (const HWND active = GetActiveWindow(); active && IsWindowEnabled(active))
        return active;
    TForm* form = Application.MainForm();
    return form ? form->Handle() : nullptr;
}

std::string ExpandEnvironment(const std::string& text)
{
    // In characters of the wide form: the size the ...A form answers is not always enough for
    // a name whose characters take several bytes, and the name then comes back cut.
    const std::wstring wide = AnsiToWide(text);
    const DWORD size = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (size == 0)
        return text;
    std::vector<wchar_t> buffer(size);
    const DWORD written = ExpandEnvironmentStringsW(wide.c_str(), buffer.data(), size);
    if (written == 0 || written > size)
        return text;
    return WideToAnsi(buffer.data());
}

void Wipe(TImage& image)
{
    TCanvas& canvas = image.Canvas();
    canvas.FillRect(canvas.ClipRect());
}

// What a path names once it ends in a backslash. Only a drive root or a full path is worked
// on: anything else would be taken relative to the current drive or folder, and "\" names
// the root of whatever drive that is.
enum class Target { Nothing, Drive, Folder };

Target TargetOf(const std::string& path)
{
    if (IsDriveRoot(path))
        return Target::Drive;
    return IsAbsolutePath(path) ? Target::Folder : Target::Nothing;
}

TDTItem NothingLoaded()
{
    TDTItem item;
    item.IconIndex = "0";
    item.IconArea_Text = BlackCaptionColour;
    return item;
}

} // namespace

std::string IconPickerStart(const TDTItem& current, const std::string& library, bool libraryExists)
{
    if (!current.IconFile.empty() && current.IconFile != DefaultIconFile)
        return current.IconFile;
    return libraryExists ? library : std::string();
}

TFolderCtrl::TFolderCtrl(bool applyToSubfolders) : Current(NothingLoaded()), ApplyToSubfolders(applyToSubfolders)
{
    RegisterExplorerVerbs();
}

TDTItem TFolderCtrl::LoadSettings(const std::string& path)
{
    const std::string full = WithBackslash(path);
    switch (TargetOf(full)) {
    case Target::Drive:
        Current = ReadDriveSettings(full);
        break;
    case Target::Folder:
        Current = ReadFolderSettings(full);
        break;
    case Target::Nothing:
        Current = NothingLoaded();
        break;
    }
    return Current;
}

int TFolderCtrl::ApplySettings(const std::string& infotip)
{
    Current.Infotip = infotip;
    const Target target = TargetOf(WithBackslash(Current.Path));
    if (target == Target::Nothing)
        return -1;
    Current.Path = WithBackslash(Current.Path);
    if (target == Target::Drive) {
        // A drive takes nothing but its icon, and its subfolders are never touched.
        WriteDriveSettings(Current);
        NotifyShell();
        return 0;
    }
    // The chosen folder's own failure stops everything at once.
    WriteFolderSettings(Current);
    if (ApplyToSubfolders)
        ThenNotify([&] { PropagateToSubfolders(); });
    else
        NotifyShell();
    return 0;
}

template <typename Work>
void TFolderCtrl::ThenNotify(Work work) const
{
    try {
        work();
    } catch (...) {
        // Stopped part of the way, or done with folders left unchanged: what was written is
        // there and the shell must know.
        NotifyShell();
        throw;
    }
    NotifyShell();
}

template <typename Work>
void TFolderCtrl::ForEachSubfolder(const std::string& root, Work work) const
{
    // The whole list first: the walk never sees a folder half worked on.
    TFolderFailures failures;
    const auto folders = TBaseFile().GetAllSubfolders(root, failures);
    // The chosen folder itself was done before the walk.
    const std::size_t total = folders.size() + 1;
    // False when the user stopped the work: the folder reported is finished, no other begun.
    const auto report = [&](std::size_t done, const std::string& folder) {
        if (!OnProgress)
            return true;
        try {
            OnProgress(done, folders.size(), folder);
        } catch (const EWorkStopped&) {
            return false;
        }
        return true;
    };
    if (!report(0, root))
        throw EFoldersNotChanged(failures.Items(), total, folders.size());
    for (std::size_t i = 0; i < folders.size(); ++i) {
        // A folder that cannot be changed is named at the end; the others are done meanwhile.
        try {
            work(folders[i]);
        } catch (const ESettingsFileError& e) {
            failures.Add(folders[i], e.Reason());
        }
        if (!report(i + 1, folders[i]))
            throw EFoldersNotChanged(failures.Items(), total, folders.size() - (i + 1));
    }
    if (!failures.Empty())
        throw EFoldersNotChanged(failures.Items(), total);
}

void TFolderCtrl::PropagateToSubfolders() const
{
    // Each subfolder without a settings file of its own receives a file holding the six keys
    // of the chosen folder, not the rest of its file: Windows' own entries there (a localised
    // name, a view state) belong to that one folder.
    std::string bytes, failed;
    try {
        bytes = FreshSettingsBytes(Current);
    } catch (const ESettingsFileError& e) {
        failed = e.Reason();
    }
    ForEachSubfolder(Current.Path, [&](const std::string& folder) {
        if (!failed.empty())
            throw ESettingsFileError(folder + SettingsFileName, failed);
        CopySettingsInto(folder, bytes);
    });
}

bool TFolderCtrl::RestoreDefault()
{
    const std::string path = WithBackslash(Current.Path);
    const Target target = TargetOf(path);
    if (target == Target::Nothing)
        return false;
    if (target == Target::Drive)
        RemoveDriveSettings(path);
    try {
        RemoveFolderSettings(path);
    } catch (...) {
        // The chosen folder's failure stops everything; a drive's icon is gone all the same.
        if (target == Target::Drive)
            NotifyShell();
        throw;
    }
    ThenNotify([&] {
        if (ApplyToSubfolders)
            ForEachSubfolder(path, [](const std::string& folder) { RemoveFolderSettings(folder); });
    });
    return true;
}

void TFolderCtrl::SetDisguiseIndex(int index)
{
    if (const char* clsid = DisguiseClsid(index))
        Current.CLSID = clsid;
}

int TFolderCtrl::GetDisguiseIndex() const
{
    return DisguiseIndexOf(Current.CLSID);
}

void TFolderCtrl::SelectIcon(TImage* image)
{
    if (picking_ || !IsExistingFolder(Current.Path))
        return;
    const TScopedValue<bool> open(picking_, true);
    const std::string library = TBaseApplication().GetAppDirectory("") + "icon.dll";
    const bool libraryExists = IsExistingFile(library);
    if (!libraryExists)
        ShowMessageBox("Icon.dll is not found. Please reinstall this program.", 1);
    std::string file = IconPickerStart(Current, library, libraryExists);
    const int start = file == Current.IconFile ? std::max(0, TryStrToInt(Current.IconIndex).value_or(0)) : 0;
    const int index = TBaseDialog().PickIcon(file, PickerOwner(), start);
    // Cancelled, or no picker: the folder keeps its icon and the preview keeps showing it.
    if (index < 0)
        return;
    Current.IconIndex = IntToStr(index);
    Current.IconFile = file;
    if (image) {
        DrawIcon(*image, Current.IconFile, index);
        image->SetVisible(true);
    }
}

void TFolderCtrl::ClearIcon(TImage& image)
{
    Current.IconIndex = "0";
    Current.IconFile.clear();
    image.SetVisible(false);
    Wipe(image);
}

void TFolderCtrl::SelectTextColor(TLabel* label)
{
    if (picking_)
        return;
    const TScopedValue<bool> open(picking_, true);
    TColorDialog dialog(PickerOwner());
    dialog.SetColor(RGB(0, 0, 0));
    if (!dialog.Execute())
        return;
    const COLORREF color = dialog.Color() & 0xFFFFFF;
    Current.IconArea_Text = "0x00" + IntToHex(color, 6);
    if (label)
        label->Font().SetColor(static_cast<TColor>(color));
}

void TFolderCtrl::ClearTextColor(TLabel* label)
{
    Current.IconArea_Text = BlackCaptionColour;
    if (label)
        label->Font().SetColor(clBlack);
}

void TFolderCtrl::SelectBackground(TImage& image)
{
    if (picking_)
        return;
    const TScopedValue<bool> open(picking_, true);
    TOpenDialog dialog(PickerOwner());
    dialog.SetFilter("Picture file(*.Bmp, *.Jpg)|*.bmp;*.jpg");
    if (!dialog.Execute())
        return;
    // Loaded first: a picture that cannot be decoded raises before anything is stored.
    image.Picture().LoadFromFile(dialog.FileName());
    image.SetVisible(true);
    Current.IconArea_Image = dialog.FileName();
}

void TFolderCtrl::ClearBackground(TImage& image)
{
    Current.IconArea_Image.clear();
    image.SetVisible(false);
}

namespace {
// The icon preview's size on a 96-DPI display.
constexpr int kPreviewIconSize = 32;
} // namespace

void TFolderCtrl::DrawIcon(TImage& image, const std::string& iconFile, int iconIndex)
{
    // "%SystemRoot%\system32\shell32.dll", the icon of a folder without its own, names no
    // file until its references are expanded; the same holds for an ".ico" file.
    const std::string file = ExpandEnvironment(iconFile);
    // The icon size of a 96-DPI display at the preview's scale; at the system's own icon size
    // the system's choice of image stands.
    const int size = image.Scaled(kPreviewIconSize);
    const bool systemSize = size == GetSystemMetrics(SM_CXICON);
    TIcon icon;
    if (HasExtension(file, "ico")) {
        icon.SetWantedSize(systemSize ? 0 : size);
        icon.LoadFromFile(file);
    } else {
        ScopedIcon handle = systemSize ? TBaseFile().ExtractIconFromFile(file, iconIndex)
                                       : TBaseFile().ExtractIconFromFile(file, iconIndex, size);
        if (!handle)
            return;
        icon.SetHandle(handle.release());
    }
    image.SetVisible(true);
    Wipe(image);
    image.Canvas().Draw((image.Width() - icon.Width()) / 2, (image.Height() - icon.Height()) / 2, icon);
}
