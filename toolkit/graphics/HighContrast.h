#pragma once
// Windows' high-contrast setting (a contrast theme). While it is on, a window that draws itself
// takes the system's colours and shows no pictures of text, which the theme cannot recolour.
#include <optional>

// The setting as the system reports it now, unless forced.
bool HighContrastOn() noexcept;
// Forces the answer from now on (the platform's setter is missing from some systems, so tests
// cannot switch the real one); nullopt gives the system's answer back.
void ForceHighContrast(std::optional<bool> on) noexcept;
