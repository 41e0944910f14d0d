#pragma once
// Region calibration's drag: the hint follows the pointer until the button
// goes down; the release ends the drag, and a rectangle of at least
// 200 x 200 pixels (from either corner) is the region to calibrate.

#include "calibration/CalibrationLayout.h"
#include "calibration/CalibrationResult.h"

#include <optional>

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// The smaller and larger coordinates of two corners.
ScreenRect NormaliseRegion(ScreenPoint a, ScreenPoint b);

constexpr int kMinimumRegionSize = 200;

// The hint window beside the pointer: 10 pixels right, 20 below, 182 x 54
// at 96 DPI, as much larger at the hint's DPI as its text is.
LayoutRect RegionHintPlace(ScreenPoint pointer, unsigned dpi = 96);

class CRegionSelection {
public:
    enum class State { Idle, Following, Pressed };

    // The selection starts: the hint shows beside the pointer.
    void Start() { m_state = State::Following; }
    // Where the hint moves, while it still follows the pointer.
    std::optional<LayoutRect> OnMove(ScreenPoint pointer, unsigned dpi = 96) const;
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
