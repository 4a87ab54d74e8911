#include "engine/FolderFailures.h"

#include <gtest/gtest.h>

TEST(FolderFailures, MessageCountsFoldersOnceAndNamesTheFirstFew)
{
    TFolderFailures failures;
    for (int i = 0; i < 7; ++i)
        failures.Add("C:\\Photos\\" + std::to_string(i) + "\\", "Access is denied.");
    failures.Add("C:\\Photos\\1\\", "Its subfolders could not be listed: Access is denied.");
    failures.Add("C:\\Photos\\1\\", "Access is denied.");
    ASSERT_EQ(failures.Items().size(), 7u) << "a folder with two reasons counts once";
    EXPECT_EQ(failures.Items()[1].Reason, "Access is denied. Its subfolders could not be listed: Access is denied.");

    EXPECT_EQ(FailureMessage(failures.Items(), 250), "7 of 250 folders could not be changed:\n\n"
                                                     "C:\\Photos\\0: Access is denied.\n\n"
                                                     "C:\\Photos\\1: Access is denied. Its subfolders could not be "
                                                     "listed: Access is denied.\n\n"
                                                     "C:\\Photos\\2: Access is denied.\n\n"
                                                     "C:\\Photos\\3: Access is denied.\n\n"
                                                     "C:\\Photos\\4: Access is denied.\n\n"
                                                     "and 2 more.");
    // A drive root keeps its backslash; the count never says fewer folders than it names.
    EXPECT_EQ(FailureMessage({{"D:\\", "The device is not ready."}}, 0),
              "1 of 1 folder could not be changed:\n\nD:\\: The device is not ready.");
}
