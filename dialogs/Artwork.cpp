#include "dialogs/Artwork.h"

#include "skin/BmpButton.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/core/Exception.h"

#include <utility>

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

void SetProgramIcon(HWND window) noexcept
{
    for (const auto& [kind, size] : {std::pair{ICON_BIG, 32}, std::pair{ICON_SMALL, 16}})
        if (HANDLE icon = LoadImageA(ProgramModule(), "MAINICON", IMAGE_ICON, size, size, LR_SHARED))
            SendMessageA(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
}
