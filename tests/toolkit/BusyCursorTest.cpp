// The hourglass for batched work: shown by the first owner, kept by nested ones, and the cursor
// before it put back by the last, also when an error passes through.
#include "toolkit/BusyCursor.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(BusyCursor, NestedOwnersShowTheHourglassUntilTheLastEnds)
{
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    const HCURSOR hourglass = LoadCursor(nullptr, IDC_WAIT);
    SetCursor(arrow);
    ASSERT_EQ(GetCursor(), arrow);
    EXPECT_FALSE(TBusyCursor::Active());
    {
        TBusyCursor outer;
        EXPECT_EQ(GetCursor(), hourglass);
        EXPECT_TRUE(TBusyCursor::Active());
        {
            TBusyCursor inner;
            EXPECT_EQ(GetCursor(), hourglass);
        }
        EXPECT_EQ(GetCursor(), hourglass) << "the outer owner still works";
        EXPECT_TRUE(TBusyCursor::Active());
    }
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_FALSE(TBusyCursor::Active());

    try {
        TBusyCursor busy;
        throw std::runtime_error("batch failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_FALSE(TBusyCursor::Active());
}
