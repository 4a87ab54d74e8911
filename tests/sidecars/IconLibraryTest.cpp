#include "sidecars/SidecarTestSupport.h"
#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace {

// The shell's sizes from 100% to 150%, the Adorn dialog's preview (32 pixels at 96 DPI) up to
// 250%, and 256 for the shell's largest views.
const std::multiset<int> kLibrarySizes{16, 20, 24, 32, 40, 48, 56, 64, 80, 256};

// The icon files the library is built from.
int LibraryIconFiles()
{
    WIN32_FIND_DATAA found;
    const ScopedFind find(FindFirstFileA(ArtPath("library\\*.ico").c_str(), &found));
    int count = 0;
    if (find)
        do
            ++count;
        while (FindNextFileA(find.get(), &found));
    return count;
}

#pragma pack(push, 2)
struct GroupIconEntry {
    std::uint8_t Width, Height, Colors, Reserved;
    std::uint16_t Planes, BitCount;
    std::uint32_t BytesInRes;
    std::uint16_t Id;
};
#pragma pack(pop)

// The image sizes of one icon group, each image checked to be in the library too.
std::multiset<int> GroupSizes(HMODULE library, const char* group)
{
    std::multiset<int> sizes;
    HRSRC info = FindResourceA(library, group, MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    if (!info)
        return sizes;
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(library, info)));
    std::uint16_t count = 0;
    std::memcpy(&count, data + 4, sizeof count);
    for (std::uint16_t i = 0; i < count; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, data + 6 + i * sizeof entry, sizeof entry);
        HRSRC image = FindResourceA(library, MAKEINTRESOURCEA(entry.Id), MAKEINTRESOURCEA(3)); // RT_ICON
        if (image && SizeofResource(library, image) == entry.BytesInRes)
            sizes.insert(entry.Width ? entry.Width : 256);
    }
    return sizes;
}

// The colour image of an icon as 32-bit pixels (blue, green, red, alpha), rows from the top.
std::vector<std::uint32_t> IconPixels(HICON icon, int& width, int& height)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return {};
    const ScopedBitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    width = bitmap.bmWidth;
    height = bitmap.bmHeight;
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(std::size_t(width) * height);
    const ScopedDC dc(CreateCompatibleDC(nullptr));
    if (!GetDIBits(dc.get(), info.hbmColor, 0, UINT(height), pixels.data(), &format, DIB_RGB_COLORS))
        return {};
    return pixels;
}

// The image a group offers for a size, decoded from its own data at its own size (a PNG
// image as well): it must be that size, with a shape (an opaque middle, clear corners).
void ExpectIconImage(HMODULE module, const char* group, int size)
{
    HRSRC info = FindResourceA(module, group, MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    ASSERT_NE(info, nullptr);
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, info)));
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3)); // RT_ICON
    ASSERT_NE(image, nullptr) << size;
    auto* bits = static_cast<BYTE*>(LockResource(LoadResource(module, image)));
    const ScopedIcon icon(CreateIconFromResourceEx(bits, SizeofResource(module, image), TRUE, 0x00030000, 0, 0,
                                                   LR_DEFAULTCOLOR));
    ASSERT_TRUE(icon) << "the image for " << size << " does not decode";
    int width = 0, height = 0;
    const std::vector<std::uint32_t> pixels = IconPixels(icon.get(), width, height);
    ASSERT_EQ(width, size);
    ASSERT_EQ(height, size);
    EXPECT_EQ(pixels[std::size_t(size / 2) * size + size / 2] >> 24, 255u) << size;
    EXPECT_EQ(pixels[0] >> 24, 0u) << size;
}

} // namespace

TEST(IconLibrary, HoldsEveryFolderIconNumberedFromOne)
{
    const std::string path = BinPath("icon.dll");
    const int expected = LibraryIconFiles();
    ASSERT_GT(expected, 0);
    EXPECT_EQ(static_cast<int>(ExtractIconExA(path.c_str(), -1, nullptr, nullptr, 0)), expected);

    const ScopedLibrary library(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(library);
    for (int group = 1; group <= expected; ++group)
        EXPECT_EQ(GroupSizes(library.get(), MAKEINTRESOURCEA(group)), kLibrarySizes) << "icon " << group;
    EXPECT_EQ(FindResourceA(library.get(), MAKEINTRESOURCEA(expected + 1), MAKEINTRESOURCEA(14)), nullptr);
}

TEST(IconLibrary, EveryIconExtractsAtTheShellsSizes)
{
    const std::string path = BinPath("icon.dll");
    const int count = LibraryIconFiles();
    for (int index = 0; index < count; ++index) {
        HICON large = nullptr, small = nullptr;
        ASSERT_EQ(ExtractIconExA(path.c_str(), index, &large, &small, 1), 2u) << "icon " << index;
        const ScopedIcon ownedLarge(large), ownedSmall(small);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(large, &info));
        const ScopedBitmap colour(info.hbmColor), mask(info.hbmMask);
        BITMAP bitmap{};
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXICON)) << "icon " << index;
    }
}

TEST(IconLibrary, EveryImageLoadsAtItsOwnSizeThe256OneFromItsPng)
{
    const ScopedLibrary library(LoadLibraryExA(BinPath("icon.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(library);
    const int count = LibraryIconFiles();
    for (int group = 1; group <= count; ++group)
        for (int size : kLibrarySizes) {
            SCOPED_TRACE("icon " + std::to_string(group));
            ExpectIconImage(library.get(), MAKEINTRESOURCEA(group), size);
        }
}

TEST(ProgramIcon, HoldsTheShellsSizesUpTo256)
{
    const ScopedLibrary program(LoadLibraryExA(BinPath("Quorrel.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(program);
    const std::multiset<int> sizes = GroupSizes(program.get(), "MAINICON");
    EXPECT_EQ(sizes, (std::multiset<int>{16, 20, 24, 32, 40, 48, 64, 96, 128, 256}));
    for (int size : sizes)
        ExpectIconImage(program.get(), "MAINICON", size);
}
