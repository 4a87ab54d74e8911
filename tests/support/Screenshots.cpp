#include "support/Screenshots.h"

#include "toolkit/graphics/Bitmap.h"

#include <algorithm>
#include <cstdlib>

std::string ScreenshotFolder()
{
    const char* folder = std::getenv("QUORREL_SCREENSHOTS");
    if (!folder || !*folder)
        return {};
    std::string path = folder;
    if (path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    CreateDirectoryA(path.c_str(), nullptr);
    return path + "\\";
}

RECT InkBounds(TBitmap& picture, COLORREF background, int inset)
{
    RECT ink{picture.Width(), picture.Height(), 0, 0};
    for (int y = inset; y < picture.Height() - inset; ++y) {
        const std::uint8_t* row = picture.ScanLine(y);
        for (int x = inset; x < picture.Width() - inset; ++x)
            if (RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]) != background) {
                ink.left = std::min<LONG>(ink.left, x);
                ink.top = std::min<LONG>(ink.top, y);
                ink.right = std::max<LONG>(ink.right, x + 1);
                ink.bottom = std::max<LONG>(ink.bottom, y + 1);
            }
    }
    return ink;
}
