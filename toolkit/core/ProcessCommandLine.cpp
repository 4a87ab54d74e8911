// The process's own command line, for the pure tokeniser of CommandLine.cpp.
#include "toolkit/core/CommandLine.h"
#include "toolkit/core/PathText.h"

#include <windows.h>

namespace {

bool AnsiLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}

const TCommandLine* current = nullptr;

} // namespace

const TCommandLine& ProcessCommandLine()
{
    // The line as given, in the code page: where the page lacks a character the platform's
    // own ANSI line would put a look-alike in, which may name another folder.
    static const TCommandLine process(WideToAnsi(GetCommandLineW()), ProgramPath(), &AnsiLeadByte);
    return current ? *current : process;
}

int ParamCount()
{
    return ProcessCommandLine().ParamCount();
}

std::string ParamStr(int index)
{
    return ProcessCommandLine().ParamStr(index);
}

TCommandLineScope::TCommandLineScope(TCommandLine line) : previous_(current), line_(std::move(line))
{
    current = &line_;
}

TCommandLineScope::~TCommandLineScope()
{
    current = previous_;
}
