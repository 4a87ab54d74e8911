#include "engine/DriveSettings.h"

#include "engine/BaseString.h"
#include "engine/FolderSettings.h"
#include "toolkit/core/PathText.h"
#include "toolkit/core/Registry.h"

std::string DriveKey(const std::string& path)
{
    return std::string(DriveIconsKey) + path.substr(0, 1);
}

std::string DriveIconKey(const std::string& path)
{
    return DriveKey(path) + "\\DefaultIcon";
}

TDTItem ReadDriveSettings(const std::string& path)
{
    TDTItem item;
    item.Path = path;
    item.IconIndex = "0";
    item.IconArea_Text = BlackCaptionColour;
    if (!IsDriveRoot(path))
        return item;
    TRegistry registry(HKEY_LOCAL_MACHINE);
    // Opened with creation allowed: loading a drive leaves an empty icon key behind. A user who
    // may not write there still sees the drive's icon through a read-only open.
    if (!registry.OpenKey(DriveIconKey(path), true)) {
        registry = TRegistry(HKEY_LOCAL_MACHINE, KEY_READ);
        registry.OpenKey(DriveIconKey(path), false);
    }
    const std::string value = registry.ReadString("");

    const auto pieces = TBaseString().Split(value, ',');
    item.IconFile = pieces.empty() ? std::string() : pieces[0];
    if (pieces.size() >= 2 && !pieces[1].empty())
        item.IconIndex = pieces[1];
    return item;
}

void WriteDriveSettings(const TDTItem& item)
{
    if (!IsDriveRoot(item.Path))
        return;
    if (item.IconFile.empty()) {
        // A cleared icon removes the drive's icon rather than storing an empty value.
        RemoveDriveSettings(item.Path);
        return;
    }
    TRegistry registry(HKEY_LOCAL_MACHINE);
    registry.OpenKey(DriveIconKey(item.Path), true);
    registry.WriteString("", item.IconFile + "," + item.IconIndex);
}

// The drive key belongs to the shell, and the user or other tools keep more there (a label,
// a context menu) than our icon: only its DefaultIcon goes, and the drive key itself only
// when that leaves it empty.
void RemoveDriveSettings(const std::string& path)
{
    if (!IsDriveRoot(path))
        return;
    TRegistry(HKEY_LOCAL_MACHINE).DeleteKey(DriveIconKey(path));
    ScopedKey drive;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, DriveKey(path).c_str(), 0, KEY_READ, drive.put()) != ERROR_SUCCESS)
        return;
    DWORD subkeys = 0, values = 0;
    const bool empty = RegQueryInfoKeyA(drive.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                        nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                       subkeys == 0 && values == 0;
    drive.reset();
    if (empty)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, DriveKey(path).c_str());
}
