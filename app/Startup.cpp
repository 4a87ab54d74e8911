#include "app/Startup.h"

#include "app/MainForm.h"
#include "app/ProductInfo.h"
#include "dialogs/Adorn.h"
#include "dialogs/Pretend.h"
#include "engine/FolderCtrl.h"
#include "shelltree/ShellModule.h"
#include "toolkit/core/Application.h"
#include "toolkit/controls/MessageBox.h"
#include "toolkit/core/PathText.h"

#include <windows.h>

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

void RunProgram()
{
    const TShellModule shell;
    const ProgramObjects objects;
    try {
        Application.CreateForm<TFrmMainForm>();
    } catch (const EApplicationEnd&) {
        return; // a verb start has done its work
    }
    // Made once at start and never shown: each action opens a dialog of its own.
    Application.CreateForm<TFormAdorn>();
    Application.CreateForm<TFormPretend>();
    Application.Run();
}
