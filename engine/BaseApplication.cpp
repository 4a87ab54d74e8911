#include "engine/BaseApplication.h"

#include "toolkit/core/Exception.h"
#include "toolkit/core/PathText.h"
#include "toolkit/core/Registry.h"

#include <windows.h>

#include <vector>

std::string TBaseApplication::GetExePath() const
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
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
