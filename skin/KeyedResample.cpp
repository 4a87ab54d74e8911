#include "skin/KeyedResample.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {
// The old pixels one new pixel covers along an axis, with the length of each it covers, in
// units where an old pixel is `to` long and a new one `from` long (both whole numbers).
struct TCover {
    int First;
    std::vector<std::int64_t> Weights;
};

std::vector<TCover> Covers(int from, int to)
{
    std::vector<TCover> covers(static_cast<std::size_t>(to));
    for (int i = 0; i < to; ++i) {
        const std::int64_t start = std::int64_t(i) * from, end = start + from;
        const int first = static_cast<int>(start / to);
        const int last = static_cast<int>(std::min<std::int64_t>((end - 1) / to, from - 1));
        TCover& cover = covers[static_cast<std::size_t>(i)];
        cover.First = first;
        for (int p = first; p <= last; ++p) {
            const std::int64_t lo = std::max<std::int64_t>(start, std::int64_t(p) * to);
            const std::int64_t hi = std::min<std::int64_t>(end, std::int64_t(p + 1) * to);
            cover.Weights.push_back(hi - lo);
        }
    }
    return covers;
}

void Resample(const TPixelRows& source, const TPixelRows& target, bool keyed, std::uint32_t key)
{
    if (source.Width <= 0 || source.Height <= 0 || target.Width <= 0 || target.Height <= 0)
        return;
    const std::uint8_t keyBlue = key & 0xFF, keyGreen = (key >> 8) & 0xFF, keyRed = (key >> 16) & 0xFF;
    const std::vector<TCover> columns = Covers(source.Width, target.Width);
    const std::vector<TCover> rows = Covers(source.Height, target.Height);
    // The whole area of a new pixel in the product of both axes' units.
    const std::int64_t area = std::int64_t(source.Width) * source.Height;
    for (int y = 0; y < target.Height; ++y) {
        const TCover& row = rows[static_cast<std::size_t>(y)];
        std::uint8_t* out = target.Bits + std::ptrdiff_t(y) * target.Stride;
        for (int x = 0; x < target.Width; ++x, out += 3) {
            const TCover& column = columns[static_cast<std::size_t>(x)];
            std::int64_t opaque = 0, blue = 0, green = 0, red = 0;
            for (std::size_t j = 0; j < row.Weights.size(); ++j) {
                const std::uint8_t* in = source.Bits + std::ptrdiff_t(row.First + int(j)) * source.Stride +
                                         std::ptrdiff_t(column.First) * 3;
                for (std::size_t i = 0; i < column.Weights.size(); ++i, in += 3) {
                    if (keyed && in[0] == keyBlue && in[1] == keyGreen && in[2] == keyRed)
                        continue;
                    const std::int64_t w = row.Weights[j] * column.Weights[i];
                    opaque += w;
                    blue += w * in[0];
                    green += w * in[1];
                    red += w * in[2];
                }
            }
            if (opaque * 2 < area) {
                out[0] = keyBlue;
                out[1] = keyGreen;
                out[2] = keyRed;
                continue;
            }
            out[0] = std::uint8_t((blue + opaque / 2) / opaque);
            out[1] = std::uint8_t((green + opaque / 2) / opaque);
            out[2] = std::uint8_t((red + opaque / 2) / opaque);
            // An average that happens to equal the key would read as a hole: one step off.
            if (keyed && out[0] == keyBlue && out[1] == keyGreen && out[2] == keyRed)
                out[0] = std::uint8_t(keyBlue ^ 1);
        }
    }
}
} // namespace

void ResampleKeyed(const TPixelRows& source, const TPixelRows& target, std::uint32_t key)
{
    Resample(source, target, true, key);
}

void ResampleArea(const TPixelRows& source, const TPixelRows& target)
{
    Resample(source, target, false, 0);
}
