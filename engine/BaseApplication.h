#pragma once
#include <string>

class TBaseApplication {
public:
    // The running executable's folder (with its backslash) followed by `sub`, ending in a backslash.
    std::string GetAppDirectory(const std::string& sub) const;
    // The running executable's full path.
    std::string GetExePath() const;
    // Writes `command` as the default value of HKEY_CLASSES_ROOT\Directory\<verbKey>\command,
    // creating the keys; false (and no message) when anything fails.
    bool RegisterDirectoryVerb(const std::string& verbKey, const std::string& command) const;
};
