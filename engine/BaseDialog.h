#pragma once
#include <windows.h>

#include <string>

class TBaseDialog {
public:
    // Opens the system icon picker owned by `owner`, starting on its own default file.
    // Returns the chosen index and sets `file`; -1 (and what the picker left, normally nothing)
    // when the user cancels or the picker cannot open.
    int PickIcon(std::string& file, HWND owner = nullptr) const;

    // The 16-bit characters up to the first zero or `count`, in the ANSI code page; a character
    // the code page lacks becomes its replacement character.
    std::string WideBufferToString(const wchar_t* buffer, int count) const;
};
