#include "dialogs/ProgressPacing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {
using TStep = TProgressPacing::TStep;

TEST(ProgressPacing, ShowsOnlyAfterTheDelayThenRefreshesAtItsPace)
{
    TProgressPacing pacing(1000, 500, 40);
    EXPECT_EQ(pacing.Report(1000), TStep::Wait);
    EXPECT_EQ(pacing.Report(1499), TStep::Wait);
    EXPECT_FALSE(pacing.Shown());
    EXPECT_EQ(pacing.Report(1500), TStep::Show);
    EXPECT_TRUE(pacing.Shown());
    EXPECT_EQ(pacing.Report(1539), TStep::Wait);
    EXPECT_EQ(pacing.Report(1540), TStep::Refresh);
    EXPECT_EQ(pacing.Report(1541), TStep::Wait);
    EXPECT_EQ(pacing.Report(9000), TStep::Refresh);
}

TEST(ProgressPacing, AClockThatGoesBackIsNoTimePassed)
{
    TProgressPacing pacing(1000, 500, 40);
    EXPECT_EQ(pacing.Report(10), TStep::Wait) << "no huge unsigned difference";
    EXPECT_EQ(pacing.Report(1600), TStep::Show);
    EXPECT_EQ(pacing.Report(1200), TStep::Wait);
    EXPECT_EQ(pacing.Report(1640), TStep::Refresh);
}

TEST(ProgressPacing, CountsAreGroupedAndOneFolderIsSingular)
{
    EXPECT_EQ(FolderCountText(0, 1), "0 of 1 folder");
    EXPECT_EQ(FolderCountText(999, 1000), "999 of 1,000 folders");
    EXPECT_EQ(FolderCountText(123456, 1234567), "123,456 of 1,234,567 folders");
}

TEST(ProgressPacing, FilledWidthStaysInsideTheBar)
{
    EXPECT_EQ(FilledWidth(0, 0, 100), 0);
    EXPECT_EQ(FilledWidth(5, 10, 100), 50);
    EXPECT_EQ(FilledWidth(11, 10, 100), 100);
    EXPECT_EQ(FilledWidth(1, 3, 0), 0);
    EXPECT_EQ(FilledWidth(1, 3, -5), 0);
    const std::size_t many = std::numeric_limits<std::size_t>::max() / 2;
    EXPECT_EQ(FilledWidth(many, many + 1, 392), 391) << "no overflow, and not full before the end";
    EXPECT_NEAR(FilledWidth(many / 2, many, 392), 196, 1) << "scaled down, within a pixel";
    EXPECT_EQ(FilledWidth(999, 1000, 100), 99);
}
} // namespace
