#include "engine/FolderCtrl.h"

#include "engine/BaseApplication.h"
#include "engine/BaseDialog.h"
#include "engine/BaseFile.h"
#include "engine/DisguiseTargets.h"
#include "engine/DriveSettings.h"
#include "engine/ExplorerVerbs.h"
#include "engine/FolderSettings.h"
#include "toolkit/Application.h"
#include "toolkit/ColorDialog.h"
#include "toolkit/Convert.h"
#include "toolkit/Form.h"
#include "toolkit/Icon.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/MessageBox.h"
#include "toolkit/OpenDialog.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

void EnsureBackslash(std::string& path)
{
    if (path.empty() || path.back() != '\\')
        path += '\\';
}

// The common dialogs belong to the main window, as the icon picker does.
HWND MainWindow()
{
    TForm* form = Application.MainForm();
    return form ? form->Handle() : nullptr;
}

bool FolderExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The icon file as the platform can open it: "%SystemRoot%\system32\shell32.dll", the default
// a folder without its own icon carries, names no file until its references are expanded.
std::string ExpandEnvironment(const std::string& text)
{
    const DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0)
        return text;
    std::vector<char> buffer(size);
    if (ExpandEnvironmentStringsA(text.c_str(), buffer.data(), size) == 0)
        return text;
    return buffer.data();
}

std::string UpperExtension(const std::string& file)
{
    const auto dot = file.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : file.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension;
}

void Wipe(TImage& image)
{
    TCanvas& canvas = image.Canvas();
    canvas.FillRect(canvas.ClipRect());
}

} // namespace

TFolderCtrl::TFolderCtrl(bool applyToSubfolders) : ApplyToSubfolders(applyToSubfolders)
{
    Current.IconIndex = "0";
    Current.IconArea_Text = BlackCaptionColour;
    RegisterExplorerVerbs();
}

TDTItem TFolderCtrl::LoadSettings(const std::string& path)
{
    std::string full = path;
    EnsureBackslash(full);
    Current = full.size() == 3 ? ReadDriveSettings(full) : ReadFolderSettings(full);
    return Current;
}

int TFolderCtrl::ApplySettings(const std::string& infotip)
{
    Current.Infotip = infotip;
    if (Current.Path.empty())
        return -1;
    EnsureBackslash(Current.Path);
    if (Current.Path.size() <= 3) {
        // A drive takes nothing but its icon, and its subfolders are never touched.
        WriteDriveSettings(Current);
    } else {
        WriteFolderSettings(Current);
        if (ApplyToSubfolders)
            PropagateToSubfolders();
    }
    NotifyShell();
    return 0;
}

void TFolderCtrl::PropagateToSubfolders() const
{
    // The whole list first, then one copy of the root's finished file into each subfolder that
    // has none; a subfolder's own file is kept as it is.
    const auto subfolders = TBaseFile().GetAllSubfolders(Current.Path);
    const std::string source = Current.Path + SettingsFileName;
    for (const auto& folder : subfolders) {
        const std::string target = folder + SettingsFileName;
        CopyFileA(source.c_str(), target.c_str(), TRUE);
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_SYSTEM);
    }
}

bool TFolderCtrl::RestoreDefault()
{
    // Nothing loaded: an empty path would name the current folder, the current drive's every
    // folder and the whole drive-icon key.
    if (Current.Path.empty())
        return true;
    if (Current.Path.size() <= 3)
        RemoveDriveSettings(Current.Path);
    RemoveFolderSettings(Current.Path);
    if (ApplyToSubfolders)
        for (const auto& folder : TBaseFile().GetAllSubfolders(Current.Path))
            RemoveFolderSettings(folder);
    NotifyShell();
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
    if (!FolderExists(Current.Path))
        return;
    if (!FileExists(TBaseApplication().GetAppDirectory("") + "icon.dll"))
        ShowMessageBox("Icon.dll is not found. Please reinstall this program.", 1);
    std::string file;
    const int index = TBaseDialog().PickIcon(file, MainWindow());
    // A cancelled pick (-1, no file) removes the icon choice.
    Current.IconIndex = IntToStr(index);
    Current.IconFile = file;
    if (image) {
        DrawIcon(*image, Current.IconFile, StrToInt(Current.IconIndex));
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
    TColorDialog dialog(MainWindow());
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
    TOpenDialog dialog(MainWindow());
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

void TFolderCtrl::DrawIcon(TImage& image, const std::string& iconFile, int iconIndex)
{
    TIcon icon;
    if (UpperExtension(iconFile) == ".ICO") {
        icon.LoadFromFile(iconFile);
    } else {
        HICON handle = TBaseFile().ExtractIconFromFile(ExpandEnvironment(iconFile), iconIndex);
        if (!handle)
            return;
        icon.SetHandle(handle);
    }
    image.SetVisible(true);
    Wipe(image);
    image.Canvas().Draw((image.Width() - icon.Width()) / 2, (image.Height() - icon.Height()) / 2, icon);
}
