#pragma once
// The runs of a picture's rows whose pixels differ from the key colour, found on pixel values
// already in memory. No platform header: the scan compiles and is tested natively too.
#include <cstdint>
#include <vector>

// One run of row Top: columns Left up to Right, exclusive.
struct TOpaqueRun {
    int Left;
    int Top;
    int Right;
};

// Appends the runs of one row of `width` pixels. Only the low 24 bits of a pixel count, so the
// fourth byte of a 32-bit pixel does not matter; `key` is compared in the row's own format.
void AppendOpaqueRuns(const std::uint32_t* row, int width, int y, std::uint32_t key, std::vector<TOpaqueRun>& runs);
