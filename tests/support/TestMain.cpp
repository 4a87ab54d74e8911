#include <gtest/gtest.h>

#include <windows.h>

int main(int argc, char** argv)
{
    // No critical-error boxes may stop an unattended run.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
