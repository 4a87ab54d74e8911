#include "app/FolderActions.h"

#include "dialogs/Adorn.h"
#include "dialogs/Pretend.h"
#include "dialogs/Progress.h"
#include "engine/FolderCtrl.h"
#include "shelltree/ShellNamespace.h"
#include "toolkit/core/Format.h"
#include "toolkit/core/LateBound.h"
#include "toolkit/core/PathText.h"

#include <windows.h>

#include <vector>

namespace {

// The path with "." and ".." steps and doubled backslashes resolved; a full path depends on
// no current folder, so this reads nothing from the disk. Sized in wide characters, which the
// ...A form does not answer reliably for names of several bytes a character.
std::string PlainFullPath(const std::string& path)
{
    const std::wstring wide = AnsiToWide(path);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return {};
    std::vector<wchar_t> buffer(size);
    const DWORD length = GetFullPathNameW(wide.c_str(), size, buffer.data(), nullptr);
    return length > 0 && length < size ? WideToAnsi(std::wstring_view(buffer.data(), length)) : std::string();
}


// A verb start's dialog is the program's first window: the control library its controls want
// loads on a second thread while the dialog's own window is made. (The main window's start
// loads it as its first control is made: a thread would cost that start about a megabyte.)
void LoadControlsWhileMade(TDialogPlace place) noexcept
{
    if (place == TDialogPlace::Standalone)
        late::PreloadCommonControls();
}
} // namespace

bool AdornLoadedFolder(TDialogPlace place)
{
    const TDTItem item = FolderController().Current;
    const auto dialog = MakeForm<TFormAdorn>();
    dialog->SetStandalone(place == TDialogPlace::Standalone);
    LoadControlsWhileMade(place);
    dialog->ShowSettings(item);
    return dialog->ShowModal() == mrOk;
}

bool PretendLoadedFolder(TDialogPlace place)
{
    const auto dialog = MakeForm<TFormPretend>();
    dialog->SetStandalone(place == TDialogPlace::Standalone);
    LoadControlsWhileMade(place);
    return dialog->ShowModal() == mrOk;
}

bool DefaultLoadedFolder()
{
    TFolderCtrl& ctrl = FolderController();
    bool done = true;
    RunWithProgress(ctrl, [&] { done = ctrl.RestoreDefault(); });
    return done;
}

void RefusePath(const std::string& path)
{
    throw EInvalidPath(FormatText("Error setting path: \"%s\"", path));
}

bool HoldsWildcard(const std::string& path) noexcept
{
    return path.find_first_of("?*") != std::string::npos;
}

std::string VerbFolder(const std::string& path)
{
    if (HoldsWildcard(path) || !(IsDriveRoot(path) || IsAbsolutePath(path)))
        RefusePath(path);
    const std::string plain = PlainFullPath(path);
    if (plain.empty() || !IsExistingFolder(plain))
        RefusePath(path);
    return plain;
}
