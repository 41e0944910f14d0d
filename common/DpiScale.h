#pragma once
// Lengths designed at 96 DPI (100 %), scaled to a window's DPI.

// The length at that DPI, rounded to the nearest pixel with halves away from
// zero, as MulDiv(length96, dpi, 96) rounds; 96 DPI keeps every length as it
// is, and a DPI of 0 (not known) counts as 96.
constexpr int ScaleForDpi(int length96, unsigned dpi)
{
    if (dpi == 0 || dpi == 96)
        return length96;
    const long long product = static_cast<long long>(length96) * dpi;
    const long long magnitude = (product < 0 ? -product : product) + 48;
    return static_cast<int>(product < 0 ? -(magnitude / 96) : magnitude / 96);
}
