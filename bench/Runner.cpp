#include "bench/Runner.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace bench {

Spread Summarise(std::vector<double> values)
{
    if (values.empty())
        throw std::invalid_argument("no values to summarise");
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

Rounds::Rounds(int count, int slices, Clock clock) : count_(count), slices_(slices), clock_(std::move(clock))
{
    if (count < kMinRounds)
        throw std::invalid_argument("a benchmark needs at least " + std::to_string(kMinRounds) + " rounds");
    if (slices < 1)
        throw std::invalid_argument("a round has at least one slice");
    if (!clock_)
        clock_ = [] { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); };
}

void Rounds::Group(std::vector<Step> steps)
{
    for (const Step& step : steps)
        if (!times_.emplace(step.name, std::vector<double>{}).second)
            throw std::invalid_argument("two steps are named " + step.name);
    groups_.push_back(std::move(steps));
}

void Rounds::Run()
{
    const std::size_t n = groups_.size();
    // Round -1 warms the file cache, the loader and the heap, and leaves every slice in the
    // state later rounds find it in; its times are dropped.
    for (int round = -1; round < count_; ++round) {
        if (round >= 0)
            for (auto& [name, times] : times_)
                times.push_back(0);
        for (int slice = 0; slice < slices_; ++slice) {
            for (std::size_t i = 0; i < n; ++i) {
                for (const Step& step : groups_[(std::size_t(round + 1 + slice) + i) % n]) {
                    const double start = clock_();
                    step.work(slice);
                    const double elapsed = clock_() - start;
                    if (step.check)
                        step.check(slice);
                    if (round >= 0)
                        times_[step.name].back() += elapsed;
                }
            }
        }
    }
}

const std::vector<double>& Rounds::Times(const std::string& name) const
{
    const auto found = times_.find(name);
    if (found == times_.end())
        throw std::invalid_argument("no step is named " + name);
    return found->second;
}

std::vector<double> Rounds::Ratios(const std::string& name, const std::string& floor) const
{
    const auto& ours = Times(name);
    const auto& base = Times(floor);
    if (ours.size() != base.size())
        throw std::logic_error("ratios are taken after the rounds have run");
    std::vector<double> ratios;
    for (std::size_t i = 0; i < ours.size(); ++i)
        ratios.push_back(ours[i] / base[i]);
    return ratios;
}

void Rounds::PrintTime(const std::string& label, const std::string& name, Unit unit) const
{
    const auto& times = Times(name);
    const Spread s = Summarise(times);
    std::printf("  %-44s %9.3f %-2s  (%.3f-%.3f)", label.c_str(), s.median * unit.scale, unit.suffix,
                s.low * unit.scale, s.high * unit.scale);
    // Every round's time, in round order, for looking into a wide range.
    if (const char* detail = std::getenv("QUORREL_BENCH_DETAIL"); detail && *detail == '1')
        for (double t : times)
            std::printf(" %.3f", t * unit.scale);
    std::printf("\n");
}

void Rounds::PrintRatio(const std::string& label, const std::string& name, const std::string& floor, double aim) const
{
    const auto ratios = Ratios(name, floor);
    const Spread s = Summarise(ratios);
    std::printf("  %-44s %9.2f     (%.2f-%.2f, %zu pairs)", label.c_str(), s.median, s.low, s.high, ratios.size());
    if (aim > 0)
        std::printf("  aim at most %.2f: %s", aim, s.median <= aim ? "met" : "NOT met");
    std::printf("\n");
}

int RoundsFromEnvironment(int fallback)
{
    int rounds = fallback;
    if (const char* text = std::getenv("QUORREL_BENCH_ROUNDS"); text && *text) {
        char* end = nullptr;
        const long value = std::strtol(text, &end, 10);
        if (*end != '\0' || value > 1000)
            throw std::invalid_argument(std::string("QUORREL_BENCH_ROUNDS is not a number of rounds: ") + text);
        rounds = int(value);
    }
    return std::max(rounds, kMinRounds);
}

} // namespace bench
