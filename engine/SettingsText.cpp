#include "engine/SettingsText.h"

#include <algorithm>
#include <string>

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

namespace {

std::wstring_view Trim(std::wstring_view text)
{
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

bool SameName(std::wstring_view name, std::string_view ours)
{
    const auto lower = [](unsigned c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    return name.size() == ours.size() && std::equal(name.begin(), name.end(), ours.begin(), [&](wchar_t a, char b) {
               return lower(static_cast<unsigned>(a)) == lower(static_cast<unsigned char>(b));
           });
}

bool HoldsOnlyOurKeys(std::wstring_view text)
{
    const char* section = nullptr;
    bool anyKey = false;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of(L"\r\n"), text.size());
        const std::wstring_view line = Trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty())
            continue;
        if (line.front() == L'[') {
            if (line.back() != L']')
                return false;
            const std::wstring_view name = line.substr(1, line.size() - 2);
            section = SameName(name, ShellClassInfoSection) ? ShellClassInfoSection
                      : SameName(name, IconAreaSection)      ? IconAreaSection
                                                         : nullptr;
            if (!section)
                return false;
            continue;
        }
        const std::size_t equals = line.find(L'=');
        if (!section || equals == std::wstring_view::npos)
            return false;
        const std::wstring_view key = Trim(line.substr(0, equals));
        const bool ours = std::any_of(std::begin(OurKeys), std::end(OurKeys), [&](const TSettingsKey& k) {
            return std::string_view(k.Section) == section && SameName(key, k.Key);
        });
        if (!ours)
            return false;
        anyKey = true;
    }
    return anyKey;
}
