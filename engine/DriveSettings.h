#pragma once
// A drive root keeps only an icon, in the shell's per-drive icon key under HKEY_LOCAL_MACHINE.
#include "engine/DTItem.h"

#include <string>

inline constexpr const char* DriveIconsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons\\";

// DriveIcons\<letter>: the shell's key for the drive, which may hold more than our icon.
std::string DriveKey(const std::string& path);
// DriveIcons\<letter>\DefaultIcon, whose default value is "<icon file>,<index>".
std::string DriveIconKey(const std::string& path);

// All take a drive root ("D:\"); the letter is used as given. Anything else is no drive:
// reading gives an item without an icon, writing and removing do nothing.
TDTItem ReadDriveSettings(const std::string& path);
// Stores "<IconFile>,<IconIndex>"; an empty IconFile removes the icon as a restore does.
void WriteDriveSettings(const TDTItem& item);
// Deletes the drive's DefaultIcon key, and the drive key too when nothing else is left in it.
void RemoveDriveSettings(const std::string& path);
