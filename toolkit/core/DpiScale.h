#pragma once
// Lengths of the 96-DPI layout at a display's DPI. One rounding rule everywhere (the art's
// generator rounds its pictures' sizes the same way): the platform's MulDiv, half away from
// zero. No platform header: the arithmetic is tested natively too.

// The DPI the layouts, fonts and the 100% artwork are drawn for.
inline constexpr int kDesignDpi = 96;

// value * numerator / denominator rounded half away from zero, as MulDiv does; a denominator
// of 0 gives -1, as there.
constexpr int MulDivRounded(int value, int numerator, int denominator) noexcept
{
    if (denominator == 0)
        return -1;
    long long product = static_cast<long long>(value) * numerator;
    long long divisor = denominator;
    if (divisor < 0) {
        divisor = -divisor;
        product = -product;
    }
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : -((-product + half) / divisor));
}

// A 96-DPI length at `dpi`.
constexpr int ScaledToDpi(int value, int dpi) noexcept
{
    return MulDivRounded(value, dpi, kDesignDpi);
}

// A length at `dpi` back in 96-DPI units (the nearest; exact for lengths that came from there).
constexpr int UnscaledFromDpi(int value, int dpi) noexcept
{
    return dpi == kDesignDpi ? value : MulDivRounded(value, kDesignDpi, dpi);
}

// A rectangle (left, top, right, bottom) of the 96-DPI layout at `dpi`: left, top, width and
// height each scaled alone, as control bounds are.
template <typename Rect>
constexpr Rect ScaledRectToDpi(const Rect& r, int dpi) noexcept
{
    Rect scaled = r;
    scaled.left = ScaledToDpi(r.left, dpi);
    scaled.top = ScaledToDpi(r.top, dpi);
    scaled.right = scaled.left + ScaledToDpi(r.right - r.left, dpi);
    scaled.bottom = scaled.top + ScaledToDpi(r.bottom - r.top, dpi);
    return scaled;
}

// The display scale of a DPI in percent: 120 DPI is 125%, 144 is 150%.
constexpr int ScalePercentForDpi(int dpi) noexcept
{
    return MulDivRounded(dpi, 100, kDesignDpi);
}
