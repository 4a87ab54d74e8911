#pragma once
// The shell namespace calls under the items: the desktop, binding, names and icons.
#include "shelltree/IdList.h"
#include "toolkit/core/Exception.h"
#include "toolkit/core/Scoped.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

// A path or root text that names no place of the shell: "Error setting path: \"%s\"".
class EInvalidPath : public Exception {
    using Exception::Exception;
};

// Raises EOSError "<call> failed with status 0x........" for a failure status.
void CheckShellStatus(HRESULT status, const char* call);

// The desktop's folder object (SHGetDesktopFolder); a failure status is raised.
ComPtr<IShellFolder> DesktopFolderObject();
// A new absolute list of the desktop (the empty list); a failure status is raised.
IdList DesktopLocation();

// The folder object of a child, or empty: the parent's BindToObject; when that fails its
// GetUIObjectOf and then its CreateViewObject, whose answer stands; without an answer (or a
// parent) the desktop's BindToObject.
ComPtr<IShellFolder> BindChildFolder(IShellFolder* parent, LPCITEMIDLIST list, HWND window);

// The display name of the list in the folder for the SHGDN flags. A for-parsing name that is a
// class identifier ("::{...}") gives way to the plain name, asked once; "parentfolder = nil"
// without a folder.
std::string ShellNameOf(IShellFolder* folder, LPCITEMIDLIST list, DWORD flags);
// The text of a name answer. A wide-string answer is freed with the task allocator once read
// (the answer is left without it); an offset answer is read inside the list's first entry up to
// its first zero byte. A text of "?" and a digit and more loses every "?".
std::string StrRetText(LPCITEMIDLIST list, STRRET& answer);

// Takes the listing's next entry into the owner; false, with the owner empty, once the listing
// ends or fails.
bool NextEntry(IEnumIDList& entries, IdList& entry);

// The index of the list's icon in the system image list; -1 when the shell has none for it.
int SystemIconIndex(LPCITEMIDLIST list, bool large, bool open);
// The index of a one-entry child's closed icon in the system image list, as its parent folder
// maps it; -1 when the folder maps none. The same index as SystemIconIndex gives for the child's
// absolute list, shortcuts apart (the mapping marks theirs with the link arrow), and cheaper:
// the parent is asked directly instead of being found again from the desktop.
int ChildIconIndex(IShellFolder& parent, LPCITEMIDLIST child);
