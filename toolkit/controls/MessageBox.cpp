#include "toolkit/controls/MessageBox.h"

#include "toolkit/core/Application.h"
#include "toolkit/core/Exception.h"

#include <windows.h>

unsigned MessageBoxFlags(int kind)
{
    switch (kind) {
    case 1:
        return MB_ICONINFORMATION;
    case 2:
        return MB_ICONINFORMATION | MB_YESNO;
    case 3:
        return MB_ICONINFORMATION | MB_YESNOCANCEL;
    default:
        throw Exception("Unknown message box kind " + std::to_string(kind));
    }
}

int ShowMessageBox(const std::string& text, int kind)
{
    return MessageBoxA(GetActiveWindow(), text.c_str(), Application.Title().c_str(), MessageBoxFlags(kind));
}
