#include "engine/ExplorerVerbs.h"

#include "engine/BaseApplication.h"

std::string VerbKey(const std::string& verb)
{
    return "Shell\\Quorrel " + verb;
}

std::string VerbCommand(const std::string& exePath, const std::string& verb)
{
    return "\"" + exePath + "\" " + verb + " \"%1\"";
}

void RegisterExplorerVerbs()
{
    const TBaseApplication application;
    const std::string exe = application.GetExePath();
    for (const char* verb : {VerbAdorn, VerbPretend, VerbDefault})
        application.RegisterDirectoryVerb(VerbKey(verb), VerbCommand(exe, verb));
}
