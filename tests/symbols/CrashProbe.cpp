// Crashes on purpose two calls deep. Built and stripped like the shipped programs, its crash
// under Wine must print a backtrace that names these functions and this file's lines.
#include <cstdio>

// noipa: the calls stay calls, and the null target is not known inside them.
__attribute__((noipa)) void WriteThrough(volatile int* target)
{
    *target = 1;
}

__attribute__((noipa)) void CrashTwoCallsDeep(volatile int* target)
{
    WriteThrough(target);
    std::puts("not reached");
}

int main()
{
    CrashTwoCallsDeep(nullptr);
}
