#pragma once
// Settings files as users have them (Windows' own UTF-16 ones, a legacy one from an older tool)
// and the views of them the tests compare: the text of a UTF-16 file, a value as Explorer
// reads it, the names in a folder.
#include <string>
#include <vector>

// Windows' own file of a Documents folder: a localised name, an icon resource, a view state and
// localised file names, before any key of ours.
extern const char* const kDocumentsIni;

// UTF-8 text as a UTF-16LE file with its byte-order mark, as Windows writes one.
std::string Utf16File(const std::string& utf8);
// A UTF-16LE file's text (after its byte-order mark) in UTF-8; empty when it has no mark.
std::string TextOfUtf16File(const std::string& bytes);
// The text without its empty lines (the profile functions drop them when they rewrite a file).
std::string WithoutBlankLines(const std::string& text);
// A value as Explorer reads it: through the wide profile function, in UTF-8; "<none>" when the
// key is missing.
std::string ValueInFile(const std::string& file, const char* section, const char* key);
// The names in a folder, sorted, "." and ".." left out.
std::vector<std::string> NamesIn(const std::string& folder);
