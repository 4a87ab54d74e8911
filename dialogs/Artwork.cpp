#include "dialogs/Artwork.h"

#include "skin/BmpButton.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/core/Exception.h"

#include <windows.h>

namespace {
HINSTANCE ProgramModule() noexcept
{
    return GetModuleHandleA(nullptr);
}
} // namespace

std::unique_ptr<TBitmap> ArtBitmap(const std::string& name)
{
    if (!FindResourceA(ProgramModule(), name.c_str(), RT_BITMAP))
        throw Exception("The picture " + name + " is missing from the program");
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceName(ProgramModule(), name);
    return bitmap;
}

void LoadButtonArt(TBmpButton& button, const std::string& stem)
{
    if (button.Bitmaps().LoadFromResources(ProgramModule(), stem) == 0)
        throw Exception("The pictures " + stem + " are missing from the program");
}
