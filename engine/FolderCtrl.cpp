#include "engine/FolderCtrl.h"

#include "engine/BaseFile.h"
#include "engine/DisguiseTargets.h"
#include "engine/DriveSettings.h"
#include "engine/ExplorerVerbs.h"
#include "engine/FolderSettings.h"

#include <windows.h>

namespace {

void EnsureBackslash(std::string& path)
{
    if (path.empty() || path.back() != '\\')
        path += '\\';
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
