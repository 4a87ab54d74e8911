#include "skin/OpaqueRuns.h"

void AppendOpaqueRuns(const std::uint32_t* row, int width, int y, std::uint32_t key, std::vector<TOpaqueRun>& runs)
{
    constexpr std::uint32_t kRgb = 0x00FFFFFF;
    key &= kRgb;
    int x = 0;
    while (x < width) {
        while (x < width && (row[x] & kRgb) == key)
            ++x;
        if (x == width)
            return;
        const int start = x;
        while (x < width && (row[x] & kRgb) != key)
            ++x;
        runs.push_back({start, y, x});
    }
}
