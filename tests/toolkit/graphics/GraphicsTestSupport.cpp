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
    const std::uint32_t maskStride = std::uint32_t((size + 31) / 32 * 4);
    const std::uint32_t imageBytes = 40 + std::uint32_t(size * size * 4) + maskStride * std::uint32_t(size);
    std::string out;
    Put<std::uint16_t>(out, 0); // reserved
    Put<std::uint16_t>(out, 1); // icon
    Put<std::uint16_t>(out, 1); // one entry
    out.push_back(char(size));
    out.push_back(char(size));
    out.push_back(0);
    out.push_back(0);
    Put<std::uint16_t>(out, 1);
    Put<std::uint16_t>(out, 32);
    Put<std::uint32_t>(out, imageBytes);
    Put<std::uint32_t>(out, 6 + 16);
    // The image: a DIB header of twice the height (colour plus mask), BGRA pixels, AND mask.
    Put<std::uint32_t>(out, 40);
    Put<std::int32_t>(out, size);
    Put<std::int32_t>(out, size * 2);
    Put<std::uint16_t>(out, 1);
    Put<std::uint16_t>(out, 32);
    for (int i = 0; i < 6; ++i)
        Put<std::uint32_t>(out, 0);
    for (int i = 0; i < size * size; ++i) {
        out.push_back(char(BlueOf(color)));
        out.push_back(char(GreenOf(color)));
        out.push_back(char(RedOf(color)));
        out.push_back(char(0xFF));
    }
    out.append(maskStride * std::size_t(size), '\0');
    return out;
}
