#pragma once
// A drive root keeps only an icon, in the shell's per-drive icon key under HKEY_LOCAL_MACHINE.
#include "engine/DTItem.h"

#include <string>

inline constexpr const char* DriveIconsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons\\";

// DriveIcons\<letter>, the key that restore deletes.
std::string DriveKey(const std::string& path);
// DriveIcons\<letter>\DefaultIcon, whose default value is "<icon file>,<index>".
std::string DriveIconKey(const std::string& path);

// All take a drive root path ending in a backslash ("D:\"); the letter is used as given.
TDTItem ReadDriveSettings(const std::string& path);
void WriteDriveSettings(const TDTItem& item);
void RemoveDriveSettings(const std::string& path);
