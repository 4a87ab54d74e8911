#include "support/Screenshots.h"

#include <windows.h>

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
