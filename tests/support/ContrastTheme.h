#pragma once
// A contrast theme for a scope: the program is told the setting is on (the platform's own
// switch is missing under Wine) and the system colours are those of the black contrast theme.
// Both, and the colours' registry key, are put back however the scope ends.
#include "support/RegistryKeyRestorer.h"
#include "toolkit/graphics/HighContrast.h"

#include <windows.h>

#include <array>
#include <utility>

class ContrastTheme {
public:
    ContrastTheme() : colours_(HKEY_CURRENT_USER, "Control Panel\\Colors")
    {
        for (std::size_t i = 0; i < kTheme.size(); ++i) {
            indices_[i] = kTheme[i].first;
            before_[i] = GetSysColor(kTheme[i].first);
            theme_[i] = kTheme[i].second;
        }
        ForceHighContrast(true);
        SetSysColors(static_cast<int>(kTheme.size()), indices_.data(), theme_.data());
    }
    ~ContrastTheme()
    {
        SetSysColors(static_cast<int>(kTheme.size()), indices_.data(), before_.data());
        ForceHighContrast(std::nullopt);
    }
    ContrastTheme(const ContrastTheme&) = delete;
    ContrastTheme& operator=(const ContrastTheme&) = delete;

private:
    static constexpr std::array<std::pair<int, COLORREF>, 17> kTheme{{
        {COLOR_WINDOW, RGB(0, 0, 0)},
        {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
        {COLOR_BTNFACE, RGB(0, 0, 0)},
        {COLOR_BTNTEXT, RGB(255, 255, 255)},
        {COLOR_3DSHADOW, RGB(128, 128, 128)},
        {COLOR_3DHIGHLIGHT, RGB(192, 192, 192)},
        {COLOR_3DDKSHADOW, RGB(255, 255, 255)},
        {COLOR_3DLIGHT, RGB(255, 255, 255)},
        {COLOR_HIGHLIGHT, RGB(26, 235, 255)},
        {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
        {COLOR_GRAYTEXT, RGB(63, 242, 63)},
        {COLOR_HOTLIGHT, RGB(255, 255, 0)},
        {COLOR_WINDOWFRAME, RGB(255, 255, 255)},
        {COLOR_ACTIVECAPTION, RGB(0, 0, 0)},
        {COLOR_CAPTIONTEXT, RGB(255, 255, 255)},
        {COLOR_INFOBK, RGB(0, 0, 0)},
        {COLOR_INFOTEXT, RGB(255, 255, 255)},
    }};
    RegistryKeyRestorer colours_;
    std::array<int, kTheme.size()> indices_{};
    std::array<COLORREF, kTheme.size()> before_{}, theme_{};
};
