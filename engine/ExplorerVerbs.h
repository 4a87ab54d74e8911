#pragma once
// The three entries of Explorer's folder context menu that start this program with a verb.
#include <string>

inline constexpr const char* VerbAdorn = "Adorn";
inline constexpr const char* VerbPretend = "Pretend";
inline constexpr const char* VerbDefault = "Default";

// "Shell\Quorrel <verb>": the key below HKEY_CLASSES_ROOT\Directory.
std::string VerbKey(const std::string& verb);
// "<exe>" <verb> "%1": the program path is quoted so a path with blanks stays one parameter.
std::string VerbCommand(const std::string& exePath, const std::string& verb);
// Writes Adorn, Pretend and Default in that order; failures are ignored one by one.
void RegisterExplorerVerbs();
