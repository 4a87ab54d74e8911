#include "skin/KeyedResample.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t Key = 0x00FF00FF, Red = 0x00C00000, Blue = 0x000000C0;

// A picture of 0x00RRGGBB pixels held as the 24-bit rows the resampler reads.
class Picture {
public:
    Picture(int width, int height, std::uint32_t fill = 0)
        : width_(width), height_(height), stride_((width * 3 + 3) & ~3), bits_(std::size_t(stride_) * height)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                Set(x, y, fill);
    }
    Picture(int width, const std::vector<std::uint32_t>& pixels) : Picture(width, int(pixels.size()) / width)
    {
        for (std::size_t i = 0; i < pixels.size(); ++i)
            Set(int(i) % width, int(i) / width, pixels[i]);
    }
    void Set(int x, int y, std::uint32_t c)
    {
        std::uint8_t* p = &bits_[std::size_t(y) * stride_ + std::size_t(x) * 3];
        p[0] = c & 0xFF;
        p[1] = (c >> 8) & 0xFF;
        p[2] = (c >> 16) & 0xFF;
    }
    std::uint32_t At(int x, int y) const
    {
        const std::uint8_t* p = &bits_[std::size_t(y) * stride_ + std::size_t(x) * 3];
        return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
    }
    std::vector<std::uint32_t> Pixels() const
    {
        std::vector<std::uint32_t> all;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                all.push_back(At(x, y));
        return all;
    }
    TPixelRows Rows() { return {bits_.data(), width_, height_, stride_}; }

private:
    int width_, height_, stride_;
    std::vector<std::uint8_t> bits_;
};

std::vector<std::uint32_t> Keyed(Picture source, int width, int height, std::uint32_t key = Key)
{
    Picture target(width, height, 0x00123456);
    ResampleKeyed(source.Rows(), target.Rows(), key);
    return target.Pixels();
}

} // namespace

TEST(KeyedResample, TheSameSizeIsAnExactCopy)
{
    const std::vector<std::uint32_t> pixels{Key, Red, 0x00010203, Blue, Key, 0x00FEFDFC};
    EXPECT_EQ(Keyed(Picture(3, pixels), 3, 2), pixels);
}

TEST(KeyedResample, HolesStayHolesAndNoKeyColourBleedsIntoTheEdge)
{
    // Left half holes, right half red, made half as wide: the boundary stays hard.
    Picture source(4, {Key, Key, Red, Red, Key, Key, Red, Red});
    EXPECT_EQ(Keyed(source, 2, 2), (std::vector<std::uint32_t>{Key, Red, Key, Red}));
    // A new pixel whose area is partly hole takes the colours of its opaque part only.
    Picture mixed(2, {Red, Key, Blue, Blue});
    EXPECT_EQ(Keyed(mixed, 1, 1), (std::vector<std::uint32_t>{0x00400080})); // (C0 + 0 + 0)/3, (0 + C0 + C0)/3
    // Less than half of it opaque: a hole.
    Picture sparse(2, {Red, Key, Key, Key});
    EXPECT_EQ(Keyed(sparse, 1, 1), (std::vector<std::uint32_t>{Key}));
    // Exactly half: opaque (a two-pixel run at an odd place keeps its pixel).
    Picture half(2, {Red, Key, Red, Key});
    EXPECT_EQ(Keyed(half, 1, 1), (std::vector<std::uint32_t>{Red}));
}

TEST(KeyedResample, AnAverageThatEqualsTheKeyIsMovedOffIt)
{
    // Two opaque colours whose average is exactly the key would read as a hole afterwards.
    constexpr std::uint32_t key = 0x00800080;
    const std::vector<std::uint32_t> out = Keyed(Picture(2, {0x00FF00FF, 0x00010001}), 1, 1, key);
    EXPECT_EQ(out, (std::vector<std::uint32_t>{0x00800081}));
}

TEST(KeyedResample, FractionalCoverageIsWeightedByArea)
{
    // Three pixels into two: the first new pixel covers the first old one whole and half of
    // the second, the other the rest.
    Picture source(3, {0x00000000, 0x00000090, 0x000000F0});
    Picture target(2, 1);
    ResampleArea(source.Rows(), target.Rows());
    EXPECT_EQ(target.Pixels(), (std::vector<std::uint32_t>{0x00000030, 0x000000D0}));
    // Growing keeps hard edges: each old pixel covers whole new ones.
    EXPECT_EQ(Keyed(Picture(2, {Key, Red}), 4, 2),
              (std::vector<std::uint32_t>{Key, Key, Red, Red, Key, Key, Red, Red}));
}

TEST(KeyedResample, AnEmptyPictureChangesNothing)
{
    Picture target(2, 2, Blue);
    Picture none(0, 0);
    ResampleKeyed(none.Rows(), target.Rows(), Key);
    EXPECT_EQ(target.Pixels(), std::vector<std::uint32_t>(4, Blue));
}
