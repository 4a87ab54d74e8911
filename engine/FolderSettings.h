#pragma once
// The shell's per-folder settings file: read with defaults, written key by key (so that
// everything else in the file survives), removed, and the shell told afterwards.
#include "engine/DTItem.h"

#include <string>

inline constexpr const char* SettingsFileName = "DeskTop.Ini";
inline constexpr const char* ShellClassInfoSection = ".ShellClassInfo";
inline constexpr const char* IconAreaSection = "{BE098140-A513-11D0-A3A4-00C04FD706EC}";
inline constexpr const char* DefaultIconFile = "%SystemRoot%\\system32\\shell32.dll";
inline constexpr const char* DefaultIconIndex = "3";
inline constexpr const char* BlackCaptionColour = "0x00000000";

// All functions take a folder path that ends in a backslash.
TDTItem ReadFolderSettings(const std::string& path);
// Raises EWriteError "Unable to write to <file>" on the first key that cannot be written.
void WriteFolderSettings(const TDTItem& item);
void RemoveFolderSettings(const std::string& path);
// Gives the folder the system attribute in addition to the attributes it has.
void AddSystemAttribute(const std::string& folder);
void NotifyShell();

// A value as it goes into the file: every line break (CR LF, CR or LF) becomes one space, so a
// value can never start a new line, key or section of its own.
std::string FlattenLineBreaks(const std::string& value);
