#pragma once
// The pointer's trail in the calibration review: what the user draws to try
// the new calibration, in the window's client coordinates, kept until
// ReCalibrate clears it.
//
// While the calibration window is open the driver clicks on release: a
// finger on the glass moves the pointer without pressing a button, and the
// press comes together with the release. So a stroke begins with a press or
// with the first move after the previous stroke ended, and ends with the
// release. A mouse that presses, drags and releases draws the same strokes.

#include <cstddef>
#include <optional>
#include <vector>

struct TrailPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TrailPoint&) const = default;
};

// A piece to draw at once; from == to for the first point of a stroke.
struct TrailSegment {
    TrailPoint from, to;
    bool operator==(const TrailSegment&) const = default;
};

class CReviewTrail {
public:
    // A press or a move: the point joins the open stroke, or begins one.
    std::optional<TrailSegment> Extend(TrailPoint point);
    // A release: the point ends the stroke.
    std::optional<TrailSegment> End(TrailPoint point);
    void Clear();

    const std::vector<std::vector<TrailPoint>>& Strokes() const { return m_strokes; }

private:
    std::vector<std::vector<TrailPoint>> m_strokes;
    bool m_open = false;
    std::size_t m_points = 0;
};

// Points kept at most, far beyond what a 30-second review's pointer moves
// give (a pointer reports about a hundred a second); later ones are dropped,
// so a pointer left jittering cannot grow the trail without end.
constexpr std::size_t kMaxTrailPoints = 16384;
