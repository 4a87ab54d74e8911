#pragma once
// When the progress window of a long folder walk appears and how often it is brought up to
// date, from the milliseconds since the walk began; and the words it shows. No platform
// header: the clock is handed in.
#include <cstddef>
#include <cstdint>
#include <string>

class TProgressPacing {
public:
    // Work shorter than `showAfter` never shows a window; once shown, it is redrawn (and the
    // windows' messages handled) at most every `refreshEvery` milliseconds.
    TProgressPacing(std::uint64_t start, std::uint64_t showAfter = 500, std::uint64_t refreshEvery = 40) noexcept
        : start_(start), showAfter_(showAfter), refreshEvery_(refreshEvery)
    {
    }

    enum class TStep { Wait, Show, Refresh };
    // What a report at `now` asks for. A clock that goes back counts as no time passed.
    TStep Report(std::uint64_t now) noexcept;
    bool Shown() const noexcept { return shown_; }

private:
    std::uint64_t start_, showAfter_, refreshEvery_;
    std::uint64_t last_ = 0;
    bool shown_ = false;
};

// "3 of 1,200 folders"; "1 of 1 folder".
std::string FolderCountText(std::size_t done, std::size_t total);
// The share done, 0 to `width`, never past either end; `width` only once all is done.
int FilledWidth(std::size_t done, std::size_t total, int width) noexcept;
