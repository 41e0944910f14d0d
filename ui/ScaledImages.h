#pragma once
// The program's bitmaps are drawn at four DPIs (tools/make-images): 96 under
// their own resource id, and 120, 144 and 192 under id * 10 + 1, 2 and 3. A
// window shows the one drawn nearest its DPI, never a stretch of the 96-DPI
// picture.

#include <array>
#include <cstddef>

inline constexpr std::array<unsigned, 4> kDrawnImageDpis{96, 120, 144, 192};

// The drawn DPI nearest to the window's; between two equally near, the
// larger, whose picture is sharper.
constexpr unsigned DrawnImageDpi(unsigned windowDpi)
{
    unsigned best = kDrawnImageDpis[0];
    for (unsigned drawn : kDrawnImageDpis) {
        const unsigned distance = drawn > windowDpi ? drawn - windowDpi : windowDpi - drawn;
        const unsigned bestDistance = best > windowDpi ? best - windowDpi : windowDpi - best;
        if (distance <= bestDistance)
            best = drawn;
    }
    return best;
}

// The resource id of bitmap `id` as drawn for a window of that DPI.
constexpr int ScaledImageId(int id, unsigned windowDpi)
{
    for (std::size_t i = 1; i < kDrawnImageDpis.size(); ++i)
        if (DrawnImageDpi(windowDpi) == kDrawnImageDpis[i])
            return id * 10 + static_cast<int>(i);
    return id;
}
