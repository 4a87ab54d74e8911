#pragma once
#include <windows.h>

#include <string>

class TBaseDialog {
public:
    // Opens the system icon picker owned by `owner` on `file` (its own default file when empty
    // or too long for the picker) with icon `index` selected. A confirmed choice sets `file`
    // and returns the chosen index; a cancel, or a picker that cannot open, returns -1 and
    // leaves `file` as it was.
    int PickIcon(std::string& file, HWND owner = nullptr, int index = 0) const;

    // The 16-bit characters up to the first zero or `count`, in the ANSI code page; a character
    // the code page lacks becomes its replacement character.
    std::string WideBufferToString(const wchar_t* buffer, int count) const;
};
