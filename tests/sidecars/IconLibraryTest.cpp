#include "sidecars/SidecarTestSupport.h"
#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <cstdint>
#include <cstring>
#include <set>

namespace {

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
std::multiset<int> GroupSizes(HMODULE library, int group)
{
    std::multiset<int> sizes;
    HRSRC info = FindResourceA(library, MAKEINTRESOURCEA(group), MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
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
        EXPECT_EQ(GroupSizes(library.get(), group), (std::multiset<int>{16, 32, 48})) << "icon " << group;
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
