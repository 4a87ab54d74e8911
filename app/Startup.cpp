#include "app/Startup.h"

#include "app/FolderActions.h"
#include "app/MainForm.h"
#include "app/ProductInfo.h"
#include "dialogs/Adorn.h"
#include "dialogs/Pretend.h"
#include "engine/FolderCtrl.h"
#include "shelltree/ShellModule.h"
#include "toolkit/core/Application.h"
#include "toolkit/controls/MessageBox.h"
#include "toolkit/core/CommandLine.h"
#include "toolkit/core/PathText.h"

#include <windows.h>

#include <optional>

namespace {

// The forms go before the shell item model that their tree's items hang on, and the controller
// with them: nothing of the program is left for the static destructors.
class ProgramObjects {
public:
    ProgramObjects() = default;
    ~ProgramObjects()
    {
        Application.DestroyForms();
        TheFolderCtrl.reset();
    }
    ProgramObjects(const ProgramObjects&) = delete;
    ProgramObjects& operator=(const ProgramObjects&) = delete;
};

} // namespace

TVerb VerbOf(const std::string& word) noexcept
{
    if (word == "Adorn")
        return TVerb::Adorn;
    if (word == "Pretend")
        return TVerb::Pretend;
    if (word == "Default")
        return TVerb::Default;
    return TVerb::None;
}

std::string MissingLibraryMessage(const std::string& file)
{
    std::string quoted = "'";
    for (char c : file) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return quoted + "' is not found. Please reinstall this program.";
}

void CheckSidecarLibraries()
{
    for (const char* library : {AboutLibraryName, ProductLibraryName}) {
        if (IsExistingFile(ProgramDirectory() + library))
            continue;
        ShowMessageBox(MissingLibraryMessage(library), 1);
        Application.Terminate();
    }
}

void RunVerb(TVerb verb, const std::string& path)
{
    const std::string folder = VerbFolder(path);
    FolderController().LoadSettings(folder);
    switch (verb) {
    case TVerb::Adorn:
        AdornLoadedFolder(TDialogPlace::Standalone);
        break;
    case TVerb::Pretend:
        PretendLoadedFolder(TDialogPlace::Standalone);
        break;
    case TVerb::Default:
        DefaultLoadedFolder();
        break;
    case TVerb::None:
        break;
    }
}

void RunProgram()
{
    // Made before the objects below and so ended after them.
    std::optional<TShellModule> shell;
    const ProgramObjects objects;
    // Every start writes the Explorer entries again; "Apply to folder" starts unticked.
    TheFolderCtrl = std::make_unique<TFolderCtrl>(false);
    const TVerb verb = ParamCount() >= 2 ? VerbOf(ParamStr(1)) : TVerb::None;
    if (verb != TVerb::None) {
        try {
            // The pickers of the Adorn dialog (colour, file, icon) want OLE on the thread.
            if (verb == TVerb::Adorn)
                shell.emplace();
            RunVerb(verb, ParamStr(2));
            return;
        } catch (...) {
            Application.HandleException(std::current_exception());
        }
    }
    if (!shell)
        shell.emplace();
    // After a failed verb start the library check is left out, as the rest of the verb's work.
    Application.CreateForm<TFrmMainForm>(verb == TVerb::None);
    // Made once at start and never shown: each action opens a dialog of its own.
    Application.CreateForm<TFormAdorn>();
    Application.CreateForm<TFormPretend>();
    Application.Run();
}
