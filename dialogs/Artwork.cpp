#include "dialogs/Artwork.h"

#include "skin/BmpButton.h"
#include "skin/KeyedPicture.h"
#include "toolkit/core/DpiScale.h"
#include "toolkit/core/Exception.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/PngImage.h"

#include <array>
#include <utility>

namespace {
HINSTANCE ProgramModule() noexcept
{
    return GetModuleHandleA(nullptr);
}

// The resource that holds a picture of the set, and its kind.
struct ArtResource {
    std::string name;
    const char* type;
};

ArtResource ResourceFor(const std::string& name, int scale)
{
    if (scale == kArtScales.front())
        return {name, RT_BITMAP};
    return {name + "_" + std::to_string(scale), RT_RCDATA};
}

// The states of a button's pictures, in the order the 96-DPI set is read by its bitmaps.
using StateSetter = void (TButtonBitmaps::*)(const TBitmap&);
const std::array<std::pair<const char*, StateSetter>, 6>& ButtonStates()
{
    static const std::array<std::pair<const char*, StateSetter>, 6> states{{
        {"_UP", &TButtonBitmaps::SetUp},
        {"_UPANDFOCUSED", &TButtonBitmaps::SetUpAndFocused},
        {"_DISABLED", &TButtonBitmaps::SetDisabled},
        {"_DOWN", &TButtonBitmaps::SetDown},
        {"_STAYDOWN", &TButtonBitmaps::SetStayDown},
        {"_HOT", &TButtonBitmaps::SetHot},
    }};
    return states;
}

bool Exists(const ArtResource& resource) noexcept
{
    if (resource.type == RT_BITMAP)
        return HasBitmapResource(ProgramModule(), resource.name);
    return FindResourceA(ProgramModule(), resource.name.c_str(), resource.type) != nullptr;
}

std::unique_ptr<TBitmap> Load(const ArtResource& resource)
{
    auto bitmap = std::make_unique<TBitmap>();
    if (resource.type == RT_BITMAP) {
        bitmap->LoadFromResourceName(ProgramModule(), resource.name);
        return bitmap;
    }
    TPngImage png;
    png.LoadFromResourceName(ProgramModule(), resource.name, RT_RCDATA);
    bitmap->Assign(png.Bitmap());
    return bitmap;
}
// The size of a 96-DPI picture, read from its resource's header without decoding it.
SIZE DesignSize(const std::string& name)
{
    if (!HasBitmapResource(ProgramModule(), name))
        throw Exception("The picture " + name + " is missing from the program");
    return BitmapResourceSize(ProgramModule(), name);
}

// The picture of the set for `dpi` and the size it must have there.
struct ScaledArt {
    std::unique_ptr<TBitmap> Picture;
    SIZE Size;
};

// Null Picture when the set lacks it.
ScaledArt LoadForDpi(const std::string& name, int dpi)
{
    const SIZE design = DesignSize(name);
    const SIZE size{ScaledToDpi(design.cx, dpi), ScaledToDpi(design.cy, dpi)};
    const ArtResource resource = ResourceFor(name, ArtScaleFor(ScalePercentForDpi(dpi)));
    return {Exists(resource) ? Load(resource) : nullptr, size};
}
} // namespace

std::unique_ptr<TBitmap> ArtBitmapForDpi(const std::string& name, int dpi, bool keyed)
{
    if (dpi == kDesignDpi)
        return ArtBitmap(name);
    ScaledArt art = LoadForDpi(name, dpi);
    if (!art.Picture)
        throw Exception("The picture " + name + " is missing from the program (" + std::to_string(dpi) + " DPI)");
    TBitmap& picture = *art.Picture;
    if (picture.Width() == art.Size.cx && picture.Height() == art.Size.cy)
        return std::move(art.Picture);
    if (!keyed)
        return ResizedSmooth(picture, art.Size.cx, art.Size.cy);
    const TColor key = static_cast<TColor>(picture.Canvas().Pixel(0, picture.Height() - 1) & 0x00FFFFFF);
    return ResizedKeyed(picture, art.Size.cx, art.Size.cy, key);
}

void LoadButtonArtForDpi(TBmpButton& button, const std::string& stem, int dpi)
{
    if (dpi == kDesignDpi) {
        LoadButtonArt(button, stem);
        return;
    }
    TButtonBitmaps& bitmaps = button.Bitmaps();
    int found = 0;
    for (const auto& [suffix, set] : ButtonStates()) {
        if (!Exists({stem + suffix, RT_BITMAP}))
            continue;
        ScaledArt art = LoadForDpi(stem + suffix, dpi);
        if (!art.Picture)
            continue;
        TBitmap& picture = *art.Picture;
        if (picture.Width() == art.Size.cx && picture.Height() == art.Size.cy)
            (bitmaps.*set)(picture);
        else
            (bitmaps.*set)(*ResizedKeyed(picture, art.Size.cx, art.Size.cy, bitmaps.TransparentColor()));
        ++found;
    }
    if (found == 0)
        throw Exception("The pictures " + stem + " are missing from the program (" + std::to_string(dpi) + " DPI)");
}

std::unique_ptr<TBitmap> ArtBitmap(const std::string& name, int scalePercent)
{
    const ArtResource resource = ResourceFor(name, ArtScaleFor(scalePercent));
    if (!Exists(resource))
        throw Exception("The picture " + resource.name + " is missing from the program");
    return Load(resource);
}

void LoadButtonArt(TBmpButton& button, const std::string& stem, int scalePercent)
{
    const int scale = ArtScaleFor(scalePercent);
    if (scale == kArtScales.front()) {
        if (button.Bitmaps().LoadFromResources(ProgramModule(), stem) == 0)
            throw Exception("The pictures " + stem + " are missing from the program");
        return;
    }
    TButtonBitmaps& bitmaps = button.Bitmaps();
    int found = 0;
    for (const auto& [suffix, set] : ButtonStates()) {
        const ArtResource resource = ResourceFor(stem + suffix, scale);
        if (!Exists(resource))
            continue;
        (bitmaps.*set)(*Load(resource));
        ++found;
    }
    if (found == 0)
        throw Exception("The pictures " + stem + " are missing from the program (" + std::to_string(scale) + "%)");
}

