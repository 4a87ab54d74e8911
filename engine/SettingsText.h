#pragma once
// How the bytes of a settings file are to be read. The platform's profile functions keep a file
// that starts with a UTF-16 byte-order mark in UTF-16 and take any other as text in the active
// code page, which is UTF-8 for this program, while Explorer reads such a file in the system's
// legacy code page. Plain text work, free of the platform headers.
#include "engine/FolderSettings.h"

#include <iterator>
#include <string_view>

struct TSettingsKey {
    const char* Section;
    const char* Key;
};

// The six keys this program writes, in the order it writes them.
inline constexpr TSettingsKey OurKeys[] = {{ShellClassInfoSection, "CLSID"},     {ShellClassInfoSection, "IconFile"},
                                           {ShellClassInfoSection, "IconIndex"}, {ShellClassInfoSection, "Infotip"},
                                           {IconAreaSection, "IconArea_Image"},  {IconAreaSection, "IconArea_Text"}};
inline constexpr std::size_t OurKeyCount = std::size(OurKeys);

enum class TFileText {
    Ascii,    // no byte above 0x7F (an empty or missing file too): the same in every code page
    Legacy,   // no byte-order mark and bytes above 0x7F: text in the system's legacy code page
    Utf8Bom,  // a UTF-8 byte-order mark, which the platform's older readers take for text
    Utf16Le,  // what Windows writes and the profile functions keep
    Utf16Be,
};

TFileText TextOf(std::string_view bytes);

// True when every byte of the text is plain ASCII.
bool IsPlainAscii(std::string_view text);

// Section and key names match regardless of letter case; ours are plain ASCII.
bool SameName(std::wstring_view name, std::string_view ours);

// True only when the file's text holds keys of ours and nothing else: our two sections, our six
// keys in them, empty lines. Whatever it is not sure of (a comment, a line before the first
// section, a line without "=") makes it answer false, and the profile functions decide.
bool HoldsOnlyOurKeys(std::wstring_view text);
