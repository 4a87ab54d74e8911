#pragma once
// One place of the shell namespace: its list inside its parent, its list from the desktop, the
// parent item (not owned) and, when it can be bound as a folder, its own folder object. Every
// answer is asked of the shell afresh.
#include "shelltree/IdList.h"
#include "shelltree/ShellSets.h"
#include "toolkit/core/Scoped.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

class TShellFolder {
public:
    // Copies the list (the caller keeps its own). Without a parent the item hangs below the
    // desktop item; the desktop item itself, made while there is none, has no parent.
    TShellFolder(TShellFolder* parent, ComPtr<IShellFolder> folder, LPCITEMIDLIST list);
    ~TShellFolder() = default;
    TShellFolder(const TShellFolder&) = delete;
    TShellFolder& operator=(const TShellFolder&) = delete;

    TShellFolder* ParentItem() const noexcept { return parent_; }
    LPCITEMIDLIST IdInParent() const noexcept { return Pidl(idInParent_); }
    LPCITEMIDLIST IdFromDesktop() const noexcept { return Pidl(idFromDesktop_); }
    IShellFolder* FolderObject() const noexcept { return folder_.get(); }
    const ComPtr<IShellFolder>& FolderObjectRef() const noexcept { return folder_; }

    // The parent's folder object (possibly empty), or the desktop's without a parent.
    ComPtr<IShellFolder> ParentFolderObject() const;
    std::string NameInFolder() const;
    // The item's path, or the plain name of a virtual object.
    std::string ParsingName() const;
    bool IsContainer() const;
    bool HasChildFolders() const;
    TShellItemFlags ItemFlags() const;
    TShellItemAbilities ItemAbilities() const;
    int ShellIconIndex(bool large, bool open) const;
    // False, and nothing happens, when the item cannot be renamed; a refusal of the shell raises
    // "Rename to %s failed" and the item keeps its lists.
    bool RenameTo(const std::string& newName);

private:
    // The folder that holds the item's last entry, and that entry. An item made from an absolute
    // list (a root) keeps several entries in IdInParent, but a folder answers attributes and
    // renames only for its own one-entry children: such an item is asked of the folder above its
    // last entry. Empty when there is no parent folder object.
    struct Holder {
        ComPtr<IShellFolder> folder;
        LPCITEMIDLIST entry = nullptr;
    };
    Holder HoldingFolder() const;
    // The attribute word of the item for the mask; 0 when it has no holding folder or the shell
    // does not answer.
    ULONG Attributes(ULONG mask) const;

    IdList idInParent_;
    IdList idFromDesktop_;
    TShellFolder* parent_;
    ComPtr<IShellFolder> folder_;
};

// The order of two items of the same parent, as the first one's parent folder sorts them:
// negative puts a first, 0 keeps them equal (also when the folder cannot compare them).
int CompareSiblings(const TShellFolder& a, const TShellFolder& b);
