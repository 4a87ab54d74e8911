#pragma once
// The named roots of a folder tree and the resolution of a root text — a name or a path — into
// the root item.
#include "shelltree/ShellFolder.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

enum class TRootFolder {
    rfDesktop, rfMyComputer, rfNetwork, rfRecycleBin, rfAppData, rfCommonDesktopDirectory,
    rfCommonPrograms, rfCommonStartMenu, rfCommonStartup, rfControlPanel, rfDesktopDirectory,
    rfFavorites, rfFonts, rfInternet, rfPersonal, rfPrinters, rfPrintHood, rfPrograms, rfRecent,
    rfSendTo, rfStartMenu, rfStartup, rfTemplates
};
using enum TRootFolder;
constexpr int kRootFolderCount = 23;

// The root's name as written ("rfMyComputer") and its special folder number (CSIDL).
std::string_view RootFolderName(TRootFolder root) noexcept;
int RootFolderCsidl(TRootFolder root) noexcept;
// The root a text names, compared without regard to ASCII letter case.
std::optional<TRootFolder> RootFolderOf(std::string_view text) noexcept;

// A new item for an absolute list, below the desktop item, bound as a folder where it can be
// (else given the desktop's folder object). The caller keeps its list.
std::unique_ptr<TShellFolder> RootItemFromIdList(LPCITEMIDLIST list);

// Resolves the root text into a new root item that replaces rootItem. A bare drive ("D:") gets
// its backslash, in the root text too. When nothing comes of the text (an empty one included),
// the root text goes back to the previous one, rootItem stays, and EInvalidPath raises
// "Error setting path: \"%s\"" with the text that failed.
void OpenRootLocation(std::unique_ptr<TShellFolder>& rootItem, const std::string& previousRoot,
                      std::string& rootText);
