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

TEST(FolderFailures, AStopSaysWhatWasChangedWhatWasLeftAndWhatCouldNotBe)
{
    EXPECT_EQ(StoppedMessage({}, 5001, 4881), "Stopped: 120 of 5001 folders were changed. 4881 were left as they were.");
    EXPECT_EQ(StoppedMessage({}, 2, 1), "Stopped: 1 of 2 folders was changed. 1 was left as it was.");
    EXPECT_EQ(StoppedMessage({{"C:\\A\\", "Access is denied."}}, 10, 0),
              "Stopped: 9 of 10 folders were changed. 0 were left as they were. 1 could not be changed:\n\n"
              "C:\\A: Access is denied.");
    // Counts that do not add up never say fewer folders than were left or failed.
    EXPECT_EQ(StoppedMessage({}, 0, 3), "Stopped: 0 of 3 folders were changed. 3 were left as they were.");
    const EFoldersNotChanged stopped({}, 5, 2);
    EXPECT_TRUE(stopped.Stopped());
    EXPECT_EQ(stopped.Changed(), 3u);
    EXPECT_FALSE(EFoldersNotChanged({{"C:\\A\\", "x"}}, 5).Stopped());
}
