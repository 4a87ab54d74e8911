#pragma once
// A fresh folder under the Wine prefix's temporary folder, removed with everything in it
// (attributes cleared first) when the test ends.
#include <windows.h>

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, ending in a backslash.
    const std::string& Path() const { return path_; }
    // Creates a subfolder (and those above it); returns its path ending in a backslash.
    // Throws std::runtime_error with the path and the system's reason when it cannot.
    std::string MakeDir(const std::string& relative) const;
    // Writes a file with the given bytes, replacing one that is there; returns its path.
    // Throws std::runtime_error with the path and the system's reason when it cannot.
    std::string WriteFile(const std::string& relative, const std::string& bytes) const;

private:
    std::string path_;
};

// What the system says about an error code, on one line.
std::string SystemReason(DWORD code);
// The whole file; throws std::runtime_error with the path and the reason when it cannot be read,
// so a missing file never compares equal to an empty one.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
// Attributes with the archive bit masked (Wine sets it on every file).
DWORD AttributesOf(const std::string& path);
// Removes a folder with everything in it; links inside are removed, never followed.
void RemoveTree(const std::string& path);
