#pragma once
#include <windows.h>

#include <string>
#include <vector>

class TBaseFile {
public:
    // Every folder below `path` at any depth, in depth-first pre-order (a folder directly before
    // its own subfolders, siblings in the order the platform lists them), each a full path ending
    // in a backslash. Hidden and system folders are included; a folder whose name starts with "."
    // is left out with everything below it. A folder reached a second time (through a link or
    // junction) is not entered again, so loops end. Never fails: what cannot be read adds nothing.
    std::vector<std::string> GetAllSubfolders(std::string path) const;

    // The icon of `file` with the given index, or null; the caller owns the handle.
    HICON ExtractIconFromFile(const std::string& file, int index) const;
};
