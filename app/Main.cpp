// Start-up of this stage of the program: the folder customisation engine without windows.
// It registers the Explorer verbs (as every start does) and carries out the Default verb on the
// folder named on the command line; the main window and the two dialogs come later.
#include "engine/FolderCtrl.h"
#include "toolkit/Exception.h"
#include "toolkit/PathText.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Arguments()
{
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(WideToAnsi(wide[i]));
    LocalFree(wide);
    return arguments;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        TheFolderCtrl = std::make_unique<TFolderCtrl>(false);
        const auto arguments = Arguments();
        if (arguments.size() >= 3 && arguments[1] == "Default") {
            TheFolderCtrl->LoadSettings(arguments[2]);
            TheFolderCtrl->RestoreDefault();
            return 0;
        }
        MessageBoxA(nullptr,
                    "The Explorer entries Adorn, Pretend and Default are registered.\n"
                    "Default already restores a folder; the main window and the Adorn and Pretend "
                    "dialogs are not built yet.",
                    "Quorrel", MB_ICONINFORMATION | MB_OK);
    } catch (const Exception& e) {
        MessageBoxA(nullptr, e.Message().c_str(), "Quorrel", MB_ICONERROR | MB_OK);
    }
    return 0;
}
