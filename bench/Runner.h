#pragma once
// The runner every benchmark program uses. This machine and Wine are noisy, so a figure from a
// single run, or a ratio of two runs made minutes apart, says little. Instead each way of doing
// the work (ours and a floor doing the same platform calls) runs once per round, the rounds
// follow each other in one process, and every figure is printed as the median over the rounds
// with its range. A ratio is taken per round, between runs made seconds apart, and its median
// and range are printed the same way.
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace bench {

// Fewer rounds than this give no median worth printing.
constexpr int kMinRounds = 5;

struct Spread {
    double median = 0;
    double low = 0;   // smallest value
    double high = 0;  // largest value
};

// Median and range of a sample; throws std::invalid_argument for an empty one.
Spread Summarise(std::vector<double> values);

// One timed piece of work, given the slice to do (always 0 without slices). `check`, when
// given, runs untimed right after it and throws when the work was not done as it should have
// been, so a broken run never becomes a figure.
struct Step {
    std::string name;
    std::function<void(int slice)> work;
    std::function<void(int slice)> check;
};

struct Unit {
    double scale;
    const char* suffix;
};
inline constexpr Unit kMilliseconds{1e3, "ms"};
inline constexpr Unit kSeconds{1, "s"};

class Rounds {
public:
    using Clock = std::function<double()>;  // seconds

    // `count` timed rounds (at least kMinRounds) after one untimed warm-up round. Work that
    // takes seconds is cut into `slices` (parts of a tree, say): every way does slice 0, then
    // every way slice 1, and so on, and a round's time is the sum over its slices. Both sides
    // of a ratio then meet the same moments of a busy machine.
    explicit Rounds(int count, int slices = 1, Clock clock = {});

    // A group's steps run back to back in the order given, so one step may leave the state
    // the next one starts from (apply, then restore). Step names are unique across groups.
    void Group(std::vector<Step> steps);

    // Slice s of round r starts with group (r + s) mod N and goes on in turn, so every group
    // takes every place and neither ours nor the floor always runs first.
    void Run();

    int Count() const { return count_; }
    // Seconds of each timed round of a step, in round order.
    const std::vector<double>& Times(const std::string& name) const;
    // Per round: time of `name` divided by time of `floor`.
    std::vector<double> Ratios(const std::string& name, const std::string& floor) const;

    // "  label   median unit  (low-high)"; with QUORREL_BENCH_DETAIL=1 every round's time follows.
    void PrintTime(const std::string& label, const std::string& name, Unit unit) const;
    // "  label   median  (low-high, N pairs)  aim ..."; `aim` <= 0 prints none.
    void PrintRatio(const std::string& label, const std::string& name, const std::string& floor,
                    double aim = 0) const;

private:
    int count_;
    int slices_;
    Clock clock_;
    std::vector<std::vector<Step>> groups_;
    std::map<std::string, std::vector<double>> times_;
};

// Rounds to use: QUORREL_BENCH_ROUNDS when set, else `fallback`; never fewer than kMinRounds.
// A value that is no number of rounds is refused with std::invalid_argument.
int RoundsFromEnvironment(int fallback);

} // namespace bench
