#include "skin/ButtonBitmaps.h"

#include <array>
#include <utility>

namespace {
// Each picture with the name it takes after a stem.
std::array<std::pair<TBitmap*, const char*>, 6> Named(TButtonBitmaps& b)
{
    return {{{&b.Up(), "up"},
             {&b.UpAndFocused(), "upandfocused"},
             {&b.Disabled(), "disabled"},
             {&b.Down(), "down"},
             {&b.StayDown(), "staydown"},
             {&b.Hot(), "hot"}}};
}
} // namespace

TButtonBitmaps::TButtonBitmaps()
{
    for (TBitmap* b : {&up_, &upAndFocused_, &disabled_, &down_, &stayDown_, &hot_})
        b->OnChange = [this](TObject*) { Changed(); };
}

TButtonBitmaps::~TButtonBitmaps()
{
    for (TBitmap* b : {&up_, &upAndFocused_, &disabled_, &down_, &stayDown_, &hot_})
        b->OnChange = nullptr;
}

void TButtonBitmaps::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TButtonBitmaps::SetUp(const TBitmap& bitmap)
{
    up_.Assign(bitmap);
}

void TButtonBitmaps::SetUpAndFocused(const TBitmap& bitmap)
{
    upAndFocused_.Assign(bitmap);
}

void TButtonBitmaps::SetDisabled(const TBitmap& bitmap)
{
    disabled_.Assign(bitmap);
}

void TButtonBitmaps::SetDown(const TBitmap& bitmap)
{
    down_.Assign(bitmap);
}

void TButtonBitmaps::SetStayDown(const TBitmap& bitmap)
{
    stayDown_.Assign(bitmap);
}

void TButtonBitmaps::SetHot(const TBitmap& bitmap)
{
    hot_.Assign(bitmap);
}

void TButtonBitmaps::SetTransparentColor(TColor color)
{
    if (color == transparentColor_)
        return;
    transparentColor_ = color;
    Changed();
}

int TButtonBitmaps::LoadFromResources(HINSTANCE instance, const std::string& stem)
{
    int found = 0;
    for (auto [bitmap, name] : Named(*this)) {
        const std::string resource = stem + "_" + name;
        if (!HasBitmapResource(instance, resource))
            continue;
        bitmap->LoadFromResourceName(instance, resource);
        ++found;
    }
    return found;
}

int TButtonBitmaps::LoadFromFiles(const std::string& folder, const std::string& stem)
{
    int found = 0;
    for (auto [bitmap, name] : Named(*this)) {
        std::string path = folder;
        if (!path.empty() && path.back() != '\\' && path.back() != '/')
            path += '\\';
        path += stem + "_" + name + ".bmp";
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            continue;
        bitmap->LoadFromFile(path);
        ++found;
    }
    return found;
}
