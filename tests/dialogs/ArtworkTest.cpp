// The artwork of every display scale as the program finds it in its resources: which set a
// scale takes, and every picture of every set against the pixels the generator drew.
#include "dialogs/Artwork.h"
#include "skin/BmpButton.h"
#include "toolkit/core/DpiScale.h"
#include "toolkit/core/Exception.h"
#include "toolkit/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {
// A 96-DPI length at a scale, rounded as the windows round their sizes (half up).
int At(int length, int scale)
{
    return (length * scale + 50) / 100;
}

std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* bytes, std::size_t count)
{
    crc = ~crc;
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// The CRC-32 of the pixels as rows of red, green, blue from the top (the generator's order).
std::uint32_t PixelSum(TBitmap& bitmap)
{
    std::uint32_t crc = 0;
    std::vector<std::uint8_t> row(std::size_t(bitmap.Width()) * 3);
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint8_t* bgr = bitmap.ScanLine(y);
        for (std::size_t i = 0; i < row.size(); i += 3) {
            row[i] = bgr[i + 2];
            row[i + 1] = bgr[i + 1];
            row[i + 2] = bgr[i];
        }
        crc = Crc32(crc, row.data(), row.size());
    }
    return crc;
}

TColor PixelOf(TBitmap& bitmap, int x, int y)
{
    const std::uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    return RGBColor(p[2], p[1], p[0]);
}

struct Drawn {
    std::string name; // the picture, without the scale
    int scale;
    int width, height;
    std::uint32_t sum;
};

// The generator's list of what it drew: "RESOURCE width height crc" per line, the larger
// scales' resources ending in _<percent>.
std::vector<Drawn> GeneratorPixelSums()
{
    const char* folder = std::getenv("QUORREL_ART");
    std::string path = folder ? folder : "";
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    std::ifstream file(path + "/pixel_sums.txt");
    std::vector<Drawn> drawn;
    std::string resource;
    Drawn d;
    std::string sum;
    while (file >> resource >> d.width >> d.height >> sum) {
        d.name = resource;
        d.scale = 100;
        const std::size_t cut = resource.find_last_of('_');
        const std::string tail = resource.substr(cut + 1);
        if (tail.find_first_not_of("0123456789") == std::string::npos && tail.size() == 3) {
            d.name = resource.substr(0, cut);
            d.scale = std::stoi(tail);
        }
        d.sum = std::uint32_t(std::stoul(sum, nullptr, 16));
        drawn.push_back(d);
    }
    return drawn;
}

const TColor kMagenta = clFuchsia;
const TColor kBody = RGBColor(222, 222, 222);
} // namespace

TEST(Artwork, AWindowTakesTheNearestSetAtOrAboveItsScale)
{
    const std::pair<int, int> cases[] = {
        {50, 100},  {96, 100},  {100, 100}, {101, 125}, {120, 125}, {125, 125}, {126, 150},
        {144, 150}, {150, 150}, {151, 175}, {175, 175}, {176, 200}, {200, 200}, {201, 250},
        {225, 250}, {250, 250}, {251, 250}, {300, 250}, {500, 250},
    };
    for (const auto& [asked, taken] : cases)
        EXPECT_EQ(ArtScaleFor(asked), taken) << asked << "%";
}

TEST(Artwork, EveryPictureOfEverySetDecodesToTheGeneratorsPixels)
{
    const std::vector<Drawn> drawn = GeneratorPixelSums();
    ASSERT_FALSE(drawn.empty()) << "no pixel_sums.txt in $QUORREL_ART";
    std::map<int, std::set<std::string>> names;
    for (const Drawn& d : drawn) {
        SCOPED_TRACE(d.name + " at " + std::to_string(d.scale) + "%");
        names[d.scale].insert(d.name);
        const auto bitmap = ArtBitmap(d.name, d.scale);
        ASSERT_EQ(bitmap->Width(), d.width);
        ASSERT_EQ(bitmap->Height(), d.height);
        EXPECT_EQ(PixelSum(*bitmap), d.sum) << "the pixels differ from what the generator drew";
    }
    // Each scale the program knows has the same pictures, and no other scale was drawn.
    ASSERT_EQ(names.size(), kArtScales.size());
    for (int scale : kArtScales) {
        ASSERT_TRUE(names.count(scale)) << scale;
        EXPECT_EQ(names[scale], names[100]) << scale;
    }
}

TEST(Artwork, The96DpiPicturesAreDeflatedAndTheirSizeIsReadFromTheHeaderAlone)
{
    const HMODULE program = GetModuleHandleA(nullptr);
    std::size_t stored = 0, pixelBytes = 0;
    for (const Drawn& d : GeneratorPixelSums()) {
        if (d.scale != 100)
            continue;
        SCOPED_TRACE(d.name);
        HRSRC deflated = FindResourceA(program, d.name.c_str(), kDeflatedDibType);
        ASSERT_TRUE(deflated);
        EXPECT_FALSE(FindResourceA(program, d.name.c_str(), RT_BITMAP)) << "one form of each picture";
        EXPECT_TRUE(HasBitmapResource(program, d.name));
        const SIZE size = BitmapResourceSize(program, d.name);
        EXPECT_EQ(size.cx, d.width);
        EXPECT_EQ(size.cy, d.height);
        stored += SizeofResource(program, deflated);
        pixelBytes += std::size_t(d.width) * std::size_t(d.height) * 3;
    }
    // What keeps them out of the program's memory: the set takes a fraction of its pixels' bytes.
    ASSERT_GT(pixelBytes, 0u);
    EXPECT_LT(stored, pixelBytes / 5);
    EXPECT_FALSE(HasBitmapResource(program, "NO_SUCH_PICTURE"));
    EXPECT_THROW(BitmapResourceSize(program, "NO_SUCH_PICTURE"), EResNotFound);
}

TEST(Artwork, SkinsAndTargetsHaveTheirScaledSizesAndKeyColours)
{
    for (int scale : kArtScales) {
        SCOPED_TRACE(std::to_string(scale) + "%");
        for (const char* name : {"SKIN_MAIN", "SKIN_DIALOG"}) {
            const auto skin = ArtBitmap(name, scale);
            ASSERT_EQ(skin->Width(), At(491, scale));
            ASSERT_EQ(skin->Height(), At(342, scale));
            // The window takes its key from the bottom-left pixel; every corner is cut.
            EXPECT_EQ(skin->TransparentColor(), kMagenta);
            EXPECT_EQ(PixelOf(*skin, skin->Width() - 1, 0), kMagenta);
            EXPECT_EQ(PixelOf(*skin, 0, 0), kMagenta);
        }
        // The main window's tree lies on the flat body grey, edge to edge.
        const auto main = ArtBitmap("SKIN_MAIN", scale);
        for (const auto& [x, y] : {std::pair{12, 92}, {364, 310}, {188, 200}})
            EXPECT_EQ(PixelOf(*main, At(x, scale), At(y, scale)), kBody) << x << ", " << y;
        const auto target = ArtBitmap("TARGET_0", scale);
        EXPECT_EQ(target->Width(), At(36, scale));
        EXPECT_EQ(target->Height(), At(36, scale));
    }
    // A scale between two sets takes the larger one.
    EXPECT_EQ(ArtBitmap("SKIN_MAIN", 140)->Width(), At(491, 150));
    EXPECT_EQ(ArtBitmap("SKIN_MAIN", 400)->Width(), At(491, 250));
}

TEST(Artwork, ButtonsLoadTheirStatesOfEachScale)
{
    const struct {
        const char* stem;
        int width, height;
        bool down;
    } buttons[] = {{"BTN_OK", 108, 38, true}, {"BTN_CLOSE", 31, 27, true}, {"BTN_HELP", 48, 41, false}};
    for (int scale : kArtScales) {
        for (const auto& b : buttons) {
            SCOPED_TRACE(std::string(b.stem) + " at " + std::to_string(scale) + "%");
            TBmpButton button;
            LoadButtonArt(button, b.stem, scale);
            TButtonBitmaps& bitmaps = button.Bitmaps();
            EXPECT_EQ(bitmaps.Up().Width(), At(b.width, scale));
            EXPECT_EQ(bitmaps.Up().Height(), At(b.height, scale));
            EXPECT_EQ(bitmaps.Hot().Width(), bitmaps.Up().Width());
            EXPECT_EQ(bitmaps.Down().Empty(), !b.down);
            EXPECT_TRUE(bitmaps.Disabled().Empty());
            // The button leaves olive out: it must arrive exactly.
            for (TBitmap* picture : {&bitmaps.Up(), &bitmaps.Hot()}) {
                EXPECT_EQ(PixelOf(*picture, 0, 0), clOlive);
                EXPECT_EQ(PixelOf(*picture, picture->Width() - 1, picture->Height() - 1), clOlive);
            }
            // The button takes the size of its picture.
            EXPECT_EQ(button.Width(), At(b.width, scale));
        }
    }
}

TEST(Artwork, AMissingPictureIsNamedWithItsScale)
{
    TBmpButton button;
    for (int scale : {100, 175}) {
        const std::string suffix = scale == 100 ? "" : "_" + std::to_string(scale);
        try {
            ArtBitmap("SKIN_NONE", scale);
            ADD_FAILURE() << scale;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "The picture SKIN_NONE" + suffix + " is missing from the program");
        }
        try {
            LoadButtonArt(button, "BTN_NONE", scale);
            ADD_FAILURE() << scale;
        } catch (const Exception& e) {
            EXPECT_NE(e.Message().find("BTN_NONE"), std::string::npos) << e.Message();
        }
    }
}

namespace {
// How often each row of a picture changes between key and other colours (an opaque run that
// reaches the right edge ends there): a clean outline of a convex skin changes twice a row.
std::vector<int> RunEdgesPerRow(TBitmap& picture, TColor key)
{
    std::vector<int> edges;
    for (int y = 0; y < picture.Height(); ++y) {
        int count = 0;
        bool inside = false;
        for (int x = 0; x < picture.Width(); ++x) {
            const bool opaque = PixelOf(picture, x, y) != key;
            count += opaque != inside;
            inside = opaque;
        }
        edges.push_back(count + (inside ? 1 : 0));
    }
    return edges;
}

// A pixel that is neither the key nor anything of the skin's own colours but a blend of the
// key into an edge: strong red and blue, weak green.
bool KeyTinted(TColor c)
{
    const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    return c != kMagenta && r > 150 && b > 150 && g < r - 80;
}
} // namespace

TEST(Artwork, AtAnyDpiEveryPictureTakesItsScaledSizeWithCleanHoles)
{
    std::map<std::string, std::uint32_t> sums;
    for (const Drawn& d : GeneratorPixelSums())
        sums[d.name + "@" + std::to_string(d.scale)] = d.sum;
    ASSERT_FALSE(sums.empty());
    for (int dpi : {96, 110, 120, 132, 144, 168, 180, 192, 240, 288}) {
        SCOPED_TRACE(std::to_string(dpi) + " DPI");
        const int percent = ScalePercentForDpi(dpi);
        const bool drawnForIt = ArtScaleFor(percent) == percent && dpi * 100 % 96 == 0;
        for (const char* name : {"SKIN_MAIN", "SKIN_DIALOG"}) {
            const auto skin = ArtBitmapForDpi(name, dpi, true);
            ASSERT_EQ(skin->Width(), ScaledToDpi(491, dpi));
            ASSERT_EQ(skin->Height(), ScaledToDpi(342, dpi));
            EXPECT_EQ(skin->TransparentColor(), kMagenta);
            for (const auto& [x, y] : {std::pair{0, 0}, {skin->Width() - 1, 0}, {skin->Width() - 1, skin->Height() - 1}})
                EXPECT_EQ(PixelOf(*skin, x, y), kMagenta) << name << " corner " << x << ", " << y;
            if (drawnForIt) {
                // A set drawn for this DPI is taken as it is.
                EXPECT_EQ(PixelSum(*skin), sums[std::string(name) + "@" + std::to_string(percent)]) << name;
                continue;
            }
            // Made from a larger set: at most one opaque run a row (the dialog's skin ends in
            // rows of key alone), and no key colour blended into the edges.
            const std::vector<int> edges = RunEdgesPerRow(*skin, kMagenta);
            for (std::size_t y = 0; y < edges.size(); ++y)
                ASSERT_TRUE(edges[y] == 2 || (edges[y] == 0 && y + 3 >= edges.size())) << name << " row " << y;
            for (int y = 0; y < skin->Height(); ++y)
                for (int x = 0; x < skin->Width(); ++x)
                    ASSERT_FALSE(KeyTinted(PixelOf(*skin, x, y))) << name << " at " << x << ", " << y;
        }
        TBmpButton button;
        LoadButtonArtForDpi(button, "BTN_OK", dpi);
        EXPECT_EQ(button.Width(), ScaledToDpi(108, dpi));
        EXPECT_EQ(button.Height(), ScaledToDpi(38, dpi));
        EXPECT_EQ(button.Bitmaps().Hot().Width(), ScaledToDpi(108, dpi));
        for (TBitmap* picture : {&button.Bitmaps().Up(), &button.Bitmaps().Down()}) {
            EXPECT_EQ(PixelOf(*picture, 0, 0), clOlive);
            EXPECT_EQ(PixelOf(*picture, picture->Width() - 1, picture->Height() - 1), clOlive);
        }
        const auto target = ArtBitmapForDpi("TARGET_4", dpi, false);
        EXPECT_EQ(target->Width(), ScaledToDpi(36, dpi));
        EXPECT_EQ(target->Height(), ScaledToDpi(36, dpi));
    }
    try {
        ArtBitmapForDpi("SKIN_NONE", 144, true);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find("SKIN_NONE"), std::string::npos) << e.Message();
    }
}
