#pragma once
// Where the calibration window draws its targets and places its buttons and
// hints, from the window's size. Integer divisions truncate toward zero.
//
//   +-------------------------------------------+
//   |     0 (W/8, H/6)         1 (W-W/8, H/6)   |   hints of the collecting
//   |                                           |   phase above the centre,
//   |      [ReCalibrate]  [OK]  [Cancel]        |   the buttons on it, the
//   |                                           |   review hints below it
//   |     2 (W/8, H-H/6)       3 (W-W/8, H-H/6) |
//   +-------------------------------------------+

#include <array>

// The gaps below are pixels at 96 DPI; each layout takes the window's DPI
// and scales them to it, as the dialog's font scales its controls.

struct LayoutRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LayoutRect&) const = default;
};

struct TargetShape {
    int x = 0;
    int y = 0;
    int radius = 0; // the cross's half length and the outer circle's radius
    // The filled circles in drawing order: 3r/4, r/2, r/4, r.
    std::array<int, 4> circleRadii{};
    bool operator==(const TargetShape&) const = default;
};

// Target `index` (0 top left, 1 top right, 2 bottom left, 3 bottom right) in
// a window of width w and height h.
TargetShape CalibrationTarget(int index, int w, int h);

// The three buttons, each the Cancel button's size: OK centred, ReCalibrate
// left of it and Cancel right of it, 20 pixels apart.
struct ButtonLayout {
    LayoutRect ok, reCalibrate, cancel;
};
ButtonLayout LayOutButtons(int w, int h, int buttonWidth, int buttonHeight, unsigned dpi = 96);

// The seven hints, all as wide as the first and centred: the four of the
// collecting phase stacked from 60 pixels above the centre, the three of
// the review phase below the buttons.
struct HintSizes {
    int firstWidth = 0, firstHeight = 0; // hint 1's window
    int client2 = 0, client3 = 0;        // hints 2 and 3 (client heights)
    int client5 = 0, client6 = 0, client7 = 0;
};
std::array<LayoutRect, 7> LayOutHints(int w, int h, int buttonHeight, const HintSizes& sizes, unsigned dpi = 96);

// The notice that the touches did not match the targets: as wide as the
// hints and centred, just above the first hint, kept inside a small window.
LayoutRect LayOutNotice(int w, int h, const HintSizes& sizes, int noticeHeight, unsigned dpi = 96);
