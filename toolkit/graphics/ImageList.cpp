#include "toolkit/graphics/ImageList.h"

#include "toolkit/core/Exception.h"
#include "toolkit/core/LateBound.h"

#include <shellapi.h>

TImageList::TImageList(int width, int height)
    : owned_(late::ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4))
{
    if (!owned_)
        throw EOSError("An image list cannot be created");
}

void TImageList::Adopt(HIMAGELIST list) noexcept
{
    shared_ = nullptr;
    owned_.reset(list);
}

void TImageList::Share(HIMAGELIST list) noexcept
{
    owned_.reset();
    shared_ = list;
}

void TImageList::ShareSystemSmallIcons()
{
    SHFILEINFOA info{};
    const auto list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(
        "C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (!list)
        throw EOSError("The system image list is not available");
    Share(list);
}

int TImageList::Count() const noexcept
{
    return Handle() ? late::ImageList_GetImageCount(Handle()) : 0;
}

int TImageList::Width() const noexcept
{
    int cx = 0, cy = 0;
    if (Handle())
        late::ImageList_GetIconSize(Handle(), &cx, &cy);
    return cx;
}

int TImageList::Height() const noexcept
{
    int cx = 0, cy = 0;
    if (Handle())
        late::ImageList_GetIconSize(Handle(), &cx, &cy);
    return cy;
}

int TImageList::AddIcon(HICON icon)
{
    if (!Handle())
        throw Exception("The image list has no handle");
    const int index = late::ImageList_ReplaceIcon(Handle(), -1, icon);
    if (index < 0)
        throw EOSError("An icon cannot be added to the image list");
    return index;
}
