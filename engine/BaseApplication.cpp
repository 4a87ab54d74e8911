#include "engine/BaseApplication.h"

#include "toolkit/core/Exception.h"
#include "toolkit/core/PathText.h"
#include "toolkit/core/Registry.h"

#include <windows.h>

std::string TBaseApplication::GetExePath() const
{
    return ProgramPath();
}

std::string TBaseApplication::GetAppDirectory(const std::string& sub) const
{
    const std::string exe = GetExePath();
    return WithBackslash(exe.substr(0, exe.find_last_of("\\/:") + 1) + sub);
}

bool TBaseApplication::RegisterDirectoryVerb(const std::string& verbKey, const std::string& command) const
{
    try {
        TRegistry registry(HKEY_CLASSES_ROOT);
        if (!registry.OpenKey("Directory\\" + verbKey + "\\command", true))
            return false;
        registry.WriteString("", command);
        return true;
    } catch (const Exception&) {
        return false;
    }
}
