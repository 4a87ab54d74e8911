#include "toolkit/graphics/ImageList.h"

#include <shellapi.h>

#include <gtest/gtest.h>

namespace {
HIMAGELIST SystemSmallIcons()
{
    SHFILEINFOA info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}
} // namespace

TEST(ImageList, SystemSmallIconsAreSharedNotDestroyed)
{
    HIMAGELIST seen = nullptr;
    {
        TImageList images;
        images.ShareSystemSmallIcons();
        seen = images.Handle();
        ASSERT_NE(seen, nullptr);
        EXPECT_TRUE(images.ShareImages());
        EXPECT_EQ(images.Width(), GetSystemMetrics(SM_CXSMICON));
        EXPECT_GT(images.Count(), 0);
    }
    // Still usable after the object is gone: it was never ours to destroy.
    EXPECT_EQ(SystemSmallIcons(), seen);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(seen, &cx, &cy));
    EXPECT_GT(ImageList_GetImageCount(seen), 0);
}

TEST(ImageList, OwnListTakesIcons)
{
    TImageList images(16, 16);
    EXPECT_FALSE(images.ShareImages());
    EXPECT_EQ(images.Count(), 0);
    EXPECT_EQ(images.AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION))), 0);
    EXPECT_EQ(images.AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING))), 1);
    EXPECT_EQ(images.Count(), 2);
    EXPECT_EQ(images.Height(), 16);
}

TEST(ImageList, SharingReleasesAnOwnedListAndAdoptingTakesOne)
{
    TImageList images(16, 16);
    images.Share(SystemSmallIcons());
    EXPECT_TRUE(images.ShareImages());
    HIMAGELIST made = ImageList_Create(8, 8, ILC_COLOR32, 1, 1);
    images.Adopt(made);
    EXPECT_FALSE(images.ShareImages());
    EXPECT_EQ(images.Handle(), made);
    EXPECT_EQ(images.Width(), 8);
    // Adopting the list it holds already keeps it alive.
    images.Adopt(made);
    EXPECT_EQ(images.Width(), 8);
    EXPECT_EQ(images.AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION))), 0);
    EXPECT_EQ(images.Count(), 1);
}
