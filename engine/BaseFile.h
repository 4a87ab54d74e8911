#pragma once
#include "engine/FolderFailures.h"
#include "toolkit/core/Scoped.h"

#include <functional>
#include <string>
#include <vector>

class TBaseFile {
public:
    // The folder listing that carries each entry's file id, in the shape of
    // GetFileInformationByHandleEx. Some network shares and older servers refuse it (invalid
    // parameter) where a plain listing works; the walk then lists that folder the plain way.
    using IdListing = std::function<BOOL(HANDLE folder, FILE_INFO_BY_HANDLE_CLASS query, void* buffer, DWORD size)>;

    // `idListing` stands in for the platform's id listing (empty: the platform's own).
    explicit TBaseFile(IdListing idListing = {});

    // Every folder below `path` at any depth, in depth-first pre-order (a folder directly before
    // its own subfolders, siblings in the order the platform lists them), each a full path ending
    // in a backslash. Hidden and system folders are included; a folder whose name starts with "."
    // is left out with everything below it. A folder reached a second time (through a link or
    // junction) is not entered again, so loops end. Any depth: paths past the platform's old
    // length limit are reached too. Never fails: what cannot be read adds nothing.
    std::vector<std::string> GetAllSubfolders(std::string path) const;
    // The same, and each folder whose subfolders could not be listed (or whose subfolder has a
    // name the code page cannot carry) goes into `unlisted` with the reason.
    std::vector<std::string> GetAllSubfolders(std::string path, TFolderFailures& unlisted) const;

    // The icon of `file` with the given index; empty when there is no such icon.
    ScopedIcon ExtractIconFromFile(const std::string& file, int index) const;
    // The same at `size` pixels square: the file's image of that size, or one made from the
    // nearest it has (for a display of another scale).
    ScopedIcon ExtractIconFromFile(const std::string& file, int index, int size) const;

private:
    IdListing idListing_;
};
