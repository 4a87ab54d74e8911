#pragma once
// The program's message box: caption the application title, an information icon and one of
// three button sets.
#include <string>

// The platform flags of a box kind: 1 OK, 2 Yes/No, 3 Yes/No/Cancel, each with the information
// icon. Any other kind raises an Exception.
unsigned MessageBoxFlags(int kind);

// Shows the box modally over the active window and returns the identifier of the button pressed.
int ShowMessageBox(const std::string& text, int kind);
