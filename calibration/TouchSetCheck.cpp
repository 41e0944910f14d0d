#include "calibration/TouchSetCheck.h"

#include <algorithm>
#include <cstdlib>

namespace {

// One raw axis: edge A's two points a0, a1 and edge B's b0, b1. The gap is
// kept doubled (the difference of the sums) so that no division rounds.
bool EdgesAgreeAndStandApart(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1)
{
    const std::int64_t doubledGap = std::llabs((b0 + b1) - (a0 + a1));
    const std::int64_t spread = std::max(std::llabs(a0 - a1), std::llabs(b0 - b1));
    // spread <= gap / 4
    return doubledGap >= 2 * kMinimumEdgeGap && 8 * spread <= doubledGap;
}

} // namespace

bool IsPlausibleTouchSet(const std::array<RawTouchPoint, 4>& p)
{
    const bool upright = EdgesAgreeAndStandApart(p[0].x, p[2].x, p[1].x, p[3].x) &&
                         EdgesAgreeAndStandApart(p[0].y, p[1].y, p[2].y, p[3].y);
    const bool turned = EdgesAgreeAndStandApart(p[0].x, p[1].x, p[2].x, p[3].x) &&
                        EdgesAgreeAndStandApart(p[0].y, p[2].y, p[1].y, p[3].y);
    return upright || turned;
}
