#include "toolkit/core/CommandLine.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(ProcessCommandLine, ParameterZeroIsTheRunningExecutableAndAScopeStandsInForTheLine)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    EXPECT_EQ(ParamStr(0), exe);
    const int before = ParamCount();
    {
        const TCommandLineScope scope(TCommandLine(R"(q Adorn "C:\x")", "Q.exe", &NoLeadBytes));
        EXPECT_EQ(ParamCount(), 2);
        EXPECT_EQ(ParamStr(2), R"(C:\x)");
        {
            const TCommandLineScope inner(TCommandLine("q", "Q.exe", &NoLeadBytes));
            EXPECT_EQ(ParamCount(), 0);
        }
        EXPECT_EQ(ParamStr(1), "Adorn");
    }
    EXPECT_EQ(ParamCount(), before);
    EXPECT_EQ(ParamStr(0), exe);
}
