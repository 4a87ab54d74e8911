#pragma once
// How the bytes of a settings file are to be read. The platform's profile functions keep a file
// that starts with a UTF-16 byte-order mark in UTF-16 and take any other as text in the active
// code page, which is UTF-8 for this program, while Explorer reads such a file in the system's
// legacy code page. Plain text work, free of the platform headers.
#include <string_view>

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
