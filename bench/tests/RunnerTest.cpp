#include "bench/Runner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using bench::Rounds;
using bench::Step;

TEST(Summarise, MedianAndRangeOfUnsortedSamples)
{
    const auto odd = bench::Summarise({5, 1, 4, 2, 3});
    EXPECT_EQ(odd.median, 3);
    EXPECT_EQ(odd.low, 1);
    EXPECT_EQ(odd.high, 5);

    const auto even = bench::Summarise({9, 1, 4, 2});
    EXPECT_EQ(even.median, 3);  // between 2 and 4
    EXPECT_EQ(even.low, 1);
    EXPECT_EQ(even.high, 9);

    EXPECT_EQ(bench::Summarise({7}).median, 7);
    EXPECT_THROW(bench::Summarise({}), std::invalid_argument);
}

// A clock that only moves when the work under test moves it.
struct FakeTime {
    double now = 0;
    Rounds::Clock Clock()
    {
        return [this] { return now; };
    }
};

TEST(Rounds, RefusesTooFewRoundsOrSlicesAndAmbiguousNames)
{
    EXPECT_THROW(Rounds(bench::kMinRounds - 1), std::invalid_argument);
    EXPECT_THROW(Rounds(bench::kMinRounds, 0), std::invalid_argument);
    Rounds runs(bench::kMinRounds);
    runs.Group({{"a", [](int) {}, {}}});
    EXPECT_THROW(runs.Group({{"a", [](int) {}, {}}}), std::invalid_argument);
    EXPECT_THROW(runs.Times("b"), std::invalid_argument);
}

TEST(Rounds, EveryGroupTakesEveryPlaceAndStepsOfAGroupStayTogether)
{
    FakeTime time;
    std::string order;
    Rounds runs(5, 1, time.Clock());
    runs.Group({{"apply", [&](int) { order += 'A'; }, {}}, {"restore", [&](int) { order += 'R'; }, {}}});
    runs.Group({{"floor", [&](int) { order += 'F'; }, {}}});
    runs.Group({{"other", [&](int) { order += 'O'; }, {}}});
    runs.Run();
    // Warm-up round first, then five timed rounds, each starting one group further on.
    EXPECT_EQ(order, "ARFO" "FOAR" "OARF" "ARFO" "FOAR" "OARF");
}

TEST(Rounds, SlicesAlternateTheSidesAndAddUpPerRound)
{
    FakeTime time;
    std::string order;
    Rounds runs(5, 3, time.Clock());
    runs.Group({{"ours", [&](int slice) {
                     order += char('a' + slice);
                     time.now += 10 * (slice + 1);
                 },
                 {}}});
    runs.Group({{"floor", [&](int slice) {
                     order += char('A' + slice);
                     time.now += slice + 1;
                 },
                 {}}});
    runs.Run();
    // Each slice is done by both sides before the next slice; who goes first turns with every
    // slice and every round.
    EXPECT_EQ(order, "aABbcC" "AabBCc" "aABbcC" "AabBCc" "aABbcC" "AabBCc");
    EXPECT_EQ(runs.Times("ours"), std::vector<double>(5, 60));
    EXPECT_EQ(runs.Times("floor"), std::vector<double>(5, 6));
    EXPECT_EQ(runs.Ratios("ours", "floor"), std::vector<double>(5, 10));
}

TEST(Rounds, ChecksSeeTheSliceJustDone)
{
    std::vector<int> done, checked;
    Rounds runs(5, 2);
    runs.Group({{"ours", [&](int slice) { done.push_back(slice); }, [&](int slice) { checked.push_back(slice); }}});
    runs.Run();
    EXPECT_EQ(done.size(), 12u);
    EXPECT_EQ(checked, done);
}

TEST(Rounds, WarmUpAndChecksAreNotTimed)
{
    FakeTime time;
    int round = -1;
    int checks = 0;
    Rounds runs(5, 1, time.Clock());
    runs.Group({{"ours", [&](int) { time.now += 10 + ++round; },
                 [&](int) {
                     ++checks;
                     time.now += 1000;
                 }}});
    runs.Run();
    EXPECT_EQ(checks, 6);
    // The warm-up took 10; the timed rounds 11 to 15, without the check's 1000.
    EXPECT_EQ(runs.Times("ours"), (std::vector<double>{11, 12, 13, 14, 15}));
}

TEST(Rounds, FailedCheckStopsTheRun)
{
    FakeTime time;
    int runsOfNext = 0;
    Rounds runs(5, 1, time.Clock());
    runs.Group({{"broken", [](int) {}, [](int) { throw std::runtime_error("nothing done"); }}});
    runs.Group({{"next", [&](int) { ++runsOfNext; }, {}}});
    EXPECT_THROW(runs.Run(), std::runtime_error);
    EXPECT_EQ(runsOfNext, 0);
}

TEST(Rounds, RatiosPairTheRunsOfOneRound)
{
    FakeTime time;
    const std::vector<double> floorTimes{1, 1, 2, 3, 4, 5}, ourTimes{9, 2, 2, 6, 4, 10};
    std::size_t floorRun = 0, ourRun = 0;
    Rounds runs(5, 1, time.Clock());
    runs.Group({{"floor", [&](int) { time.now += floorTimes[floorRun++]; }, {}}});
    runs.Group({{"ours", [&](int) { time.now += ourTimes[ourRun++]; }, {}}});
    runs.Run();
    EXPECT_EQ(runs.Ratios("ours", "floor"), (std::vector<double>{2, 1, 2, 1, 2}));
    EXPECT_EQ(bench::Summarise(runs.Ratios("ours", "floor")).median, 2);
}

TEST(Rounds, NoRatiosBeforeTheRoundsRun)
{
    Rounds runs(5);
    runs.Group({{"floor", [](int) {}, {}}});
    runs.Group({{"ours", [](int) {}, {}}});
    EXPECT_TRUE(runs.Ratios("ours", "floor").empty());
    EXPECT_THROW(runs.Ratios("ours", "missing"), std::invalid_argument);
}

// Sets a variable of this process for one scope and removes it afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) { _putenv_s(name, value); }
    ~ScopedVariable() { _putenv_s(name_, ""); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
};

TEST(RoundsFromEnvironment, OverridesButNeverGoesBelowTheMinimum)
{
    {
        ScopedVariable unset("QUORREL_BENCH_ROUNDS", "");
        EXPECT_EQ(bench::RoundsFromEnvironment(7), 7);
        EXPECT_EQ(bench::RoundsFromEnvironment(2), bench::kMinRounds);
    }
    {
        ScopedVariable rounds("QUORREL_BENCH_ROUNDS", "9");
        EXPECT_EQ(bench::RoundsFromEnvironment(7), 9);
    }
    {
        ScopedVariable rounds("QUORREL_BENCH_ROUNDS", "3");
        EXPECT_EQ(bench::RoundsFromEnvironment(7), bench::kMinRounds);
    }
    for (const char* bad : {"many", "7x", "100000"}) {
        ScopedVariable rounds("QUORREL_BENCH_ROUNDS", bad);
        EXPECT_THROW(bench::RoundsFromEnvironment(7), std::invalid_argument) << bad;
    }
}

} // namespace
