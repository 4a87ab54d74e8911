#include "support/ModalCloser.h"

#include "toolkit/core/Scoped.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

int ShowBox(const TestOwnerWindow& owner, const char* caption, const char* text, UINT type)
{
    return MessageBoxA(owner.get(), text, caption, type);
}

} // namespace

TEST(ModalCloser, AnswersTheNamedBoxWithItsCommand)
{
    TestOwnerWindow owner;
    ModalCloser closer(MessageBoxWindow("Question", "Go on?", IDNO));
    EXPECT_FALSE(closer.Found());
    EXPECT_EQ(ShowBox(owner, "Question", "Go on?", MB_YESNO), IDNO);
    EXPECT_TRUE(closer.Found());
}

TEST(ModalCloser, AnswersASequenceOfNamedWindowsInTheirOrder)
{
    TestOwnerWindow owner;
    int prepared = 0;
    ExpectedWindow second = MessageBoxWindow("Second", "two", IDCANCEL);
    second.prepare = [&](HWND box) {
        EXPECT_EQ(DescribeWindow(box), "\"Second\": two");
        ++prepared;
    };
    ModalCloser closer({MessageBoxWindow("First", "one", IDYES), second});
    EXPECT_EQ(ShowBox(owner, "First", "one", MB_YESNO), IDYES);
    EXPECT_EQ(closer.Answered(), 1u);
    EXPECT_FALSE(closer.Found());
    EXPECT_EQ(ShowBox(owner, "Second", "two", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(closer.Answered(), 2u);
    EXPECT_TRUE(closer.Found());
    EXPECT_EQ(prepared, 1);
}

TEST(ModalCloser, AnUnexpectedBoxFailsTheTestWithItsCaptionAndTextAndIsClosed)
{
    TestOwnerWindow owner;
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(
        {
            ModalCloser closer(MessageBoxWindow("Expected", "this one", IDOK));
            answer = ShowBox(owner, "Error", "Disk is full", MB_OK | MB_ICONERROR);
            EXPECT_FALSE(closer.Found());
        },
        "a window nobody expected came up: \"Error\": Disk is full");
    EXPECT_EQ(answer, IDCANCEL) << "closed, not answered with the expected window's command";
}

TEST(ModalCloser, TheNamedCaptionWithAnotherTextOrOutOfTurnIsUnexpected)
{
    TestOwnerWindow owner;
    EXPECT_NONFATAL_FAILURE(
        {
            ModalCloser closer(MessageBoxWindow("Same", "expected text", IDOK));
            ShowBox(owner, "Same", "other text", MB_OK);
        },
        "\"Same\": other text");
    EXPECT_NONFATAL_FAILURE(
        {
            ModalCloser closer({MessageBoxWindow("First", "one", IDOK), MessageBoxWindow("Second", "two", IDOK)});
            ShowBox(owner, "Second", "two", MB_OK);
            EXPECT_EQ(closer.Answered(), 0u);
        },
        "\"Second\": two");
}

TEST(ModalCloser, WithoutACloserOfItsOwnATestFailsOnAnyBox)
{
    // The guard every test runs with (TestMain) answers here.
    TestOwnerWindow owner;
    EXPECT_NONFATAL_FAILURE(ShowBox(owner, "Quorrel", "Unable to write to C:\\x", MB_OK),
                            "\"Quorrel\": Unable to write to C:\\x");
}

TEST(ModalCloser, TheReplacedCloserAnswersAgainOnceTheInnerOneIsGone)
{
    TestOwnerWindow owner;
    ModalCloser outer(MessageBoxWindow("Outer", "later", IDOK));
    {
        ModalCloser inner(MessageBoxWindow("Inner", "first", IDOK));
        EXPECT_EQ(ShowBox(owner, "Inner", "first", MB_OKCANCEL), IDOK);
        EXPECT_TRUE(inner.Found());
    }
    EXPECT_FALSE(outer.Found());
    EXPECT_EQ(ShowBox(owner, "Outer", "later", MB_OKCANCEL), IDOK);
    EXPECT_TRUE(outer.Found());
}

TEST(ModalCloser, AWindowThatIgnoresItsAnswerFailsAndIsClosedAtTheDeadline)
{
    TestOwnerWindow owner;
    constexpr WPARAM NoSuchButton = 4711;
    EXPECT_NONFATAL_FAILURE(
        {
            ModalCloser closer(MessageBoxWindow("Stuck", "no such button", NoSuchButton));
            closer.EndAfter(500);
            ShowBox(owner, "Stuck", "no such button", MB_OK);
            EXPECT_TRUE(closer.Found());
        },
        "a window did not close after its answer: \"Stuck\": no such button");
}

TEST(ModalCloser, TheDeadlineEndsAStuckMenu)
{
    TestOwnerWindow owner;
    const ScopedMenu menu(CreatePopupMenu());
    AppendMenuA(menu.get(), MF_STRING, 1, "Only");
    ModalCloser closer;
    closer.EndAfter(200);
    // Nobody chooses: without the deadline the menu would wait for the user.
    const UINT chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, 20, 20, 0, owner.get(), nullptr);
    EXPECT_EQ(chosen, 0u);
}
