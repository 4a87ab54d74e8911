#pragma once
// The three folder actions on the folder or drive root that the controller has just loaded,
// the same whether the main window's buttons run them or a start from Explorer does.
#include <string>

// How the action's dialog stands among the program's windows.
enum class TDialogPlace {
    Owned,      // owned by the main window, which the user works in
    Standalone, // a window of its own in the task bar: no main window exists
};

// The Adorn Folder dialog filled from the loaded settings, shown modally; true when it closed
// with OK. Errors of the filling (a bad icon index or colour, a picture of an unknown kind)
// are raised before the dialog shows.
bool AdornLoadedFolder(TDialogPlace place);
// The Pretend Folder dialog, shown modally; true when it closed with OK.
bool PretendLoadedFolder(TDialogPlace place);
// Restores the loaded folder at once, with a progress window when that takes long; true when
// done, also when the user stopped it part of the way (the folder itself was restored).
bool DefaultLoadedFolder();

// Raises EInvalidPath "Error setting path: "<path>"".
[[noreturn]] void RefusePath(const std::string& path);
// A "?" (what a name the code page cannot carry turns into) or "*": such a path names no folder
// exactly, and a subfolder walk would take it for a pattern.
bool HoldsWildcard(const std::string& path) noexcept;

// The folder a start from Explorer names: a full path ("C:\...", "\\server\share\...") without
// a wildcard, naming an existing folder or drive root, given back in its plain full form. Any
// other text raises EInvalidPath "Error setting path: "<text>"", and text that is not a full
// path or holds a wildcard is refused before anything looks it up.
std::string VerbFolder(const std::string& path);
