#pragma once
// Whether four raw touches can be the four calibration targets, touched in
// order: top left, top right, bottom left, bottom right. A set that cannot
// (a target missed, one spot touched twice, a slip of the finger) would make
// the screen unusable once stored, so the calibration window takes it again.

#include "calibration/CalibrationResult.h"

#include <array>
#include <cstdint>

// The targets stand at the corners of a rectangle on the screen, so their
// touches stand at the corners of a rectangle in raw coordinates too, however
// the frame is mounted. A frame may be mirrored (raw x growing to the left,
// raw y upwards) or turned a quarter (raw x following the screen's y), so the
// rule never asks which way a coordinate grows and tries both pairings of raw
// and screen axes; the two points of each edge agree in one coordinate:
//
//        P0 ---- P1          raw x follows screen x    raw x follows screen y
//        |        |          x: P0~P2, P1~P3           x: P0~P1, P2~P3
//        P2 ---- P3          y: P0~P1, P2~P3           y: P0~P2, P1~P3
//
// Tolerance. Along each raw axis, the gap is the distance between the two
// edges (between the middles of their points), and the two points of an edge
// may differ by at most a quarter of it. The targets are 3/4 of the window
// apart across and 2/3 down, while a target's radius is 1/32 of the window's
// smaller side: every gap is at least 21 target radii. An honest touch, even
// one set beside the bull's eye on purpose, is off by a radius or two, so the
// two points of an edge differ by a fifth of the gap at most. The slips worth
// catching are off by half a gap (a touch halfway between two targets) or a
// whole one (the neighbouring target, one spot touched twice, the order
// mixed up). A quarter lies between the two with room either way; and, as a
// ratio of raw distances along one axis, it needs neither the frame's raw
// range nor the window's size, so it holds for a monitor and for a region.
//
// Apart. The gap must also reach kMinimumEdgeGap raw units: four touches of
// one spot are a "rectangle" whose edges are only the sensor's jitter apart.
//
// A set touched in mirrored order is exactly what a mirrored frame reports,
// and is accepted; no rule over raw points alone can tell the two apart.
bool IsPlausibleTouchSet(const std::array<RawTouchPoint, 4>& points);

// A frame that resolves only 4096 steps across a 4K monitor still puts the
// edges of the smallest region (200 x 200 pixels) over 250 steps apart; a
// sensor's jitter is a few steps.
constexpr std::int32_t kMinimumEdgeGap = 16;
