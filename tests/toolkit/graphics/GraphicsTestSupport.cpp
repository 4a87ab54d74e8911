#include "GraphicsTestSupport.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

std::string TestDataPath(const std::string& name)
{
    const char* root = std::getenv("QUORREL_TEST_DATA");
    std::string path = root ? root : "";
    // A Unix path from the build reaches Windows programs through drive Z:.
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path + "\\" + name;
}

testing::AssertionResult ColorNear(TColor actual, TColor expected, int tolerance)
{
    auto off = [tolerance](int a, int b) { return std::abs(a - b) > tolerance; };
    if (off(RedOf(actual), RedOf(expected)) || off(GreenOf(actual), GreenOf(expected)) ||
        off(BlueOf(actual), BlueOf(expected))) {
        std::ostringstream text;
        text << std::hex << "colour 0x" << actual << " is not within " << std::dec << tolerance << " of 0x"
             << std::hex << expected;
        return testing::AssertionFailure() << text.str();
    }
    return testing::AssertionSuccess();
}

std::string BytesToString(const TBytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

namespace {
template <typename T>
void Put(std::string& out, T value)
{
    char raw[sizeof value];
    std::memcpy(raw, &value, sizeof value);
    out.append(raw, sizeof value);
}
} // namespace

std::string SolidIconFile(int size, TColor color)
{
    return IconFile({{size, color}});
}

std::string IconFile(const std::vector<TIconEntry>& entries)
{
    // Each image: a DIB header of twice the height (colour plus mask), BGRA pixels, AND mask;
    // or, for a PNG entry, the signature and a body no decoder takes.
    std::vector<std::string> images;
    for (const TIconEntry& entry : entries) {
        std::string image;
        if (entry.Png) {
            image = "\x89PNG\r\n\x1a\n";
            image.append(64, '\0');
            images.push_back(image);
            continue;
        }
        const int size = entry.Size;
        const std::uint32_t maskStride = std::uint32_t((size + 31) / 32 * 4);
        Put<std::uint32_t>(image, 40);
        Put<std::int32_t>(image, size);
        Put<std::int32_t>(image, size * 2);
        Put<std::uint16_t>(image, 1);
        Put<std::uint16_t>(image, 32);
        for (int i = 0; i < 6; ++i)
            Put<std::uint32_t>(image, 0);
        for (int i = 0; i < size * size; ++i) {
            image.push_back(char(BlueOf(entry.Color)));
            image.push_back(char(GreenOf(entry.Color)));
            image.push_back(char(RedOf(entry.Color)));
            image.push_back(char(0xFF));
        }
        image.append(maskStride * std::size_t(size), '\0');
        images.push_back(image);
    }
    std::string out;
    Put<std::uint16_t>(out, 0); // reserved
    Put<std::uint16_t>(out, 1); // icon
    Put<std::uint16_t>(out, std::uint16_t(entries.size()));
    std::uint32_t offset = std::uint32_t(6 + 16 * entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int size = entries[i].Size;
        out.push_back(char(size >= 256 ? 0 : size));
        out.push_back(char(size >= 256 ? 0 : size));
        out.push_back(0);
        out.push_back(0);
        Put<std::uint16_t>(out, 1);
        Put<std::uint16_t>(out, 32);
        Put<std::uint32_t>(out, std::uint32_t(images[i].size()));
        Put<std::uint32_t>(out, offset);
        offset += std::uint32_t(images[i].size());
    }
    for (const std::string& image : images)
        out += image;
    return out;
}
