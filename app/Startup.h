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

// The whole program: the shell item model first, then the main window (which may carry out a
// verb and end the program from inside its creation), the two hidden dialogs and the message
// loop. Every form is freed before the shell item model ends.
void RunProgram();
