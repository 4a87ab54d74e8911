#include "dialogs/Artwork.h"

#include "skin/BmpButton.h"
#include "toolkit/core/Exception.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/PngImage.h"

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

bool Exists(const ArtResource& resource) noexcept
{
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
} // namespace

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
    // The same states, in the same order, as the 96-DPI set is read by the button's bitmaps.
    TButtonBitmaps& bitmaps = button.Bitmaps();
    using Setter = void (TButtonBitmaps::*)(const TBitmap&);
    const std::pair<const char*, Setter> states[] = {
        {"_UP", &TButtonBitmaps::SetUp},       {"_UPANDFOCUSED", &TButtonBitmaps::SetUpAndFocused},
        {"_DISABLED", &TButtonBitmaps::SetDisabled}, {"_DOWN", &TButtonBitmaps::SetDown},
        {"_STAYDOWN", &TButtonBitmaps::SetStayDown}, {"_HOT", &TButtonBitmaps::SetHot},
    };
    int found = 0;
    for (const auto& [suffix, set] : states) {
        const ArtResource resource = ResourceFor(stem + suffix, scale);
        if (!Exists(resource))
            continue;
        (bitmaps.*set)(*Load(resource));
        ++found;
    }
    if (found == 0)
        throw Exception("The pictures " + stem + " are missing from the program (" + std::to_string(scale) + "%)");
}

void SetProgramIcon(HWND window) noexcept
{
    for (const auto& [kind, size] : {std::pair{ICON_BIG, 32}, std::pair{ICON_SMALL, 16}})
        if (HANDLE icon = LoadImageA(ProgramModule(), "MAINICON", IMAGE_ICON, size, size, LR_SHARED))
            SendMessageA(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
}
