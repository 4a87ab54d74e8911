// Which system libraries Quorrel.exe has loaded at a given moment, read from another process:
// the common dialogs and the accessibility library come only when something needs them, the
// common controls in the version the program's manifest asks for although loaded late.
#include "e2e/ProgramRun.h"

#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// The full paths of the modules loaded in the process.
std::vector<std::string> ModulePaths(HANDLE process)
{
    std::vector<HMODULE> modules(256);
    DWORD needed = 0;
    if (!EnumProcessModules(process, modules.data(), DWORD(modules.size() * sizeof(HMODULE)), &needed)) {
        ADD_FAILURE() << "cannot list the modules: error " << GetLastError();
        return {};
    }
    modules.resize(std::min<std::size_t>(modules.size(), needed / sizeof(HMODULE)));
    std::vector<std::string> paths;
    for (HMODULE module : modules) {
        char path[MAX_PATH * 2] = {};
        if (GetModuleFileNameExA(process, module, path, sizeof path))
            paths.push_back(path);
    }
    return paths;
}

// The path of the loaded module with that file name, or empty.
std::string LoadedModule(HANDLE process, const std::string& fileName)
{
    for (const std::string& path : ModulePaths(process)) {
        const std::string lower = Lower(path);
        const std::size_t slash = lower.find_last_of('\\');
        if (lower.substr(slash == std::string::npos ? 0 : slash + 1) == Lower(fileName))
            return path;
    }
    return {};
}

// The version 6 of the common controls is the side-by-side assembly of that name; the library
// of the system folder is version 5 (whose own version resource Wine does not tell apart).
bool IsVersionSixOfTheCommonControls(const std::string& path)
{
    const std::string lower = Lower(path);
    return lower.find("\\x86_microsoft.windows.common-controls_6595b64144ccf1df_6.") != std::string::npos;
}

} // namespace

TEST(LibraryLoading, TheDialogAndAccessibilityLibrariesComeWhenNeededAndTheCommonControlsInVersionSix)
{
    const ProgramCopy program;
    const TempDir temp;
    // A Default start that cannot find its folder says so in a box, then opens the main window.
    ProgramRun run(program, "Default " + Quoted(temp.Path() + "missing"));
    HWND box = run.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    // No picker has been opened and no screen reader has asked.
    for (const char* library : {"comdlg32.dll", "oleacc.dll"})
        EXPECT_EQ(LoadedModule(run.Process(), library), "") << library << " loaded before anything needed it";
    PressDialogButton(box, IDOK);
    HWND main = run.WaitForWindow(IsMainWindow);
    ASSERT_NE(main, nullptr);
    const std::string controls = LoadedModule(run.Process(), "comctl32.dll");
    ASSERT_NE(controls, "") << "the main window's tree came without the common controls";
    EXPECT_TRUE(IsVersionSixOfTheCommonControls(controls)) << controls;
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}
