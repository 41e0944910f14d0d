#include "calibration/ReviewTrail.h"

std::optional<TrailSegment> CReviewTrail::Extend(TrailPoint point)
{
    if (m_open && m_strokes.back().back() == point)
        return std::nullopt; // no new piece: the pointer did not move
    if (m_points >= kMaxTrailPoints)
        return std::nullopt;
    ++m_points;
    if (!m_open) {
        m_open = true;
        m_strokes.push_back({point});
        return TrailSegment{point, point};
    }
    const TrailPoint from = m_strokes.back().back();
    m_strokes.back().push_back(point);
    return TrailSegment{from, point};
}

std::optional<TrailSegment> CReviewTrail::End(TrailPoint point)
{
    std::optional<TrailSegment> piece = Extend(point);
    m_open = false;
    return piece;
}

void CReviewTrail::Clear()
{
    m_strokes.clear();
    m_open = false;
    m_points = 0;
}
