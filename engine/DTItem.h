#pragma once
// The customisation of one folder or drive root, as stored in its settings file or drive key.
#include <string>

struct TDTItem {
    std::string Path;            // folder or drive root, ending in a backslash once loaded
    std::string CLSID;           // braced class identifier of a disguise, or empty
    std::string IconFile;        // may hold environment references such as %SystemRoot%
    std::string IconIndex;       // decimal text, may be negative
    std::string Infotip;
    std::string IconArea_Image;  // background picture path, or empty
    std::string IconArea_Text;   // caption colour: "0x00" + six hexadecimal digits (BBGGRR)

    bool operator==(const TDTItem&) const = default;
};
