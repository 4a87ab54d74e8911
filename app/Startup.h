#pragma once
// Start-up: the verb words of the Explorer entries and the check of the sidecar libraries.
#include <string>

enum class TVerb { None, Adorn, Pretend, Default };

// The verb a word names: "Adorn", "Pretend" or "Default", compared exactly (case and all).
TVerb VerbOf(const std::string& word) noexcept;

// "'<file>' is not found. Please reinstall this program.", a quote in the name doubled.
std::string MissingLibraryMessage(const std::string& file);

// For "Form.dll" and then "Res.dll": when the program's own folder (where they are loaded
// from) holds no such file, says so in a message box and asks the application to end.
void CheckSidecarLibraries();

// A start from Explorer: the verb's action on the folder that `path` names (see VerbFolder),
// with no main window and no folder tree. Default shows nothing but the boxes it needs; Adorn
// and Pretend show their dialog as a window of its own. Raises EInvalidPath for a path that
// names no folder, and whatever the action raises before its dialog shows.
void RunVerb(TVerb verb, const std::string& path);

// The whole program. With a verb word and a folder on the command line: the verb's work
// (RunVerb), then the end; an error there is shown and the main window opens as in a window
// start, without the library check. Otherwise the shell item model, the main window, the two
// hidden dialogs and the message loop. Every form is freed before the shell item model ends.
void RunProgram();
