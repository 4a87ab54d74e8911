#pragma once
// The About-box library's entry point, as the program and Form.dll both see it. The library
// carries its own copy of the runtime, so only plain data crosses: the owner window and C strings.
#include <windows.h>

extern "C" {

struct TAboutFormInfo {
    // sizeof the structure as the caller knows it: fields past that size are not read, so an
    // older caller works with a newer library.
    unsigned Size;
    const char* AboutText0;
    const char* ProductName;
    const char* AboutText2;
    const char* TitleSuffix;
    const char* HomePage;
    const char* EmailAddress;
    const char* AboutText7;
    const char* AppDirectory;
};

// Shows the About box modally, owned by `owner` (which is disabled meanwhile), and returns when
// it has closed. Null strings read as empty text; a null `info` shows nothing. Never throws.
typedef void(__cdecl* TShowAboutForm)(HWND owner, const TAboutFormInfo* info);

} // extern "C"

inline constexpr const char* ShowAboutFormExport = "ShowAboutForm";
