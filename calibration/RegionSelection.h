#pragma once
// Region calibration's drag: the hint follows the pointer until the button
// goes down; the release ends the drag, and a rectangle of at least
// 200 x 200 pixels (from either corner) is the region to calibrate.
// The corners and the minimum are physical pixels, as the stored geometry
// is, whatever the scale of the monitors the drag crosses; the hint is
// sized for the DPI of the monitor under the pointer, where it is drawn.

#include "calibration/CalibrationLayout.h"
#include "calibration/CalibrationResult.h"
#include "calibration/MonitorCoordinates.h"

#include <optional>

// The smaller and larger coordinates of two corners.
ScreenRect NormaliseRegion(ScreenPoint a, ScreenPoint b);

constexpr int kMinimumRegionSize = 200;

// The hint window beside the pointer: at 96 DPI 10 pixels right, 20 below,
// 182 x 54; each length scaled to the DPI the hint is drawn at.
LayoutRect RegionHintPlace(ScreenPoint pointer, unsigned dpi);

class CRegionSelection {
public:
    enum class State { Idle, Following, Pressed };

    // The selection starts: the hint shows beside the pointer.
    void Start() { m_state = State::Following; }
    // Where the hint moves, while it still follows the pointer, drawn at
    // the DPI of the pointer's monitor.
    std::optional<LayoutRect> OnMove(ScreenPoint pointer, unsigned dpi) const;
    // The button went down: the hint goes (true when it was showing).
    bool OnDown(ScreenPoint pointer);
    // The button went up: the drag ends; the region when it is large
    // enough. A release without a press before it selects nothing.
    std::optional<ScreenRect> OnUp(ScreenPoint pointer);
    // The selection is abandoned (the main window closes).
    void Cancel() { m_state = State::Idle; }

    State CurrentState() const { return m_state; }

private:
    State m_state = State::Idle;
    ScreenPoint m_start;
};
