#include "dialogs/ProgressPacing.h"

TProgressPacing::TStep TProgressPacing::Report(std::uint64_t now) noexcept
{
    if (!shown_) {
        if (now < start_ || now - start_ < showAfter_)
            return TStep::Wait;
        shown_ = true;
        last_ = now;
        return TStep::Show;
    }
    if (now < last_ || now - last_ < refreshEvery_)
        return TStep::Wait;
    last_ = now;
    return TStep::Refresh;
}

namespace {
// Thousands grouped with commas: a count of folders is read at a glance.
std::string Grouped(std::size_t n)
{
    std::string digits = std::to_string(n);
    for (std::size_t i = digits.size(); i > 3; i -= 3)
        digits.insert(i - 3, 1, ',');
    return digits;
}
} // namespace

std::string FolderCountText(std::size_t done, std::size_t total)
{
    return Grouped(done) + " of " + Grouped(total) + (total == 1 ? " folder" : " folders");
}

int FilledWidth(std::size_t done, std::size_t total, int width) noexcept
{
    if (total == 0 || width <= 0)
        return 0;
    if (done >= total)
        return width;
    // Counts beyond 32 bits are scaled down, so that a count times the width fits in 64.
    std::uint64_t d = done, t = total;
    while (t > 0xFFFFFFFFu) {
        d >>= 1;
        t >>= 1;
    }
    const auto filled = static_cast<int>(d * static_cast<std::uint64_t>(width) / t);
    // Work that is not done never shows a full bar.
    return filled < width ? filled : width - 1;
}
