#pragma once
// The shell's per-folder settings file: read with defaults; changed only through a copy that is
// checked and then put in the file's place, so that a failure at any point (a full disk, a
// file in use) leaves the old file as it was; our keys removed again without touching what
// Windows or other programs keep there; and the shell told afterwards. Any folder name, any
// depth: paths reach the platform through its wide functions.
#include "engine/DTItem.h"
#include "toolkit/core/Exception.h"

#include <string>

inline constexpr const char* SettingsFileName = "DeskTop.Ini";
inline constexpr const char* ShellClassInfoSection = ".ShellClassInfo";
inline constexpr const char* IconAreaSection = "{BE098140-A513-11D0-A3A4-00C04FD706EC}";
inline constexpr const char* DefaultIconFile = "%SystemRoot%\\system32\\shell32.dll";
inline constexpr const char* DefaultIconIndex = "3";
inline constexpr const char* BlackCaptionColour = "0x00000000";

// A settings file that could not be changed: the message names the file ("Unable to write to
// <file>"), Reason() says why in the system's words. The file is as it was before.
class ESettingsFileError : public EWriteError {
public:
    ESettingsFileError(const std::string& file, std::string reason);
    const std::string& Reason() const noexcept { return reason_; }

private:
    std::string reason_;
};

// All functions take a folder path that ends in a backslash.

// Never fails: a missing or unreadable file reads as the defaults. A file without a byte-order
// mark is read in the system's legacy code page, as Explorer reads it.
TDTItem ReadFolderSettings(const std::string& path);

// Writes the six keys, keeping everything else in the file. A file that holds or is to hold
// text outside plain ASCII is written in UTF-16 (a legacy file converted whole, nothing lost);
// an ASCII one stays as it is. The file ends hidden and system, the folder with the system
// attribute added. Raises ESettingsFileError.
void WriteFolderSettings(const TDTItem& item);

// Takes out the six keys this program writes and a section of ours left empty; the file goes
// only when nothing else is left in it, and otherwise keeps its encoding and attributes. A file
// holding none of our keys is not touched. Raises ESettingsFileError.
void RemoveFolderSettings(const std::string& path);

// A settings file holding the six keys of `item` and nothing else, as the private-profile
// functions write it: what each subfolder receives. Raises ESettingsFileError.
std::string FreshSettingsBytes(const TDTItem& item);

// Gives a subfolder the settings file `bytes`, made complete under a temporary name and then
// put in place, unless it has one already (kept as it is); then the file is hidden and system
// and the folder has the system attribute. Raises ESettingsFileError.
void CopySettingsInto(const std::string& folder, const std::string& bytes);

// Gives the folder the system attribute in addition to the attributes it has: 0 when it has
// it, else the system's error code.
unsigned long AddSystemAttribute(const std::string& folder);
void NotifyShell();

// A value as it goes into the file: every line break (CR LF, CR or LF) becomes one space, so a
// value can never start a new line, key or section of its own.
std::string FlattenLineBreaks(const std::string& value);
