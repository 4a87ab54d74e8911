#include "engine/DriveSettings.h"

#include "engine/BaseString.h"
#include "engine/FolderSettings.h"
#include "toolkit/Registry.h"

std::string DriveKey(const std::string& path)
{
    return std::string(DriveIconsKey) + path.substr(0, 1);
}

// A path such as "\" has no drive letter: its key would be the DriveIcons key itself.
static bool HasDriveLetter(const std::string& path)
{
    return !path.empty() && path[0] != '\\';
}

std::string DriveIconKey(const std::string& path)
{
    return DriveKey(path) + "\\DefaultIcon";
}

TDTItem ReadDriveSettings(const std::string& path)
{
    TRegistry registry(HKEY_LOCAL_MACHINE);
    // Opened with creation allowed: loading a drive leaves an empty icon key behind. A user who
    // may not write there still sees the drive's icon through a read-only open.
    if (!registry.OpenKey(DriveIconKey(path), true)) {
        registry = TRegistry(HKEY_LOCAL_MACHINE, KEY_READ);
        registry.OpenKey(DriveIconKey(path), false);
    }
    const std::string value = registry.ReadString("");

    const auto pieces = TBaseString().Split(value, ',');
    TDTItem item;
    item.Path = path;
    item.IconFile = pieces.empty() ? std::string() : pieces[0];
    item.IconIndex = pieces.size() < 2 || pieces[1].empty() ? std::string("0") : pieces[1];
    item.IconArea_Text = BlackCaptionColour;
    return item;
}

void WriteDriveSettings(const TDTItem& item)
{
    if (!HasDriveLetter(item.Path))
        return;
    TRegistry registry(HKEY_LOCAL_MACHINE);
    if (item.IconFile.empty()) {
        // A cleared icon removes the drive's key rather than storing an empty value.
        registry.OpenKey(DriveIconsKey, true);
        registry.DeleteKey(DriveKey(item.Path));
        return;
    }
    registry.OpenKey(DriveIconKey(item.Path), true);
    registry.WriteString("", item.IconFile + "," + item.IconIndex);
}

void RemoveDriveSettings(const std::string& path)
{
    if (!HasDriveLetter(path))
        return;
    TRegistry registry(HKEY_LOCAL_MACHINE);
    registry.OpenKey(DriveIconsKey, true);
    registry.DeleteKey(DriveKey(path));
}
