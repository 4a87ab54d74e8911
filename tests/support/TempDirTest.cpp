#include "support/TempDir.h"

#include "support/ShellNotifications.h"
#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// The message of the std::runtime_error the call throws; fails the test if it throws none.
template <typename Call>
std::string ErrorOf(Call call)
{
    try {
        call();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    ADD_FAILURE() << "no error";
    return {};
}

testing::AssertionResult Mentions(const std::string& message, const std::string& part)
{
    if (!part.empty() && message.find(part) != std::string::npos)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "\"" << message << "\" does not mention \"" << part << "\"";
}

} // namespace

TEST(TempDir, WriteFileReplacesTheWholeFileByteForByte)
{
    TempDir dir;
    const std::string bytes("line\r\nwith a \0 inside\n", 22);
    const std::string path = dir.WriteFile("data.bin", "a much longer first content that must not survive");
    EXPECT_EQ(dir.WriteFile("data.bin", bytes), path);
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_EQ(ReadFileBytes(dir.WriteFile("empty", "")), "");
}

TEST(TempDir, FailedWritesAndReadsNameThePathAndTheSystemsReason)
{
    TempDir dir;
    const std::string nowhere = dir.Path() + "missing\\file.txt";
    std::string message = ErrorOf([&] { dir.WriteFile("missing\\file.txt", "x"); });
    EXPECT_TRUE(Mentions(message, nowhere));
    EXPECT_TRUE(Mentions(message, SystemReason(ERROR_PATH_NOT_FOUND)));

    // Another program holds the file open without sharing it.
    const std::string held = dir.WriteFile("held.txt", "before");
    {
        const ScopedFile lock(CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        message = ErrorOf([&] { dir.WriteFile("held.txt", "after"); });
        EXPECT_TRUE(Mentions(message, held));
        EXPECT_TRUE(Mentions(message, SystemReason(ERROR_SHARING_VIOLATION)));
    }
    EXPECT_EQ(ReadFileBytes(held), "before");

    message = ErrorOf([&] { ReadFileBytes(dir.Path() + "absent.txt"); });
    EXPECT_TRUE(Mentions(message, dir.Path() + "absent.txt"));
    EXPECT_TRUE(Mentions(message, SystemReason(ERROR_FILE_NOT_FOUND)));

    // A file stands where a folder is asked for.
    message = ErrorOf([&] { dir.MakeDir("held.txt\\below"); });
    EXPECT_TRUE(Mentions(message, dir.Path() + "held.txt\\below\\"));
}

TEST(TempDir, RemovesEverythingInsideEvenTheCurrentFolderButNothingALinkPointsTo)
{
    TempDir outside;
    const std::string kept = outside.WriteFile("kept.txt", "must survive");
    std::string inside;
    {
        TempDir dir;
        inside = dir.Path();
        const std::string deep = dir.MakeDir("a\\b");
        const std::string hidden = dir.WriteFile("a\\b\\hidden.ini", "x");
        SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        SetFileAttributesA(deep.c_str(), FILE_ATTRIBUTE_SYSTEM);
        const std::string from = UnixPathOf(dir.Path()), to = UnixPathOf(outside.Path());
        ASSERT_FALSE(from.empty());
        ASSERT_TRUE(RunUnixCommand(("ln -s '" + to + "' '" + from + "a/link'").c_str()));
        ASSERT_TRUE(FileExists(dir.Path() + "a\\link\\kept.txt"));
        // As a file dialog leaves it: the process's current folder is inside.
        ASSERT_TRUE(SetCurrentDirectoryA(deep.c_str()));
    }
    EXPECT_EQ(GetFileAttributesA(inside.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadFileBytes(kept), "must survive");
}
