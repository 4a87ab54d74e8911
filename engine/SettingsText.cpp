#include "engine/SettingsText.h"

#include <algorithm>

bool IsPlainAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

TFileText TextOf(std::string_view bytes)
{
    if (bytes.starts_with("\xFF\xFE"))
        return TFileText::Utf16Le;
    if (bytes.starts_with("\xFE\xFF"))
        return TFileText::Utf16Be;
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return TFileText::Utf8Bom;
    return IsPlainAscii(bytes) ? TFileText::Ascii : TFileText::Legacy;
}
