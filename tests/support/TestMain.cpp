#include "support/ModalCloser.h"
#include "toolkit/core/Application.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <optional>

namespace {
// Every test runs with a closer that expects no window: a box that comes up where the test
// has no closer of its own fails that test with its text instead of waiting for a click.
class UnexpectedWindowGuard : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { guard_.emplace(); }
    void OnTestEnd(const testing::TestInfo&) override
    {
        // An error a paint or notice posted and the test never let through is told now, while
        // the guard still names it, instead of in whichever test runs messages next.
        Application.HandlePostedErrors();
        guard_.reset();
    }
    std::optional<ModalCloser> guard_;
};
} // namespace

int main(int argc, char** argv)
{
    // No critical-error boxes may stop an unattended run.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    // ctest reads the list of tests line by line: the runtime's text mode would end every line
    // of it with a carriage return, which then becomes part of the suite's name.
    _setmode(_fileno(stdout), _O_BINARY);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new UnexpectedWindowGuard);
    return RUN_ALL_TESTS();
}
