#include "calibration/RegionSelection.h"

#include "common/DpiScale.h"

#include <algorithm>

ScreenRect NormaliseRegion(ScreenPoint a, ScreenPoint b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

LayoutRect RegionHintPlace(ScreenPoint pointer, unsigned dpi)
{
    return {pointer.x + ScaleForDpi(10, dpi), pointer.y + ScaleForDpi(20, dpi), ScaleForDpi(182, dpi),
            ScaleForDpi(54, dpi)};
}

std::optional<LayoutRect> CRegionSelection::OnMove(ScreenPoint pointer, unsigned dpi) const
{
    if (m_state != State::Following)
        return std::nullopt;
    return RegionHintPlace(pointer, dpi);
}

bool CRegionSelection::OnDown(ScreenPoint pointer)
{
    if (m_state == State::Idle)
        return false;
    const bool hintShowing = m_state == State::Following;
    m_start = pointer;
    m_state = State::Pressed;
    return hintShowing;
}

std::optional<ScreenRect> CRegionSelection::OnUp(ScreenPoint pointer)
{
    if (m_state != State::Pressed)
        return std::nullopt;
    m_state = State::Idle;
    const ScreenRect region = NormaliseRegion(m_start, pointer);
    if (region.right - region.left < kMinimumRegionSize || region.bottom - region.top < kMinimumRegionSize)
        return std::nullopt;
    return region;
}
