#include "toolkit/graphics/HighContrast.h"

#include <windows.h>

#include <atomic>

namespace {
// -1: ask the system; 0 or 1: forced.
std::atomic<int> forced{-1};
} // namespace

bool HighContrastOn() noexcept
{
    if (const int f = forced.load(); f >= 0)
        return f == 1;
    HIGHCONTRASTA setting{};
    setting.cbSize = sizeof setting;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void ForceHighContrast(std::optional<bool> on) noexcept
{
    forced = on ? (*on ? 1 : 0) : -1;
}
