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
    std::string MakeDir(const std::string& relative) const;
    // Writes a file with the given bytes; returns its path.
    std::string WriteFile(const std::string& relative, const std::string& bytes) const;

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
// Attributes with the archive bit masked (Wine sets it on every file).
DWORD AttributesOf(const std::string& path);
void RemoveTree(const std::string& path);
