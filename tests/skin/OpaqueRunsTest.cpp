#include "skin/OpaqueRuns.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t K = 0x00FF00FF, O = 0x00DEDEDE;

std::vector<TOpaqueRun> Runs(const std::vector<std::uint32_t>& row, std::uint32_t key = K)
{
    std::vector<TOpaqueRun> runs;
    AppendOpaqueRuns(row.data(), int(row.size()), 7, key, runs);
    return runs;
}

std::vector<int> Edges(const std::vector<TOpaqueRun>& runs)
{
    std::vector<int> edges;
    for (const TOpaqueRun& r : runs) {
        EXPECT_EQ(r.Top, 7);
        edges.push_back(r.Left);
        edges.push_back(r.Right);
    }
    return edges;
}

TEST(OpaqueRuns, OneRunPerStretchOfNonKeyPixels)
{
    EXPECT_EQ(Edges(Runs({K, K, O, O, K})), (std::vector<int>{2, 4}));
    EXPECT_EQ(Edges(Runs({K, K, K, O, O})), (std::vector<int>{3, 5})); // up to the right edge
    EXPECT_EQ(Edges(Runs({O, K, O, K, O})), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Edges(Runs({O, O, O})), (std::vector<int>{0, 3}));
    EXPECT_TRUE(Runs({K, K, K}).empty());
    EXPECT_TRUE(Runs({}).empty());
}

TEST(OpaqueRuns, TheFourthByteDoesNotCount)
{
    EXPECT_TRUE(Runs({0xFFFF00FF, 0x12FF00FF}).empty());
    EXPECT_TRUE(Runs({K, K}, 0xAAFF00FF).empty());
    EXPECT_EQ(Edges(Runs({K, 0xFF00FF00})), (std::vector<int>{1, 2}));
}

TEST(OpaqueRuns, RowsAppendToWhatIsThere)
{
    std::vector<TOpaqueRun> runs{{1, 2, 3}};
    const std::uint32_t row[] = {O, K};
    AppendOpaqueRuns(row, 2, 3, K, runs);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].Top, 3);
    EXPECT_EQ(runs[1].Right, 1);
}

} // namespace
